// ModelLoad and ModelSave: KYD files on disk, with the log lines of a failed load.
#include "platform/file_bytes.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "runtime/core/core.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/engine3d/kyd_model.h"

#include <cstring>
#include <new>

KydError KydRead(KydModel& model, const uint8_t* bytes, size_t size, bool decode) {
    model = KydModel{};
    int32_t magic = 0;
    if (size >= 4) std::memcpy(&magic, bytes, 4);
    KydError error;
    try {
        error = magic == kKydMagic ? KydReadCompact(model, bytes, size, decode) : KydReadText(model, bytes, size);
    } catch (const std::bad_alloc&) {
        error = KydError::MallocError;
    }
    if (error != KydError::None) model = KydModel{};
    model.loaded = error == KydError::None;
    return error;
}

bool ModelLoad(KydModel& model, const RtString& file, bool decode) {
    model = KydModel{};
    std::vector<uint8_t> bytes;
    KydError error = KydError::ReadError;
    if (file.Length() <= platform::kMaxFileName &&
        platform::ReadFileBytes(platform::SystemPath(file.c_str()), bytes, static_cast<int64_t>(kKydMaxFileBytes)))
        error = KydRead(model, bytes.data(), bytes.size(), decode);
    switch (error) {
    case KydError::None:
        return true;
    case KydError::WrongVersion:
        WriteErrorLog("Wrong .kyd version.");
        [[fallthrough]];
    case KydError::ReadError:
        WriteErrorLog("# read error");
        break;
    case KydError::MallocError:
        WriteErrorLog("# malloc error");
        break;
    }
    WriteErrorLog(file.c_str());
    return false;
}

// Through a temporary file renamed over the target: a failed save leaves the old file whole.
bool ModelSave(const KydModel& model, const RtString& file) {
    std::vector<uint8_t> bytes;
    if (file.Length() > platform::kMaxFileName || !KydWriteCompact(model, bytes)) return false;
    platform::FileReplacement out(platform::AbsolutePath(platform::SystemPath(file.c_str())));
    return out.IsOpen() && out.Write(bytes.data(), bytes.size()) && out.Commit();
}

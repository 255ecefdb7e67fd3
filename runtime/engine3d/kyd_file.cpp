// ModelLoad and ModelSave: KYD files on disk, with the log lines of a failed load.
#include "platform/files.h"
#include "platform/paths.h"
#include "runtime/core/core.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/engine3d/kyd_model.h"

#include <cstring>
#include <new>

namespace {

// Sized before it is read: a file past the cap, or one that changes size while read, fails as a
// read error without anything allocated for it.
KydError ReadCapped(const RtString& file, std::vector<uint8_t>& bytes) {
    if (file.Length() > platform::kMaxFileName) return KydError::ReadError;
    platform::File in = platform::OpenForReading(platform::SystemPath(file.c_str()));
    int64_t size = in.IsOpen() ? in.Size() : -1;
    if (size < 0 || static_cast<uint64_t>(size) > kKydMaxFileBytes) return KydError::ReadError;
    bytes.resize(static_cast<size_t>(size));
    return size == 0 || in.Read(bytes.data(), bytes.size()) == size ? KydError::None : KydError::ReadError;
}

} // namespace

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
    KydError error;
    try {
        error = ReadCapped(file, bytes);
    } catch (const std::bad_alloc&) {
        error = KydError::MallocError;
    }
    if (error == KydError::None) error = KydRead(model, bytes.data(), bytes.size(), decode);
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

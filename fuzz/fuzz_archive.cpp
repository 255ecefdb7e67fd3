// Fuzzes the archive resolver: the input is either a whole archive file, or (first byte odd) an
// LZO1X stream wrapped into a sound directory so that the decompressor is reached every time.
#include "fuzz/fuzz_scratch.h"
#include "platform/paths.h"
#include "runtime/files/packed_archive.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

void PutBigEndian32(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(value >> shift & 0xFF);
}

std::string WrapStream(const uint8_t* data, size_t size) {
    std::string file = "program";
    uint32_t offset = static_cast<uint32_t>(file.size());
    file.append(reinterpret_cast<const char*>(data), size);
    uint32_t directory = static_cast<uint32_t>(file.size());
    file += '\x0C';
    file += "fuzzpack.bin";
    PutBigEndian32(file, offset);
    PutBigEndian32(file, static_cast<uint32_t>(size));
    file += '\0';
    file += "sbX";
    PutBigEndian32(file, directory);
    return file;
}

} // namespace

// The inputs go to files in a scratch folder that the end of the run removes.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MakeFuzzScratchDir();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = platform::TempDir() + "fuzz-archive";
    if (size == 0) return 0;
    std::string file =
        data[0] & 1 ? WrapStream(data + 1, size - 1) : std::string(reinterpret_cast<const char*>(data + 1), size - 1);
    std::ofstream(path, std::ios::binary).write(file.data(), static_cast<std::streamsize>(file.size()));
    // One record for the whole run, as in a program: its private folder is made once.
    static PackedArchive archive;
    ArchiveRegister(archive, path);
    RtString resolved;
    for (const char* name : {"fuzzpack.bin", "a", "FUZZ/x.png"}) ArchiveResolve(archive, name, resolved);
    return 0;
}

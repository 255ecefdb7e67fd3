// A private scratch folder for the files a fuzz target makes (in memory where there is /dev/shm),
// used as the temporary folder and removed with everything in it when the run ends.
#pragma once

#include "platform/directories.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

inline std::string& FuzzScratchDir() {
    static std::string dir;
    return dir;
}

// Call from LLVMFuzzerInitialize, before anything asks for the temporary folder.
inline void MakeFuzzScratchDir() {
    const char* parent = std::getenv("TMPDIR");
    std::string base = parent && *parent ? parent : access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    FuzzScratchDir() = platform::MakePrivateDir(base, "fuzz-");
    if (FuzzScratchDir().empty()) std::abort();
    setenv("TMPDIR", FuzzScratchDir().c_str(), 1);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(FuzzScratchDir(), ignored);
    });
}

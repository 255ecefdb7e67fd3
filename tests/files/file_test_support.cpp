// Fresh folders, files from bytes and the packer for the files tests.
#include "tests/files/file_test_support.h"

#include "platform/directories.h"
#include "platform/paths.h"

#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>

std::string FreshDir() { return platform::MakePrivateDir(platform::TempDir(), "files-"); }

std::string NamedDir(const std::string& name) {
    std::string dir = platform::TempDir() + name + "/";
    mkdir(dir.c_str(), 0700);
    return dir;
}

std::string FileWith(const std::string& bytes, const std::string& name) {
    std::string path = FreshDir() + name;
    WriteBytes(path, bytes);
    return path;
}

int RunPacker(const std::string& arguments) {
    int status = std::system((std::string(SBX_PACK_PATH) + " " + arguments + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

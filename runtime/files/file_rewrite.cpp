// Rewrites of the user's files, with failures reported.
#include "runtime/files/file_rewrite.h"

#include "platform/files.h"
#include "runtime/core/core.h"

#include <cstdio>

namespace {

std::string& LastFailure() {
    static std::string failure;
    return failure;
}

} // namespace

const std::string& RewriteFailure() { return LastFailure(); }

bool RewriteFile(const std::string& path, const std::string& text) {
    platform::FileReplacement out(path);
    if (out.Write(text.data(), text.size()) && out.Commit()) return true;
    std::string message = "Could not write " + path;
    WriteErrorLog(message.c_str());
    LastFailure() = out.Failure();
    std::fprintf(stderr, "%s: %s\n", message.c_str(), out.Failure().c_str());
    return false;
}

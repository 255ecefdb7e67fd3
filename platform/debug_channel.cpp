// The debug channel and the console.
#include "platform/debug_channel.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

namespace platform {

namespace {

bool TracerAttached() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("TracerPid:", 0) == 0) return std::atoi(line.c_str() + 10) != 0;
    return false;
}

} // namespace

bool DebugChannelOpen() {
    const char* asked = std::getenv("TMV_DEBUG_OUTPUT");
    return (asked && std::strcmp(asked, "1") == 0) || TracerAttached();
}

void DebugString(const char* text) {
    std::fputs(text, stderr);
    std::fflush(stderr);
}

void OpenConsole() {
    if (isatty(STDOUT_FILENO)) return;
    if (std::FILE* in = std::freopen("/dev/tty", "r", stdin)) (void)in;
    if (std::FILE* out = std::freopen("/dev/tty", "w", stdout)) (void)out;
}

} // namespace platform

// The debug channel and the console.
#include "platform/debug_channel.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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

// A debugger shows each message on its own line; on standard error the line break is ours to add.
void DebugString(const char* text) {
    std::fputs(text, stderr);
    size_t n = std::strlen(text);
    if (n == 0 || text[n - 1] != '\n') std::fputc('\n', stderr);
    std::fflush(stderr);
}

// freopen closes the old stream even when it fails: only switch when the terminal can be opened.
void OpenConsole() {
    if (isatty(STDOUT_FILENO)) return;
    int tty = open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (tty < 0) return;
    close(tty);
    if (!std::freopen("/dev/tty", "r", stdin) || !std::freopen("/dev/tty", "w", stdout)) return;
}

} // namespace platform

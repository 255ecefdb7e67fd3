// Started by the start-up benchmark: the whole runtime's start-up, then the monotonic clock (ns) printed
// once the loading frame is on screen, then the end.
#include "runtime/runtime.h"

#include <cstdio>
#include <ctime>

namespace {

void PrintClockAndEnd() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    EndCommand();
}

} // namespace

int main(int argc, char** argv) { RuntimeMain(argc, argv, "TMV-Vedu", PrintClockAndEnd); }

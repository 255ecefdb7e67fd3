// Started by the start-up benchmark: prints the monotonic clock (ns) once start-up has shown its first
// frame, then ends.
#include "runtime/core/core.h"

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

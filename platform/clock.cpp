// The high-resolution clock and sleeping.
#include "platform/clock.h"

#include <chrono>
#include <thread>
#include <time.h>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point Origin() {
    static const Clock::time_point origin = Clock::now();
    return origin;
}

} // namespace

double CounterFrequency() { return static_cast<double>(Clock::period::den) / static_cast<double>(Clock::period::num); }

// The origin is fixed before the clock is read: read the other way round, the very first reading
// came out below the origin and wrapped to 2^64 (as clang orders the operands).
uint64_t Counter() {
    Clock::time_point origin = Origin();
    return static_cast<uint64_t>((Clock::now() - origin).count());
}

uint32_t Milliseconds() {
    Clock::time_point origin = Origin();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - origin).count());
}

uint32_t SystemMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

void SleepMs(double ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms));
}

} // namespace platform

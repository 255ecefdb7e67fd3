// The high-resolution clock and sleeping.
#pragma once

#include <cstdint>

namespace platform {

// Counts per second of the counter; 0 when the machine has none.
double CounterFrequency();
uint64_t Counter();
// Milliseconds since the clock was first read: the coarse clock used without a counter.
uint32_t Milliseconds();
// Milliseconds since the system started, wrapping at 32 bits: unlike the two above it differs from
// one run to the next.
uint32_t SystemMilliseconds();
// To the microsecond: the frame loop wakes a fraction of a millisecond before its deadline.
void SleepMs(double ms);

} // namespace platform

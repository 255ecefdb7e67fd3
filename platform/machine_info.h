// Facts about this machine: its identifier, its battery, the local time.
#pragma once

#include <cstdint>

namespace platform {

struct LocalTime {
    int year;
    int month; // 1-12
    int day;
    int hour;
    int minute;
    int second;
};

// A 32-bit identifier stable between runs: from /etc/machine-id, else the root file system's id,
// else a fixed value.
uint32_t MachineId();
// Battery charge in percent, 255 when the system has no figure.
int BatteryPercent();
LocalTime Now();

} // namespace platform

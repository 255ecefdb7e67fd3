// Facts about this machine from /etc/machine-id, statvfs, SDL's power information and the C clock.
#include "platform/machine_info.h"

#include <SDL_power.h>
#include <cctype>
#include <ctime>
#include <fstream>
#include <string>
#include <sys/statvfs.h>

namespace platform {

namespace {

constexpr uint32_t kNoIdentifier = 0x0C0FFEE0;

// The 128-bit machine id folded to 32 bits; false when the file is missing or not hexadecimal.
bool FoldMachineIdFile(uint32_t& id) {
    std::ifstream in("/etc/machine-id");
    std::string text;
    if (!(in >> text) || text.size() != 32) return false;
    id = 0;
    for (size_t word = 0; word < 4; ++word) {
        std::string part = text.substr(word * 8, 8);
        for (char c : part)
            if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        id ^= static_cast<uint32_t>(std::stoul(part, nullptr, 16));
    }
    return true;
}

} // namespace

uint32_t MachineId() {
    uint32_t id;
    if (FoldMachineIdFile(id)) return id;
    struct statvfs fs;
    if (statvfs("/", &fs) == 0 && fs.f_fsid != 0) {
        uint64_t fsid = fs.f_fsid;
        return static_cast<uint32_t>(fsid ^ (fsid >> 32));
    }
    return kNoIdentifier;
}

int BatteryPercent() {
    int percent = -1;
    SDL_GetPowerInfo(nullptr, &percent);
    return percent < 0 ? 255 : percent;
}

LocalTime Now() {
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

} // namespace platform

// SystemInfo: the platform's name, OpenGL functions, the machine's identifier, the time, the battery.
#include "platform/machine_info.h"
#include "runtime/core/core.h"
#include "runtime/core/gl_extensions.h"
#include "runtime/files/system_services.h"

#include <cstdio>
#include <string>

namespace {

// Keeps the identifier from being the raw machine id that other programs can read.
constexpr uint32_t kIdMask = 0x7A3D91C5;

RtString UpperCase(const RtString& text) {
    std::string s(text.view());
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return RtString(s);
}

RtString GlFunctionOffered(const std::string& name) {
    bool ok = Runtime().device && GlEntryPointOffered(name.c_str());
    char line[128];
    std::snprintf(line, sizeof line, "ext: %-35s   [%4s]", name.c_str(), ok ? "OK" : "FAIL");
    WriteErrorLog(line);
    return ok ? "1" : "0";
}

// Four bytes, least significant first, each as two upper-case hexadecimal digits.
RtString MachineIdentifier() {
    uint32_t id = platform::MachineId() ^ kIdMask;
    char text[9];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X", id & 0xFF, (id >> 8) & 0xFF, (id >> 16) & 0xFF, id >> 24);
    return text;
}

RtString Time() {
    platform::LocalTime t = platform::Now();
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return text;
}

} // namespace

RtString SystemInfo(RtString& key) {
    std::string asWritten(key.view());
    key = UpperCase(key);
    std::string_view k = key.view();
    if (k.empty()) return "LINUX";
    if (k.starts_with("GLEXT:")) return GlFunctionOffered(asWritten.substr(6));
    if (k == "ID") return MachineIdentifier();
    if (k == "DEVICE") return "DESKTOP";
    if (k == "TIME") return Time();
    if (k == "BATTERY") return RtString(static_cast<int32_t>(platform::BatteryPercent()));
    return "NO_DATA";
}

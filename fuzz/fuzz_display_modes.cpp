// Fuzzes the mode lists that stand in for the system's display modes: no more modes than entries, no
// negative field, and every mode kept written out and read again gives itself.
#include "platform/video.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Text(const platform::DisplayMode& m) {
    return std::to_string(m.width) + "x" + std::to_string(m.height) + "x" + std::to_string(m.bitsPerPixel) + "@" +
           std::to_string(m.refreshRate);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    if (text.find('\0') != std::string::npos) return 0; // no environment value holds one
    setenv("TMV_DISPLAY_MODES", text.c_str(), 1);
    std::vector<platform::DisplayMode> modes = platform::DisplayModes();
    if (modes.size() > static_cast<size_t>(std::count(text.begin(), text.end(), ',')) + 1) std::abort();
    for (const platform::DisplayMode& m : modes) {
        if (m.width < 0 || m.height < 0 || m.bitsPerPixel < 0 || m.refreshRate < 0) std::abort();
        setenv("TMV_DISPLAY_MODES", Text(m).c_str(), 1);
        std::vector<platform::DisplayMode> again = platform::DisplayModes();
        if (again.size() != 1 || Text(again[0]) != Text(m)) std::abort();
    }
    return 0;
}

// The display modes the launcher offers: collected from the system, ordered largest first, as list text.
#include "app/launcher.h"
#include "platform/video.h"

void CollectDisplayModes() {
    LauncherState& launcher = Launcher();
    for (const platform::DisplayMode& mode : platform::DisplayModes()) {
        launcher.currentMode = {static_cast<double>(mode.width), static_cast<double>(mode.height),
                                static_cast<double>(mode.bitsPerPixel), static_cast<double>(mode.refreshRate)};
        // Rates 0 and 1 stand for the driver's default; such a mode cannot be asked for by its rate.
        if (launcher.currentMode.rate > 1) DimPush(launcher.modes, launcher.currentMode);
    }
}

int CompareDisplayModes(const DisplayMode& a, const DisplayMode& b) {
    const double DisplayMode::*fields[] = {&DisplayMode::width, &DisplayMode::height, &DisplayMode::depth,
                                           &DisplayMode::rate};
    for (const double DisplayMode::*field : fields) {
        if (b.*field > a.*field) return 1;
        if (a.*field > b.*field) return -1;
    }
    return 0;
}

RtString DisplayModeText(const DisplayMode& mode) {
    return RtString(mode.width) + "x" + mode.height + "x" + mode.depth + "bpp, " + mode.rate + "Hz";
}

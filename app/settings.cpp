// The launcher's settings: read from tmv.ini into the dialog at start, stored from it on a button.
#include "app/launcher.h"
#include "gui/kygui.h"
#include "platform/video.h"
#include "runtime/core/number_convert.h"
#include "runtime/files/files.h"

#include <algorithm>

namespace {

struct Volume {
    const char* section;
    const char* slider;
    const char* fallback;
};

constexpr Volume kVolumes[] = {{"music", "sl_mvol", "50"}, {"sound", "sl_svol", "90"}, {"voice", "sl_vvol", "70"}};

// The leading number, saturated: a huge stored value cannot overflow what is computed from it.
double ReadInteger(const char* section, const char* key, const RtString& fallback) {
    return TextToInt(IniReadDefault(section, key, fallback).c_str());
}

bool SameMode(const DisplayMode& a, const DisplayMode& b) { return CompareDisplayModes(a, b) == 0; }

} // namespace

RtString IniReadDefault(const RtString& section, const RtString& key, const RtString& fallback) {
    RtString value = IniReadValue(section, key);
    if (value == "NO_DATA" || value == "NO_FILE" || value.Length() == 0) return fallback;
    return value;
}

void ReadScreenSettings() {
    LauncherState& launcher = Launcher();
    platform::DisplayMode desktop = platform::DesktopMode();
    launcher.startScreen = {ReadInteger("screen", "resx", RtString(desktop.width)),
                            ReadInteger("screen", "resy", RtString(desktop.height)), ReadInteger("screen", "bpp", "32"),
                            ReadInteger("screen", "frequency", "60")};
    launcher.modeItems = "";
    for (int32_t i = 0; i < launcher.modes.Size(0); ++i) {
        launcher.modeItems += "|" + DisplayModeText(launcher.modes(i));
        // The last match wins: the system may report a mode twice.
        if (SameMode(launcher.modes(i), launcher.startScreen)) KYgui_set("ls_res", "SELECT", RtString(i));
    }
    if (launcher.modeItems.Length() > 0) launcher.modeItems = RtString(launcher.modeItems.view().substr(1));
    KYgui_set("ls_res", "TEXT", launcher.modeItems);
}

void ApplyStoredSettings() {
    KYgui_set("ls_ctrl", "SELECT", RtString(ReadInteger("control", "method", "1") - 1));
    KYgui_set("ch_win", "SELECT", IniReadDefault("screen", "windowed", "0"));
    for (const Volume& volume : kVolumes)
        KYgui_set(volume.slider, "TEXT", RtString(ReadInteger(volume.section, "volume", volume.fallback) / 99.0));
    // The selected entry shows as the third line where it can.
    KYgui_set("ls_res", "SCROLL", RtString(std::max(0.0, KYgui_get("ls_res", "SELECT") - 2)));
}

void StoreSettings() {
    LauncherState& launcher = Launcher();
    int32_t selected = NumberToInt(KYgui_get("ls_res", "SELECT"));
    // Nothing offered is selected (no stored mode matched, a click below the last entry, no modes at
    // all): the values read at start stay rather than a mode nobody chose.
    const DisplayMode& mode =
        selected >= 0 && selected < launcher.modes.Size(0) ? launcher.modes(selected) : launcher.startScreen;
    IniWriteValue("screen", "resx", RtString(mode.width));
    IniWriteValue("screen", "resy", RtString(mode.height));
    IniWriteValue("screen", "bpp", RtString(mode.depth));
    IniWriteValue("screen", "frequency", RtString(mode.rate));
    IniWriteValue("screen", "windowed", RtString(KYgui_get("ch_win", "SELECT")));
    IniWriteValue("control", "method", RtString(KYgui_get("ls_ctrl", "SELECT") + 1));
    // The slider holds volume / 99 to ten digits, a hair below for many volumes: the small addition
    // gives each untouched volume back unchanged.
    for (const Volume& volume : kVolumes)
        IniWriteValue(volume.section, "volume",
                      RtString(NumberToInt(99 * KYgui_get(volume.slider, "TEXT") + 0.000001)));
}

// The launcher "TMV-Vedu": one settings dialog over tmv.ini whose Play button (or logo) stores the
// choices and starts game.exe beside the program. Its state is one record, LauncherState.
#pragma once

#include "runtime/core/rt_array.h"
#include "runtime/core/rt_string.h"
#include "runtime/core/runtime_state.h"

// One display mode as the launcher lists and stores it.
struct DisplayMode {
    double width = 0;
    double height = 0;
    double depth = 0; // bits a pixel takes in memory: 32 for the usual 8-bit red, green and blue
    double rate = 0;  // Hz
};

struct LauncherState {
    RtArray<DisplayMode> modes;
    DisplayMode currentMode; // the last mode read from the system
    RtString modeItems;
    // The four screen values read at start: stored again when no offered mode is selected.
    DisplayMode startScreen;
};

LauncherState& Launcher();

// The exit statuses when game.exe cannot be started, and when tmv.ini cannot be written on Play or
// Exit (no runtime error uses them). A game that did not start is the one reported when both fail.
constexpr int kGameNotStartedStatus = 69;
constexpr int kSettingsNotStoredStatus = 73;

// ---- The program
void LauncherMain();                              // builds the dialog and runs it; ends the program
void LauncherSettings(RuntimeSettings& settings); // start-up: the window opens at the dialog's size

// ---- Display modes (display_modes.cpp)
void CollectDisplayModes();                                          // appends the system's modes of rate > 1
int CompareDisplayModes(const DisplayMode& a, const DisplayMode& b); // < 0 when a is the larger
RtString DisplayModeText(const DisplayMode& mode);                   // "1024x768x32bpp, 60Hz"

// ---- Settings in tmv.ini (settings.cpp)
RtString IniReadDefault(const RtString& section, const RtString& key,
                        const RtString& fallback); // "NO_DATA", "NO_FILE", "": fallback
void ReadScreenSettings();                         // startScreen, and the list's text and selection
void ApplyStoredSettings();                        // the other widgets, once the dialog is laid out
void StoreSettings();                              // into the INI table

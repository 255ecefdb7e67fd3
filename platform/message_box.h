// The warning box shown to the person at the screen.
#pragma once

namespace platform {

// True when nobody may be asked to answer a box: a headless run, or TMV_UNATTENDED=1 (a real X
// window with nobody at it, as under Xvfb).
bool Unattended();
// A modal warning with one button. Skipped when unattended.
void ShowWarningBox(const char* caption, const char* text);

} // namespace platform

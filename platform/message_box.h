// The warning box shown to the person at the screen.
#pragma once

namespace platform {

// A modal warning with one button. Skipped when nobody can see it (headless runs, tests).
void ShowWarningBox(const char* caption, const char* text);

} // namespace platform

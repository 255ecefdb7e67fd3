// The keyboard's scan-code numbers (1 Escape, 28 Enter, 56 left Alt, 200 Up, ...) from SDL's scancodes.
#pragma once

namespace platform {

// 0 for a key that has no scan-code number.
int ScanCodeFromSdl(int sdlScancode);
// The SDL scancode of a scan-code number, 0 (unknown) for a number no key has.
int SdlFromScanCode(int scanCode);

} // namespace platform

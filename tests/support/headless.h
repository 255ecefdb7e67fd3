// What the test programs share: a headless runtime, pixel read-back, events pushed into SDL's queue,
// and the runtime log.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// SDL's offscreen video and dummy audio drivers unless the caller chose others, and a private temporary
// folder for the test program (its death-test children share it).
void UseHeadlessEnvironment();
// RuntimeInit once per process, with whatever subsystem hooks the test program filled before.
void StartRuntime();

// The pixel at (x, y) from the top-left of the frame being drawn, as R + G*256 + B*65536; everything
// drawn before is in it.
uint32_t BackBufferPixel(int x, int y);
// Each channel of the pixel within tolerance of the colour.
bool PixelNear(uint32_t pixel, uint32_t colour, int tolerance);

void PushKey(int sdlScancode, bool down);
// Mouse events as a device sends them: motion to (x, y) by (dx, dy), buttons 1 left 2 middle 3 right,
// wheel steps positive away from the user.
void PushMouseMotion(int x, int y, int dx, int dy);
void PushMouseButton(int sdlButton, bool down);
void PushMouseWheel(int steps);
void PushWindowEvent(int sdlWindowEvent);
void PushQuit();

// The process's peak resident size in kB since the last ResetPeakMemory.
long PeakMemoryKb();
void ResetPeakMemory();

std::string ReadFile(const std::string& path);
void WriteBytes(const std::string& path, std::string_view bytes);
// Writes bytes to a file of that name in the temporary folder and answers its path.
std::string WriteTempFile(const std::string& name, std::string_view bytes);
std::string ReadLog();

// Polls until done() holds; false after timeoutMs.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 10000);

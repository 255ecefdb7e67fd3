// Runtime core: start-up, the window, the frame loop and its clock, program end, the log and the
// debug channel. Strings are in rt_string.h, arrays and their commands in rt_array.h, the state
// records in runtime_state.h.
#pragma once

#include "runtime/core/rt_array.h"
#include "runtime/core/rt_string.h"
#include "runtime/core/runtime_state.h"

#include <cstdint>

namespace platform {
struct Event;
}

// ---- Start-up
// The entry routine: copies the command line, sets the default settings (then lets configure change
// them, when given), starts the runtime, runs programMain and ends the program. Never returns.
[[noreturn]] void RuntimeMain(int argc, char** argv, const char* title, void (*programMain)(),
                              void (*configure)(RuntimeSettings&) = nullptr);
// Brings up the device, window and subsystems and shows the loading frame. A window that cannot be
// made ends the program with a log line and a non-zero status. showCommand 0 starts hidden.
int RuntimeInit(int showCommand, const char* title);

// ---- Window
void SetScreen(int32_t width, int32_t height, int32_t fullScreen);
// Full-screen viewport, one unit per pixel from the top-left, and the fixed 2D GL state.
void SetViewport(int32_t x, int32_t y, int32_t width, int32_t height);

// ---- Frame loop
void ShowScreen();
// Swap, clear and pace to the frame period; the milliseconds spent plus 1.
double PresentFrame(OpenGLVividoru& device);
int PumpMessages(OpenGLVividoru& device);
long RuntimeWindowProc(const platform::Event& event);
void LimitFps(double framesPerSecond);
double ReadClockMs();
double ElapsedTime();
double FrameTime();

// ---- Program end and errors
[[noreturn]] void EndProgram();
// The program's end command: a normal end.
[[noreturn]] void EndCommand();
void RuntimeCleanup();
// Work that must happen at program end (file write-back, freeing libraries), run after the runtime's
// own clean-up in the reverse order of registration.
void RegisterExitHandler(void (*handler)());
double SetRuntimeError(double code);
void SetSourcePosition(double module, double line);
// A fatal runtime error: records code and position, then ends the program with that code as status.
[[noreturn]] void RuntimeError(int code);

// ---- Log and debug channel
// Appends one line (CR LF) to "ErrorLog.txt" in the temporary folder; null is written as "NULL".
void WriteErrorLog(const char* message);
void DebugOutput(const RtString& text);
void DebugBreakpoint(int32_t number);
double CallByName(const RtString& name);
void OpenConsole();

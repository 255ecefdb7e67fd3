// The runtime's core commands: start-up, the window, the frame loop and its clock, program end and
// errors, numbers, random numbers, data statements, the log and debug output. Strings and arrays are
// RtString and RtArray (rt_string.h, rt_array.h).
//
//   Start-up    CoreMain RuntimeInit, RuntimeSettings (the configure callback's record), CommandLine
//   Window      SetScreen SetViewport FlushGL
//   Frame loop  ShowScreen KeepScreen ScreenNeedsDrawing LimitFps ReadClockMs ElapsedTime FrameTime
//   End, errors EndProgram EndCommand SetRuntimeError RuntimeError
//   Numbers     Sin Cos Tan ASin ACos ATan SquareRoot Abs IntAbs Mod FMod Pow Len Asc Chr BoxCollision
//   Random      RndSeed Rnd
//   Data        DataRestore DataRead
//   Log, debug  WriteErrorLog DebugOutput DebugBreakpoint CallByName OpenConsole
#pragma once

#include "rt_array.h"
#include "rt_string.h"

#include <cstdint>

// The settings start-up reads; RuntimeMain's configure callback may change them before the window
// opens.
struct RuntimeSettings {
    int32_t screenWidth = 640;
    int32_t screenHeight = 480;
    int32_t fullScreen = 0;
    int32_t multisample = 0;
    int32_t frameRate = 60;
    // No pause while inactive, the window brought to the front every frame, and the end report
    // ("-End On Line", the error code, line and module) in the log.
    int32_t debugMode = 0;
    // The mouse taken by the program and the system pointer hidden; 0: the shared arrow pointer.
    int32_t captureMouse = 1;
    // Without a screen, the first ShowScreen after this many milliseconds saves the frame it is about
    // to show to headlessShotPath, prints where, and ends the program as the close box does; 0: never.
    double headlessShotMs = 0;
    RtString headlessShotPath = "screenshot.png";
};

namespace tmv {

// A program's data statements: one constant list of items, read from next on. A text item when text
// is set; the number is then unused.
struct DataItem {
    double number;
    const char* text;
};

struct DataBlock {
    const DataItem* items;
    int32_t count;
    int32_t next;
};

} // namespace tmv

// ---- Start-up
// Games start with RuntimeMain (<tmv/runtime.h>), which attaches every subsystem first.
// The entry routine of the core alone, with only the subsystems attached before it: copies the
// command line, sets the default settings (then lets configure change them, when given), starts the
// runtime, runs programMain and ends the program. Never returns.
[[noreturn]] void CoreMain(int argc, char** argv, const char* title, void (*programMain)(),
                           void (*configure)(RuntimeSettings&) = nullptr);
// Brings up the device, window and subsystems and shows the loading frame. A window that cannot be
// made ends the program with a log line and a non-zero status. showCommand 0 starts hidden.
int RuntimeInit(int showCommand, const char* title);

// The command line the program was given, unchanged.
RtString& CommandLine();

// ---- Window
void SetScreen(int32_t width, int32_t height, int32_t fullScreen);
// Full-screen viewport, one unit per pixel from the top-left, and the fixed 2D GL state.
void SetViewport(int32_t x, int32_t y, int32_t width, int32_t height);
// Call before GL calls of your own: draws whatever the runtime still holds back and forgets the GL
// state it remembers, so your calls see every earlier drawing and may change any state.
void FlushGL();

// ---- Frame loop
// Ends the frame: reads the input, ends the program on Escape or Alt+F4, shows the frame, waits for
// the frame period, clears the screen and resets the drawing state (blend mode 0, background buffer
// 0, full-screen viewport). While the window is inactive it waits here.
void ShowScreen();
// Ends a frame that drew nothing new as ShowScreen does (input, quit keys, music, the frame period)
// but shows nothing: the window keeps its picture, at little CPU. The back buffer holds that picture
// again, for screenshots and grabs; the next frame is drawn over it, so draw it whole.
void KeepScreen();
// 1 while the window needs a newly drawn frame: it was opened, exposed, restored or resized since
// the last ShowScreen, or KeepScreen has no copy of the picture on screen yet.
double ScreenNeedsDrawing();
// Frames per second for the pacing; 0 or less: as fast as possible (a 2 ms period).
void LimitFps(double framesPerSecond);
// The clock in milliseconds (any origin).
double ReadClockMs();
// Milliseconds since the end of start-up.
double ElapsedTime();
// Milliseconds between the last two ShowScreen calls, at least 1.
double FrameTime();

// ---- Program end and errors
// Releases everything, then exit(status): 0, or the error code after a fatal error. Files are
// written back by the exit handlers, so exit() and a return from main lose nothing either.
[[noreturn]] void EndProgram();
// The program's end command: a normal end.
[[noreturn]] void EndCommand();
// Records a code (and the current source line) without ending: the last error.
double SetRuntimeError(double code);
// A fatal runtime error: records code and position, writes one line naming them, the meaning (the
// code's usual one unless given) and the subject when given (the file or program concerned) to
// standard error and the log, "Runtime error 3: could not write to the file: scores.dat (module 2,
// line 17)", then ends the program with the code as status. 3 read past the end of the file, 7 file
// channel outside 0 to 7 (or out of memory), 8 push or delete on an unsuitable array, 9 array index
// outside the array, 20 data read past the end of its block.
// EndProgram ends with exit(status): the program's own exit handlers and static destructors run
// after RuntimeCleanup, when no runtime command may be called any more.
[[noreturn]] void RuntimeError(int code);
[[noreturn]] void RuntimeError(int code, const char* meaning);
[[noreturn]] void RuntimeError(int code, const char* meaning, const char* subject);

// ---- Numbers (angles in degrees)
double Sin(double degrees);
double Cos(double degrees);
double Tan(double degrees);
// 90 from 1 up, -90 from -1 down: out-of-range arguments are clamped, never an error.
double ASin(double x);
// 0 from 1 up, 180 from -1 down.
double ACos(double x);
// The angle of (x, y), -180 to 180.
double ATan(double y, double x);
double SquareRoot(double x);
double Abs(double x);
int32_t IntAbs(int32_t x);
// Truncating remainder, a's sign; 0 for a divisor of 0.
int32_t Mod(int32_t a, int32_t b);
// Floating remainder, a's sign; 0 for a divisor of 0.
double FMod(double a, double b);
double Pow(double x, double y);
// Bytes of a text, or of a number's text.
int32_t Len(const RtString& text);
int32_t Len(double number);
int32_t Len(int32_t number);
// The first byte, 0 to 255; 0 for the empty text.
int32_t Asc(const RtString& text);
// A one-byte text of code's low byte; 0 gives the empty text.
RtString Chr(int32_t code);
// 1 when the rectangles share a pixel. A size of 0 covers one pixel, a negative size |size| pixels
// ending at the start.
int32_t BoxCollision(int32_t x1, int32_t y1, int32_t w1, int32_t h1, int32_t x2, int32_t y2, int32_t w2, int32_t h2);

// ---- Random numbers (ISAAC)
// Start-up seeds from the clock; nothing else reseeds.
void RndSeed(uint32_t seed);
// 0 to n inclusive, one whole generation step each; 0 without a step when n < 1.
int32_t Rnd(int32_t n);

// ---- Data statements
// The block becomes current and is read again from its first item.
void DataRestore(tmv::DataBlock& block);
// The current block's next item: texts are read as numbers with atof, numbers are formatted as texts.
// Past the end or before any DataRestore: error 20.
void DataRead(double& target);
void DataRead(int32_t& target);
void DataRead(RtString& target);

// ---- Log and debug output
// Appends one line (CR LF) to "ErrorLog.txt" in the temporary folder ($TMPDIR when set, else
// /tmp/tmv-<uid>/); null is written as "NULL".
void WriteErrorLog(const char* message);
// Debug output goes to standard error while a debugger is attached or TMV_DEBUG_OUTPUT=1 is set in
// the environment; otherwise it is dropped. The text as given, with a line break added when missing.
void DebugOutput(const RtString& text);
// "BP" and the number in lower-case hexadecimal; hides the window.
void DebugBreakpoint(int32_t number);
// Calls the function of that name in the program's call-by-name table: 1; else 0 and a debug line.
double CallByName(const RtString& name);
// Connects standard input and output to the terminal the program was started from, if any.
void OpenConsole();

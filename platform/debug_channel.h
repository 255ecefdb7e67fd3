// The debug channel: standard error, used when a debugger is attached or when the user sets
// TMV_DEBUG_OUTPUT=1 in the environment.
#pragma once

namespace platform {

bool DebugChannelOpen();
// One message; on standard error it ends with a line break.
void DebugString(const char* text);
// Connects standard input and output to the terminal the program was started from, if any.
void OpenConsole();

} // namespace platform

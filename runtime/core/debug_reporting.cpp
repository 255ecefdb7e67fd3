// The debug channel: text output, breakpoint notices, call by name and the console.
#include "platform/debug_channel.h"
#include "platform/video.h"
#include "runtime/core/core.h"
#include "runtime/core/subsystem_hooks.h"

#include <cstdio>
#include <cstring>

// The text alone: people read standard error and need no mark telling text from breakpoint notices.
void DebugOutput(const RtString& text) {
    if (!platform::DebugChannelOpen()) return;
    platform::DebugString(text.c_str());
}

void DebugBreakpoint(int32_t number) {
    if (!platform::DebugChannelOpen()) return;
    char line[16];
    std::snprintf(line, sizeof line, "BP%x", static_cast<unsigned>(number));
    platform::DebugString(line);
    RuntimeState& rt = Runtime();
    if (rt.window) platform::HideWindow(rt.window);
    rt.paused = false;
    if (Hooks().updateInput) Hooks().updateInput();
}

double CallByName(const RtString& name) {
    for (const CallByNameEntry* e = Runtime().callByName; e && e->function; ++e) {
        if (std::strcmp(e->name, name.c_str()) == 0) {
            e->function();
            return 1.0;
        }
    }
    DebugOutput("CALLBYNAME \"" + name + "\" *** failed ***\n");
    return 0.0;
}

void OpenConsole() { platform::OpenConsole(); }

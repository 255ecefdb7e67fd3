// The process-wide records of start-up (the settings themselves are public, in <tmv/core.h>): the
// runtime state through which every command reaches the device, the clock and the debug position.
#pragma once

#include "runtime/core/opengl_vividoru.h"
#include "runtime/core/rt_string.h"

#include <tmv/core.h>

#include <memory>

struct SDL_Window;

// One entry of the program's call-by-name table.
struct CallByNameEntry {
    void (*function)();
    const char* name;
};

// The input, sound, network, 3D and archive objects belong to their subsystems, which create and
// destroy them through the steps of SubsystemHooks in the order start-up and program end give.
struct RuntimeState {
    std::unique_ptr<OpenGLVividoru> device;
    SDL_Window* window = nullptr;
    RtString title;
    bool running = false;
    bool paused = false;
    double frameNow = 0;
    double framePrev = 0;
    double startTime = 0;
    bool clockIsCounter = false;
    double counterFrequency = 0;
    double errorCode = 0;
    double errorLine = 0;
    double sourceModule = 0;
    double sourceLine = 0;

    // Frame loop: Escape (and code 129) end the program unless AllowEscapeKey switched it off.
    bool escapeQuits = true;
    // Program end: the program's call-by-name table, how far the end has come (so that an end
    // entered again never repeats a step), whether a fatal error caused it, and whether the
    // process's exit has begun.
    const CallByNameEntry* callByName = nullptr;
    int endStep = -1;
    bool fatalError = false;
    bool exiting = false;
};

RuntimeSettings& Settings();
RuntimeState& Runtime();
// The device of a started runtime.
OpenGLVividoru& Device();

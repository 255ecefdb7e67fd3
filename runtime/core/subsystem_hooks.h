// The steps that start-up, the frame loop and program end take in the subsystems built on the core.
// The core cannot call upwards, so a program fills this record before RuntimeInit with the
// subsystems it links (see runtime/attach_subsystems.cpp); an empty step is one the program goes
// without.
#pragma once

#include "runtime/core/rt_string.h"

struct SubsystemHooks {
    // RuntimeInit, in its order
    void (*createInput)() = nullptr;
    void (*createSound)() = nullptr;
    void (*createNetwork)() = nullptr;
    void (*createEngine3D)() = nullptr;
    void (*initInput)(bool captureMouse) = nullptr; // InputInit
    void (*initSound)() = nullptr;                  // SoundInit
    void (*openArchives)(const char* programPath) = nullptr;
    void (*drawLoadingText)() = nullptr; // font 0 and the centred "Loading..."
    void (*applyMouseMode)() = nullptr;  // pointer shown or captured, as captureMouse says

    // ShowScreen and PresentFrame
    void (*updateInput)() = nullptr; // KeyboardUpdate and a new mouse frame
    void (*leaveStencilMode)() = nullptr;
    void (*musicUpkeep)() = nullptr;       // restarts looping music when its time has come
    void (*finishScreen)() = nullptr;      // ends the active off-screen surface
    void (*resetFrameDrawing)() = nullptr; // SetBlendMode 0 and background buffer 0
    void (*resetEngine3DFrame)() = nullptr;
    bool (*saveScreen)(const RtString& file) = nullptr; // ScreenSave, for the timed headless screenshot

    // SetViewport
    void (*resetEngine3DViewport)() = nullptr;
    void (*resetViewport2D)() = nullptr; // bound textures and smoothing

    // RuntimeCleanup, in its order; releaseTextures runs when the device's window goes away
    void (*closeFiles)() = nullptr;
    void (*stopMusic)() = nullptr;
    void (*releaseTextures)() = nullptr;
    void (*destroyEngine3D)() = nullptr; // before the device: its GL objects need the context
    void (*destroyInput)() = nullptr;
    void (*destroySound)() = nullptr;
    void (*destroyNetwork)() = nullptr;
    void (*destroyArchives)() = nullptr;
};

SubsystemHooks& Hooks();

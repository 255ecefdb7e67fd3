// Plugging the subsystems into the core's start-up, frame loop and program end: one place that names
// which command of which subsystem runs at each step.
#include "runtime/attach_subsystems.h"

#include "runtime/core/subsystem_hooks.h"
#include "runtime/files/files.h"
#include "runtime/gfx2d/bitmap_font.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/sprite_draw.h"
#include "runtime/gfx2d/surfaces.h"
#include "runtime/input/input_device.h"

void AttachSubsystems() {
    SubsystemHooks& hooks = Hooks();
    hooks.createInput = InputReset;
    hooks.initInput = InputInit;
    hooks.openArchives = [](const char* programPath) { ArchiveRegister(RuntimeArchive(), programPath); };
    hooks.drawLoadingText = DrawLoadingText;
    hooks.applyMouseMode = ApplyMouseMode;

    hooks.updateInput = InputFrameUpdate;
    hooks.finishScreen = FinishScreenBeforePresent;
    hooks.resetFrameDrawing = ResetFrameDrawing;
    hooks.saveScreen = ScreenSave;

    hooks.resetViewport2D = ResetViewport2D;

    hooks.closeFiles = FileCloseAll;
    hooks.releaseTextures = SpriteFreeAll;
    hooks.destroyInput = InputShutdown;
    hooks.destroyArchives = [] { ArchiveDestroy(RuntimeArchive()); };
}

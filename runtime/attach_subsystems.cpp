// Plugging the subsystems into the core's start-up, frame loop and program end: one place that names
// which command of which subsystem runs at each step.
#include "runtime/attach_subsystems.h"

#include "runtime/core/subsystem_hooks.h"
#include "runtime/engine3d/vividoru3d.h"
#include "runtime/files/files.h"
#include "runtime/gfx2d/bitmap_font.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/sprite_draw.h"
#include "runtime/gfx2d/surfaces.h"
#include "runtime/input/input_device.h"
#include "runtime/net/net_session.h"
#include "runtime/sound/sound.h"

void AttachSubsystems() {
    SubsystemHooks& hooks = Hooks();
    hooks.createInput = InputReset;
    hooks.createNetwork = NetworkCreate;
    hooks.createEngine3D = CreateEngine3D;
    hooks.initInput = InputInit;
    hooks.openArchives = [](const char* programPath) { ArchiveRegister(RuntimeArchive(), programPath); };
    hooks.drawLoadingText = DrawLoadingText;
    hooks.applyMouseMode = ApplyMouseMode;

    hooks.updateInput = InputFrameUpdate;
    hooks.leaveStencilMode = LeaveStencilMode;
    hooks.finishScreen = FinishScreenBeforePresent;
    hooks.resetFrameDrawing = ResetFrameDrawing;
    hooks.resetEngine3DFrame = ResetEngine3DFrame;
    hooks.saveScreen = ScreenSave;

    hooks.resetEngine3DViewport = LeaveStencilMode;
    hooks.resetViewport2D = ResetViewport2D;

    hooks.closeFiles = FileCloseAll;
    hooks.releaseTextures = SpriteFreeAll;
    hooks.destroyEngine3D = DestroyEngine3D;
    hooks.destroyInput = InputShutdown;
    hooks.destroyNetwork = NetworkDestroy;
    hooks.destroyArchives = [] { ArchiveDestroy(RuntimeArchive()); };

    hooks.createSound = SoundCreate;
    hooks.initSound = [] { SoundInit(); };
    hooks.musicUpkeep = MusicUpkeep;
    hooks.stopMusic = MusicStop;
    hooks.destroySound = SoundDestroy;
}

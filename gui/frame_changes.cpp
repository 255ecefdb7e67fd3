// KYgui_changed: a frame differs from the last drawn one when the dialogs, the pointer, the font or the
// tooltip rest changed, a key or the wheel acted, or the window lost its picture.
#include "gui/frame_changes.h"

#include "gui/dialog_frame.h"
#include "gui/widget_handlers.h"
#include "runtime/core/core.h"
#include "runtime/core/shown_picture.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/input/input_device.h"

namespace {

// Application kinds draw what their hook likes, so a dialog with one may change in any frame.
bool ShowsApplicationKinds(const KYguiState& k) {
    for (const KYguiDialog& d : k.dialogs)
        for (const KYguiWidget& w : d.widgets)
            if (w.hide == 0 && !BuiltIn(w.type)) return true;
    return false;
}

// The pointer's rest shows a tooltip only over a widget that has one.
bool TooltipShown(const KYguiState& k) {
    if (k.dialogs.empty() || !PointerRested(ReadClockMs())) return false;
    for (const KYguiWidget& w : k.dialogs.back().widgets)
        if (w.hide == 0 && w.tiptext.Length() > 0 && PointerOver(w)) return true;
    return false;
}

} // namespace

KYguiLooks CurrentLooks() {
    KYguiState& k = KYgui();
    KYguiLooks looks;
    MouseGetState(looks.x, looks.y, looks.button1, looks.button2);
    looks.tooltips = TooltipShown(k);
    FontGetSize(looks.fx, looks.fy);
    looks.proportional = k.proportional;
    looks.kern_offset = k.kern_offset;
    looks.char_width = k.char_width;
    looks.smoothShading = k.smoothShading;
    return looks;
}

// A frame that handles events with nothing to show for them yet (a key that moves nothing) is drawn
// all the same: cheaper than telling which keys act.
double KYgui_changed() {
    KYguiState& k = KYgui();
    bool changed = ScreenNeedsDrawing() != 0 || !Input().framePresses.empty() || MouseGetAxis(2) != 0 ||
                   k.dialogs != k.drawnDialogs || CurrentLooks() != k.drawnLooks || ShowsApplicationKinds(k);
    k.frameAsked = true;
    k.drawFrame = changed;
    if (changed) StartFrameAfterKeep(Device());
    return changed ? 1 : 0;
}

void EndDialogFrame(bool changed) {
    if (changed)
        ShowScreen();
    else
        KeepScreen();
}

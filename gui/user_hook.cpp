// The hook for application-defined kinds: the installed one, or a screen that says one is missing.
#include "gui/kygui_state.h"
#include "platform/video.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/input/input.h"

namespace {

// Status of a program stopped for want of a hook: it did not finish its work.
constexpr int kMissingHookStatus = 1;

void MissingHook(const RtString& id) {
    KYguiDialog& d = KYgui().dialogs.back();
    int32_t at = FindWidget(d, id, false);
    RtString type = at >= 0 ? d.widgets[at].type : RtString();
    DrawFilledRect(0, 0, 1024, 1024, 0x4080ff);
    TextPrint("Must overwrite: kygui_handle_user", 0, 0);
    TextPrint("for item: " + id, 0, 20);
    TextPrint("type=" + type, 0, 40);
    ShowScreen();
    // Nobody can press a key at a screen nobody sees.
    if (!platform::Headless()) {
        while (KeyTyped() == 0) WaitInputChange();
    }
    RuntimeError(kMissingHookStatus);
}

} // namespace

void KYgui_sethook(KYguiUserHook hook) { KYgui().userHook = hook; }

void kygui_handle_user(const RtString& id, int32_t x, int32_t y, int32_t event, int32_t button2) {
    if (KYguiUserHook hook = KYgui().userHook) return hook(id, x, y, event, button2);
    MissingHook(id);
}

// KYgui_msg: a message with Yes and No, or with OK alone.
#include "gui/dialog_frame.h"
#include "gui/frame_changes.h"
#include "gui/kygui_state.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/gfx2d.h"

#include <algorithm>

double KYgui_msg(const RtString& text, double yesNo) {
    int32_t sw, sh;
    GetScreenSize(sw, sh);
    int32_t mw = std::max(sw / 3, 148);
    KYgui_pushdialog((sw - mw) / 2, sh / 4, mw, 150);
    KYgui_set("", "MOVEABLE", "1");
    KYgui_set("", "TEXT", "Information");
    KYgui_widget("", text, mw - 16, 0);
    KYgui_spacer(10000, 5);
    KYgui_button("bt_yes", "Yes", 0, 0);
    KYgui_button("bt_no", "No", 0, 0);
    if (yesNo == 0) {
        KYgui_hide("bt_no", 1);
        KYgui_set("bt_yes", "TEXT", "OK");
    }
    KYgui_resizedialog(0, 0, 0, 0);
    FitDialogHeight(ActiveDialog());
    KYgui_set("", "FOCUS", "bt_yes"); // Enter or Space answer Yes (OK)
    ActiveDialog().defaultButton = "bt_yes";
    for (;;) {
        bool changed = KYgui_changed() != 0;
        KYshow(0);
        EndDialogFrame(changed);
        // Escape (a pad's B) is No, or the only answer OK.
        bool cancel = KYgui().cancel;
        if (KYgui_get("bt_yes", "CLICKED") != 0 || (cancel && yesNo == 0)) {
            KYgui_popdialog();
            return 1;
        }
        if (KYgui_get("bt_no", "CLICKED") != 0 || cancel) {
            KYgui_popdialog();
            return 0;
        }
    }
}

// KYshow: every dialog's frame (drawn, or only handled when it would look as the last drawn one), the
// click event, the requests served after the widgets, and the links.
#include "gui/dialog_frame.h"
#include "gui/frame_changes.h"
#include "gui/kyshow_input.h"
#include "runtime/core/core.h"
#include "runtime/input/input.h"

int32_t ClickEvent(int32_t x, int32_t y, int32_t button1) {
    KYguiState& k = KYgui();
    if (button1 && k.pressed == 0) {
        k.pressed = 1;
        k.prevX = x;
        k.prevY = y;
        return -1;
    }
    if (!button1 && k.pressed == 1) {
        k.pressed = 0;
        // On a touch screen nothing may stay hovered after the finger lifts.
        if (k.touch != 0) {
            MouseSetPosition(0, 0);
            k.prevX = k.prevY = 0;
        }
        return 1;
    }
    return 0;
}

void ServeRequests(KYguiDialog& d) {
    int32_t request = d.request;
    d.request = 0;
    if (request == 0) return;
    RtString id = d.request_id;
    int32_t at = FindWidget(d, id, false);
    if (at < 0) return;
    if (request == 1) {
        int32_t colour = KYgui_colordlg(TextToInt(d.widgets[at].text.c_str() + 5));
        d.widgets[FindWidget(d, id, true)].text = "SPR_C" + RtString(colour);
    } else if (request == 2) {
        RtString text = KYgui_keyboard_str(d.widgets[at].text);
        d.widgets[FindWidget(d, id, true)].text = text;
    }
}

void KYshow(double onlyActive) {
    KYguiState& k = KYgui();
    if (k.dialogs.empty()) {
        DebugOutput("KYshow: No active dialog!\n");
        return;
    }
    // Unasked, every frame is drawn: the program may show every frame.
    bool draw = !k.frameAsked || k.drawFrame;
    k.frameAsked = false;
    if (draw) {
        k.drawnDialogs = k.dialogs;
        k.drawnLooks = CurrentLooks();
    }
    if (onlyActive == 0)
        for (KYguiDialog& d : k.dialogs) DrawDialog(d, false, draw);
    KYguiDialog& active = k.dialogs.back();
    DrawDialog(active, true, draw);
    // Links copy after the frame, in order, each seeing the copies before it.
    for (size_t i = 0; i < active.links.size(); ++i) {
        KYguiLink link = active.links[i];
        KYgui_set(link.dstId, link.dstProperty, KYgui_get_str(link.srcId, link.srcProperty));
    }
}

// KYgui_colordlg: red, green and blue sliders with a brightness slider that mixes towards black or
// white, a preview, OK and Cancel.
#include "gui/dialog_frame.h"
#include "gui/frame_changes.h"
#include "gui/kygui_state.h"
#include "gui/shading.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/input/input.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* kChannels[] = {"R", "G", "B", "H"};

int32_t Nearest(double v) { return static_cast<int32_t>(std::lround(v)); }

void ShowNumber(const char* id, int32_t value) { KYgui_set(id, "TEXT", RtString(value)); }

// The colour the sliders describe, with the numbers shown beside them.
int32_t MixedColour() {
    double c[3];
    for (int i = 0; i < 3; ++i) c[i] = KYgui_get_str("sl_" + RtString(kChannels[i]), "TEXT").ToNumber();
    double h = 2 * KYgui_get_str("sl_H", "TEXT").ToNumber();
    double t;
    if (h > 1) {
        t = h - 1;
        for (double& v : c) v = std::min(1.0, std::max(0.0, t * (1 - v) + v));
    } else {
        for (double& v : c) v *= std::min(1.0, std::max(0.0, h));
        t = h;
    }
    ShowNumber("tx_R", Nearest(c[0] * 255.01));
    ShowNumber("tx_G", Nearest(c[1] * 255.01));
    ShowNumber("tx_B", Nearest(c[2] * 255.01));
    ShowNumber("tx_H", Nearest(t * 100.0001));
    return Nearest(c[0] * 255) + 256 * Nearest(c[1] * 255) + 65536 * Nearest(c[2] * 255);
}

} // namespace

int32_t KYgui_colordlg(int32_t colour) {
    double start[4] = {(colour & 0xff) / 255.0, (colour & 0xff00) / 65280.0, (colour & 0xff0000) / 16711680.0, 0.5};
    int32_t fx, fy;
    FontGetSize(fx, fy);
    KYgui_pushdialog(0, 0, 200, 220);
    KYgui_set("", "MOVEABLE", "1");
    KYgui_set("", "TEXT", "Color Picker");
    KYgui_spacer(10000, 80);
    for (int i = 0; i < 4; ++i) {
        RtString name = kChannels[i];
        KYgui_widget("", name, 0, 0);
        KYgui_slider("sl_" + name, start[i], 0, 0);
        KYgui_text("tx_" + name, RtString(Nearest(start[i] * (i == 3 ? 100 : 255.01))), 3 * fx, 0);
        KYgui_set("tx_" + name, "READONLY", "1");
        KYgui_spacer(10000, 0);
    }
    KYgui_spacer(10000, 0);
    KYgui_spacer(3 * fx, 0);
    KYgui_button("bt_ok", "OK", 0, 0);
    KYgui_button("bt_cancel", "Cancel", 0, 0);
    FitDialogHeight(ActiveDialog());
    KYgui_set("", "FOCUS", "bt_ok");
    ActiveDialog().defaultButton = "bt_ok";
    int32_t current = colour;
    for (;;) {
        bool changed = KYgui_changed() != 0;
        KYshow(0);
        bool moved = false;
        for (const char* c : kChannels) moved |= KYgui_get("sl_" + RtString(c), "CLICKED") != 0;
        if (moved) current = MixedColour();
        int32_t px = static_cast<int32_t>(KYgui_get("", "XPOS")) + 2 * fx;
        int32_t py = static_cast<int32_t>(KYgui_get("", "YPOS")) + 2 * fy;
        if (changed) {
            DrawFilledRect(px, py, 128, 64, current);
            FrameLines(px - 1, py - 1, 130, 66, 0);
        }
        EndDialogFrame(changed);
        if (KYgui_get("bt_ok", "CLICKED") != 0) {
            KYgui_popdialog();
            return current;
        }
        if (KYgui_get("bt_cancel", "CLICKED") != 0 || KYgui().cancel) {
            KYgui_popdialog();
            return colour;
        }
    }
}

// Opening, closing and resizing dialogs.
#include "gui/kygui_state.h"
#include "gui/widget_handlers.h"
#include "runtime/core/core.h"
#include "runtime/files/system_services.h"
#include "runtime/gfx2d/gfx2d.h"

#include <algorithm>

namespace {

bool TouchPlatform() {
    RtString key = "";
    RtString name = SystemInfo(key);
    return name == "WINCE" || name == "GP2X";
}

} // namespace

void KYgui_pushdialog(int32_t x, int32_t y, int32_t width, int32_t height) {
    KYguiState& k = KYgui();
    KYguiDialog& d = k.dialogs.emplace_back();
    int32_t sw, sh;
    GetScreenSize(sw, sh);
    if (!k.tablesFilled) KYgui_font_kerning(0);
    d.col_norm = 0xc0c0c0;
    d.col_bright = 0xffffff;
    d.col_hover_norm = 0xff9040;
    d.col_hover_bright = 0xfff0a0;
    k.touch = TouchPlatform() ? 1.0 : 0.0;
    d.xpos = std::min(x, sw - 1);
    d.ypos = std::min(y, sh - 1);
    // A dialog opened right of or below the screen is empty rather than of negative size.
    d.frame.width = std::max(0, std::min(width, sw - x));
    d.frame.height = std::max(0, std::min(height, sh - y));
}

void KYgui_popdialog() {
    KYguiState& k = KYgui();
    if (k.dialogs.empty()) return;
    k.dialogs.pop_back();
    if (!k.dialogs.empty()) KYgui_resizedialog(0, 0, 0, 0);
}

void KYgui_resizedialog(int32_t x, int32_t y, int32_t width, int32_t height) {
    KYguiDialog& d = ActiveDialog();
    int32_t sw, sh;
    GetScreenSize(sw, sh);
    if (width > 0 && height > 0) {
        KYgui_set("", "XPOS", RtString(x));
        KYgui_set("", "YPOS", RtString(y));
        KYgui_set("", "WIDTH", RtString(std::min(sw, width)));
        KYgui_set("", "HEIGHT", RtString(std::min(sh, height)));
    }
    for (size_t i = 0; i < d.widgets.size(); ++i) HandleWidget(d, static_cast<int32_t>(i), -1, -1, 0, 0);
}

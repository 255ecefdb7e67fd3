// Entries for the call-by-name table: the character tables and the dialog stack on the debug output.
#include "gui/kygui_state.h"
#include "runtime/core/core.h"

void KYgui_DebugHelpers() {
    const KYguiState& k = KYgui();
    DebugOutput("KYgui character tables, proportional=" + RtString(k.proportional) + "\n");
    for (int32_t c = 0; c < 256; ++c)
        DebugOutput(RtString(c) + ": kern_offset=" + RtString(k.kern_offset[c]) +
                    " char_width=" + RtString(k.char_width[c]) + "\n");
}

void KYgui_DebugWidgets() {
    const KYguiState& k = KYgui();
    DebugOutput("KYgui dialogs: " + RtString(static_cast<int32_t>(k.dialogs.size())) + "\n");
    int32_t n = 0;
    for (const KYguiDialog& d : k.dialogs) {
        DebugOutput("dialog " + RtString(n++) + " \"" + d.frame.text + "\" at " + RtString(d.xpos) + "," +
                    RtString(d.ypos) + " size " + RtString(d.frame.width) + "x" + RtString(d.frame.height) +
                    " focus \"" + d.focus + "\" widgets " + RtString(static_cast<int32_t>(d.widgets.size())) + "\n");
        for (const KYguiDrawOrder& entry : d.draw_order) {
            const KYguiWidget& w = d.widgets[static_cast<size_t>(entry.index)];
            DebugOutput("  " + w.id + " " + w.type + " \"" + w.text + "\" " + RtString(w.width) + "x" +
                        RtString(w.height) + " select=" + RtString(w.select) + " clicked=" + RtString(w.clicked) +
                        " hide=" + RtString(w.hide) + "\n");
        }
    }
}

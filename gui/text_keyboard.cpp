// KYgui_keyboard$: an on-screen keyboard in four layouts (upper case, lower case, accented letters,
// digits and signs) typing into its own text field through the dialog's INKEY.
#include "gui/dialog_frame.h"
#include "gui/frame_changes.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/gfx2d.h"

#include <string_view>

namespace {

constexpr int32_t kKeyWidth = 21;
constexpr char kBackspace = 8;
constexpr char kEnterCaption = '\xb6'; // the pilcrow of Latin-1

void Row(std::string_view keys) {
    for (char c : keys) {
        std::string_view one(&c, 1);
        KYgui_button("b" + RtString(one), RtString(one), kKeyWidth, 0);
    }
}

void SpecialKey(char c, const RtString& caption, int32_t width, int32_t height) {
    KYgui_button("b" + RtString(std::string_view(&c, 1)), caption, width, height);
}

void LineBreak() { KYgui_spacer(10000, 0); }

void Backspace() { SpecialKey(kBackspace, "<-", 44, 0); }

void Enter() { SpecialKey('\n', RtString(std::string_view(&kEnterCaption, 1)), 44, 21); }

void Letters(bool upper) {
    Row(upper ? "QWERTYUIOP" : "qwertyuiop");
    LineBreak();
    Row(upper ? "ASDFGHJKL," : "asdfghjkl,");
    LineBreak();
    KYgui_button("bShift", "^", kKeyWidth, 0);
    Row(upper ? "ZXCVBNM" : "zxcvbnm");
    Backspace();
    LineBreak();
    Row(",.");
    SpecialKey(' ', "", 136, 0);
    Enter();
}

void Accents() {
    Row("\xe1\xe9\xed\xf3\xfa\xc1\xc9\xcd\xd3\xda");
    LineBreak();
    Row("\xe0\xe8\xec\xf2\xf9\xc0\xc8\xcc\xd2\xd9");
    LineBreak();
    Row("\xe4\xf6\xfc\xc4\xd6\xdc\xdf");
    Backspace();
    LineBreak();
    Row("\xb4`\xb0");
    SpecialKey(' ', "", 113, 0);
    Enter();
}

void Signs() {
    Row("@#[]~789/*");
    LineBreak();
    Row("?!{}=456-+");
    LineBreak();
    Row(":;()0123");
    Backspace();
    LineBreak();
    Row(",.<>'\"");
    SpecialKey(' ', "", 44, 0);
    Enter();
}

// Rebuilds the dialog for the selected layout, keeping the text, its selection and the layout.
void Build() {
    DebugOutput("refresh " + RtString(ReadClockMs()) + "\n");
    RtString text = KYgui_get_str("tx_text", "TEXT");
    RtString selstart = KYgui_get_str("tx_text", "SELSTART");
    RtString selend = KYgui_get_str("tx_text", "SELEND");
    RtString layout = KYgui_get_str("tab", "SELECT");
    KYguiDialog& d = ActiveDialog();
    d.widgets.clear();
    d.draw_order.clear();
    d.links.clear();
    int32_t fx, fy;
    FontGetSize(fx, fy);
    KYgui_text("tx_text", text, 210, 6 * fy);
    KYgui_spacer(10000, 2);
    KYgui_tab("tab", "ABC|abcg|\xc4\xd6\xdc|123");
    KYgui_set("tab", "SELECT", layout);
    KYgui_set("tx_text", "SELSTART", selstart);
    KYgui_set("tx_text", "SELEND", selend);
    switch (layout.ToInt()) {
    case 0:
        Letters(true);
        break;
    case 1:
        Letters(false);
        break;
    case 2:
        Accents();
        break;
    default:
        Signs();
        break;
    }
    LineBreak();
    KYgui_button("btOK", "OK", 0, 0);
    KYgui_button("btCancel", "Cancel", 0, 0);
    for (KYguiWidget& w : ActiveDialog().widgets)
        if (w.id.Length() == 2 && w.id.view()[0] == 'b') w.tiptext = w.text;
    FitDialogHeight(ActiveDialog());
}

// The key clicked in this frame, or null.
const KYguiWidget* ClickedKey() {
    KYguiDialog& d = ActiveDialog();
    for (const KYguiDrawOrder& entry : d.draw_order) {
        const KYguiWidget& w = d.widgets[static_cast<size_t>(entry.index)];
        if (w.id.Length() == 2 && w.id.view()[0] == 'b' && w.clicked != 0) return &w;
    }
    return nullptr;
}

} // namespace

RtString KYgui_keyboard_str(const RtString& text) {
    KYguiState& k = KYgui();
    KYgui_pushdialog(0, 0, 240, 240);
    k.keyboard_open = 1;
    KYgui_set("tx_text", "TEXT", text);
    KYgui_set("tab", "SELECT", "1");
    Build();
    for (;;) {
        // Typing goes to the field unless Ctrl+Tab took the focus on to the keys.
        if (FindWidget(ActiveDialog(), KYgui_get_str("", "FOCUS"), false) < 0) KYgui_set("", "FOCUS", "tx_text");
        bool relayout = KYgui_get("tab", "CLICKED") != 0;
        bool changed = KYgui_changed() != 0;
        KYshow(1);
        if (relayout) {
            Build();
            continue;
        }
        int32_t layout = static_cast<int32_t>(KYgui_get("tab", "SELECT"));
        if (const KYguiWidget* key = ClickedKey()) {
            KYgui_set("", "INKEY", RtString(key->id.view().substr(1)));
            // Upper case holds for one key only.
            if (layout == 0) {
                KYgui_set("tab", "SELECT", "1");
                KYgui_set("tab", "CLICKED", "1");
            }
        }
        if ((layout == 0 || layout == 1) && KYgui_get("bShift", "CLICKED") != 0) {
            KYgui_set("tab", "SELECT", RtString(1 - layout));
            KYgui_set("tab", "CLICKED", "1");
        }
        bool ok = KYgui_get("btOK", "CLICKED") != 0;
        if (ok || KYgui_get("btCancel", "CLICKED") != 0 || k.cancel) {
            RtString result = ok ? KYgui_get_str("tx_text", "TEXT") : text;
            KYgui_popdialog();
            k.keyboard_open = 0;
            return result;
        }
        EndDialogFrame(changed);
    }
}

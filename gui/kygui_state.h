// The toolkit's records (widget, dialog, link, draw-order entry) and its one state record: the dialog
// stack, the character metrics, and the input, tooltip and key-repeat state shared by every frame.
#pragma once

#include "gui/kygui.h"
#include "runtime/input/input.h"

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

struct KYguiWidget {
    RtString id;
    RtString type = "WIDGET";
    RtString text;
    int32_t width = 0;
    int32_t height = 0;
    int32_t hover = 0;
    int32_t hide = 0;
    RtString filter;
    RtString tiptext;
    int32_t clicked = 0;
    int32_t select = 0;
    int32_t count = 0;
    int32_t readonly = 0;
    int32_t selstart = 0;
    int32_t selend = 0;
    double minval = 0.0;
    double maxval = 1.0;
    double step = 0.01;
    int32_t scroll = 0;
    int32_t scroll_range = 0;
    int32_t cursor_x = 0;
    int32_t cursor_y = 0;
    friend bool operator==(const KYguiWidget&, const KYguiWidget&) = default;
};

struct KYguiLink {
    RtString srcId;
    RtString dstId;
    RtString srcProperty;
    RtString dstProperty;
    friend bool operator==(const KYguiLink&, const KYguiLink&) = default;
};

struct KYguiDrawOrder {
    RtString id;
    double index = 0;
    friend bool operator==(const KYguiDrawOrder&, const KYguiDrawOrder&) = default;
};

struct KYguiDialog {
    RtString focus;
    int32_t moveable = 0;
    int32_t moving = 0;
    int32_t scaleable = 0;
    int32_t col_bright = 0;
    int32_t col_norm = 0;
    int32_t col_hover_bright = 0;
    int32_t col_hover_norm = 0;
    RtString inkey;
    int32_t xpos = 0;
    int32_t ypos = 0;
    int32_t content_height = 0;
    int32_t request = 0;
    RtString request_id;
    RtString defaultButton; // what Enter presses when the focus is on no button (standard dialogs)
    KYguiWidget frame;
    std::vector<KYguiLink> links;
    std::vector<KYguiWidget> widgets; // sorted ascending by id
    std::vector<KYguiDrawOrder> draw_order;
    friend bool operator==(const KYguiDialog&, const KYguiDialog&) = default;
};

// What a frame's picture depends on besides the dialogs: the pointer, whether a tooltip shows, the font.
struct KYguiLooks {
    int32_t x = -1, y = -1, button1 = 0, button2 = 0;
    bool tooltips = false;
    int32_t fx = 0, fy = 0;
    int32_t proportional = 0;
    std::array<int32_t, 256> kern_offset{};
    std::array<int32_t, 256> char_width{};
    int32_t smoothShading = -1;
    friend bool operator==(const KYguiLooks&, const KYguiLooks&) = default;
};

struct KYguiState {
    // A deque: opening a dialog from inside another's frame keeps references to the lower ones valid.
    std::deque<KYguiDialog> dialogs;
    std::array<int32_t, 256> kern_offset{};
    std::array<int32_t, 256> char_width{};
    bool tablesFilled = false;
    int32_t proportional = 0;
    double touch = 0.0; // 1 on a touch-screen platform; set again by every KYgui_pushdialog
    // Tooltips: when and where the pointer last moved by more than 4 pixels.
    double restTime = 0;
    int32_t restX = 0;
    int32_t restY = 0;
    // Clicks and drags.
    int32_t pressed = 0;
    int32_t prevX = 0;
    int32_t prevY = 0;
    int32_t resizing = 0;
    bool wheelTaken = false; // a widget scrolled by this frame's wheel
    bool sliderDrag = false; // a press on a slider drags it until the button comes up
    // The active dialog's key presses of this frame, taken once by its KYshow.
    std::vector<FrameKeyPress> presses;
    bool cancel = false; // Escape or a pad's B in the active dialog's last frame
    // Text fields: the repeat gate and the on-screen keyboard.
    int32_t last_key = 0;
    double last_key_time = 0;
    int32_t keyboard_open = 0;
    // Shaded boxes: -1 until asked once whether smooth shading is offered; tests may set 0 to force flat.
    int32_t smoothShading = -1;
    KYguiUserHook userHook = nullptr;
    // Frames that would look as the last drawn one are not drawn when the program asked
    // KYgui_changed first: the dialogs and looks the last drawn frame started from.
    bool frameAsked = false; // KYgui_changed answered since the last KYshow
    bool drawFrame = true;   // and what it answered
    std::deque<KYguiDialog> drawnDialogs;
    KYguiLooks drawnLooks;
};

KYguiState& KYgui();

// The active dialog; with none open the program ends with the array-index error, as every creator,
// KYgui_set, KYgui_link and KYgui_resizedialog do.
KYguiDialog& ActiveDialog();
// Position of the widget in the sorted store, or -1; with create, a missing widget is inserted with
// the defaults and appended to the draw order.
int32_t FindWidget(KYguiDialog& dialog, const RtString& id, bool create);
// The items of a list or radio group: none for an empty text.
std::vector<RtString> SplitText(const RtString& text, char separator);
// The current font's cell size, never below 1 so that it can divide.
void CharSize(int32_t& fx, int32_t& fy);

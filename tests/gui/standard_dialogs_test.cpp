// The message box, the colour picker and the keyboard, driven through their own frame loops: answered
// by pointer and by keys, and fitting the shipped font.
#include "tests/gui/gui_test_support.h"

namespace {

// Dialogs, the caller's widgets, its place and its button's caption.
std::string Caller() {
    return std::to_string(KYgui().dialogs.size()) + " " + std::to_string(KYgui().dialogs.back().widgets.size()) + " " +
           Properties(".XPOS mine.TEXT")();
}

} // namespace

// The picker opens in the frame after the click, at (0, 0): H dragged to its right or left end, then OK
// at (31, 215) 24 x 20 or Cancel at (57, 215) 56 x 20. A read-only button opens nothing.
TEST(StandardDialogs, ColourButtonsOpenThePickerThatMixesTowardsWhiteOrBlackAndTheKeyboardTypes) {
    StartGui();
    // The caller's dialog, which every standard dialog must leave as it was, with a colour button at
    // (305, 305), 32 x 32, that opens the colour picker.
    KYgui_pushdialog(300, 300, 200, 100);
    KYgui_button("mine", "SPR_C255", 0, 0);
    for (auto [readonly, hx, close, log, caption] :
         {std::tuple(0, 122, 43, "Color Picker,1,0,0,0.5,50 \n100,255 16777215 00\n", "SPR_C16777215"),
          {0, 23, 43, "Color Picker,1,0,0,0.5,50 \n0,0 0 00\n", "SPR_C0"},
          {0, 122, 85, "Color Picker,1,0,0,0.5,50 \n100,255 16777215 00\n", "SPR_C255"},
          {1, 122, 85, ",,,,, \n", "SPR_C255"}}) {
        KYgui_set("mine", "READONLY", RtString(readonly));
        KYgui_set("mine", "TEXT", "SPR_C255");
        StartScript();
        ScriptClick(1, 321, 321);
        ScriptRecord(3, Properties(".TEXT sl_R.TEXT sl_G.TEXT sl_B.TEXT sl_H.TEXT tx_H.TEXT"));
        ScriptClick(4, hx, 195); // H at (23, 187) 100 x 16
        // The preview from (16, 32) in a black frame, as drawn before this ShowScreen.
        ScriptRecord(6, [] {
            return Properties("tx_H.TEXT tx_R.TEXT")() + std::to_string(BackBufferPixel(26, 42)) + " " +
                   std::to_string(BackBufferPixel(15, 60)) + std::to_string(BackBufferPixel(60, 31));
        });
        ScriptClick(8, close, 225);
        Watch(3, [] { return ""; });
        EXPECT_EQ(ScriptLog(), log) << close;
        EXPECT_EQ(Caller(), "1 1 300," + std::string(caption) + " ");
    }
    // The keys, 21 x 20: q at (5, 134), A (shifted) at (5, 158), Shift at (5, 182), x at (51, 182);
    // Backspace at (189, 182) 44 x 20; OK at (5, 231) 24 x 20.
    StartScript();
    auto layoutAndText = [] {
        int commas = 0;
        for (const KYguiDrawOrder& e : KYgui().dialogs.back().draw_order) commas += e.id == "b,";
        return Properties("tab.SELECT tx_text.TEXT")() + std::to_string(commas) + std::to_string(KYgui().keyboard_open);
    };
    for (auto [frame, x, y] : {std::tuple(2, 15, 192), {6, 15, 168}, {10, 211, 192}, {14, 15, 144}}) {
        ScriptRecord(frame == 2 ? 1 : frame, layoutAndText);
        ScriptClick(frame, x, y);
    }
    ScriptClick(18, 17, 241);
    EXPECT_EQ(KYgui_keyboard_str("ab"), "qab");
    EXPECT_EQ(ScriptLog(), "1,ab 11\n0,ab 11\n1,Aab 11\n1,ab 11\n");
    EXPECT_EQ(Caller(), "1 1 300,SPR_C255 ");
}

// With the font the programs ship, at the launcher's screen and at 640 x 480, each standard dialog
// holds all its widgets without scrolling inside the screen, and the keys alone close it.
TEST(StandardDialogs, FitTheShippedFontAndAnswerTheKeys) {
    StartGui();
    FontLoad(TMV_ASSET_DIR "/menu.png", 0);
    KYgui_font_kerning(1);
    AllowEscapeKey(0); // Escape answers the dialog instead of ending the program
    constexpr int kCtrl = 224, kShift = 225, kTab = 43, kSpace = 44, kReturn = 40, kRight = 79, kLeft = 80, kEnd = 77,
                  kEscape = 41;
    auto colour = [] { return std::to_string(KYgui_colordlg(0x4080ff)); };
    const char* text = "A long message that takes several lines in the dialog to show all of its words, which must all "
                       "be seen with the buttons below them.";
    auto question = [text] { return std::to_string(int(KYgui_msg(text, 1))); };
    auto note = [text] { return std::to_string(int(KYgui_msg(text, 0))); };
    auto keyboard = [] { return std::string(KYgui_keyboard_str("Text").c_str()); };
    using Keys = std::vector<std::vector<int>>;
    for (const auto& [open, keys, answer] :
         std::initializer_list<std::tuple<std::function<std::string()>, Keys, const char*>>{
        {colour, {{kReturn}}, "4227327"}, // OK has the focus
        // Back to the brightness slider, to its end (white), and Enter there still means OK.
        {colour, {{kShift, kTab}, {kCtrl, kShift, kTab}, {kEnd}, {kReturn}}, "16777215"},
        {colour, {{kShift, kTab}, {kCtrl, kShift, kTab}, {kEnd}, {kEscape}}, "4227327"}, // Escape cancels
        {question, {{kReturn}}, "1"},                                                     // Yes has the focus
        {question, {{kTab}, {kSpace}}, "0"},
        {question, {{kEscape}}, "0"},
        {note, {{kEscape}}, "1"},                 // OK alone
        {keyboard, {{4}, {kEscape}}, "Text"}, // an "a" typed, then cancelled
        // The layouts by the tab row: from the field to the tabs, along, back to the field, round to Cancel.
        {keyboard, {{kCtrl, kTab}, {kLeft}, {kShift, kTab}, {kCtrl, kShift, kTab}, {kSpace}}, "Text"},
        {keyboard, {{kCtrl, kTab}, {kRight}, {kShift, kTab}, {kCtrl, kShift, kTab}, {kSpace}}, "Text"},
        {keyboard, {{kCtrl, kTab}, {kRight}, {kRight}, {kShift, kTab}, {kCtrl, kShift, kTab}, {kReturn}}, "Text"}})
        for (auto [width, height] : {std::pair(300, 500), {640, 480}}) {
            SCOPED_TRACE(std::string(answer) + " at " + std::to_string(width));
            SetScreen(width, height, 0);
            KYgui().dialogs.clear();
            KYgui_pushdialog(0, 0, 100, 100);
            StartScript();
            std::string fit;
            // Before the last key, in the layout it closes.
            ScriptAt(static_cast<int>(keys.size()) * 3 - 1, [&fit, width = width, height = height] {
                const KYguiDialog& d = KYgui().dialogs.back();
                fit = std::to_string(d.frame.scroll_range) +
                      std::to_string(d.ypos + 24 + d.frame.height <= height && d.xpos + d.frame.width <= width);
            });
            for (size_t i = 0; i < keys.size(); ++i) ScriptChord(3 + 3 * static_cast<int>(i), keys[i]);
            std::string got = open();
            StopScript();
            EXPECT_EQ(fit, "01") << "no scrolling, inside the screen";
            EXPECT_EQ(got, answer);
        }
    SetScreen(640, 480, 0);
    AllowEscapeKey(1);
}

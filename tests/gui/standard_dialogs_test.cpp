// The message box, the colour picker and the keyboard, driven through their own frame loops: answered
// by pointer and by keys, and fitting the shipped font.
#include "gui/kygui_state.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/input/input.h"
#include "tests/gui/gui_test_support.h"
#include "tests/support/frame_script.h"
#include "tests/support/headless.h"

#include <gtest/gtest.h>

namespace {

// The caller's dialog, which every standard dialog must leave as it was.
void CallerDialog() {
    KYgui_pushdialog(300, 300, 200, 100);
    KYgui_button("mine", "Mine", 0, 0);
}

// Dialogs, the caller's widgets, its place and its button's caption.
std::string Caller() {
    return std::to_string(KYgui().dialogs.size()) + " " + std::to_string(KYgui().dialogs.back().widgets.size()) + " " +
           Properties(".XPOS mine.TEXT")();
}

} // namespace

// H dragged to its right or left end, then OK at (31, 215) 24 x 20 or Cancel at (57, 215) 56 x 20.
TEST(StandardDialogs, ColourPickerMixesTowardsWhiteOrBlackAndCancelKeepsTheColour) {
    StartGui();
    CallerDialog();
    for (auto [hx, close, result, log] : {std::tuple(122, 43, 0xffffff, "1,0,0,0.5,50 \n100,255 16777215 00\n"),
                                          {23, 43, 0, "1,0,0,0.5,50 \n0,0 0 00\n"},
                                          {122, 85, 0x0000ff, "1,0,0,0.5,50 \n100,255 16777215 00\n"}}) {
        StartScript();
        ScriptRecord(1, Properties("sl_R.TEXT sl_G.TEXT sl_B.TEXT sl_H.TEXT tx_H.TEXT"));
        ScriptPress(2, hx, 195); // H at (23, 187) 100 x 16
        ScriptButton(3, 1, false);
        // The preview from (16, 32) in a black frame, as drawn before this ShowScreen.
        ScriptRecord(5, [] {
            return Properties("tx_H.TEXT tx_R.TEXT")() + std::to_string(BackBufferPixel(26, 42)) + " " +
                   std::to_string(BackBufferPixel(15, 60)) + std::to_string(BackBufferPixel(60, 31));
        });
        ScriptClick(6, close, 225);
        EXPECT_EQ(KYgui_colordlg(0x0000ff), result) << close;
        EXPECT_EQ(ScriptLog(), log);
        StopScript();
        EXPECT_EQ(Caller(), "1 1 300,Mine ");
    }
}

// The keys, 21 x 20: q at (5, 134), A (shifted) at (5, 158), Shift at (5, 182), x at (51, 182);
// Backspace at (189, 182) 44 x 20; OK at (5, 231) 24 x 20, Cancel at (31, 231) 56 x 20.
TEST(StandardDialogs, KeyboardTypesSwitchesLayoutsAndCancelReturnsTheGivenText) {
    StartGui();
    CallerDialog();
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
    CaptureDebug();
    EXPECT_EQ(KYgui_keyboard_str("ab"), "qab");
    EXPECT_EQ(TakeDebug().rfind("refresh ", 0), 0u);
    EXPECT_EQ(ScriptLog(), "1,ab 11\n0,ab 11\n1,Aab 11\n1,ab 11\n");
    EXPECT_EQ(KYgui().keyboard_open, 0);
    EXPECT_EQ(Caller(), "1 1 300,Mine ");

    StartScript();
    ScriptClick(2, 61, 192);
    ScriptRecord(6, Properties("tx_text.TEXT"));
    ScriptClick(6, 59, 241);
    EXPECT_EQ(KYgui_keyboard_str("ab"), "ab");
    EXPECT_EQ(ScriptLog(), "xab \n");
    StopScript();
    EXPECT_EQ(Caller(), "1 1 300,Mine ");
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
    auto message = [](int yesNo) {
        return std::to_string(int(KYgui_msg("A long message that takes several lines in the dialog to show all of its "
                                            "words, which must all be seen with the buttons below them.",
                                            yesNo)));
    };
    auto question = [message] { return message(1); };
    auto note = [message] { return message(0); };
    auto keyboard = [] { return std::string(KYgui_keyboard_str("Text").c_str()); };
    struct Case {
        std::function<std::string()> open;
        std::vector<std::vector<int>> keys;
        std::string answer;
    } cases[] = {
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
        {keyboard, {{kCtrl, kTab}, {kRight}, {kRight}, {kShift, kTab}, {kCtrl, kShift, kTab}, {kReturn}}, "Text"},
    };
    for (auto [width, height] : {std::pair(300, 500), {640, 480}})
        for (const Case& c : cases) {
            SCOPED_TRACE(c.answer + " at " + std::to_string(width));
            SetScreen(width, height, 0);
            KYgui().dialogs.clear();
            KYgui_pushdialog(0, 0, 100, 100);
            StartScript();
            std::string fit;
            // Before the last key, in the layout it closes.
            ScriptAt(static_cast<int>(c.keys.size()) * 3 - 1, [&fit, width = width, height = height] {
                const KYguiDialog& d = KYgui().dialogs.back();
                fit = std::to_string(d.frame.scroll_range) + " " +
                      std::to_string(d.ypos + 24 + d.frame.height <= height) + " " +
                      std::to_string(d.xpos + d.frame.width <= width);
            });
            for (size_t i = 0; i < c.keys.size(); ++i) ScriptChord(3 + 3 * static_cast<int>(i), c.keys[i]);
            std::string answer = c.open();
            StopScript();
            EXPECT_EQ(fit, "0 1 1");
            EXPECT_EQ(answer, c.answer);
            EXPECT_EQ(KYgui().dialogs.size(), 1u);
        }
    SetScreen(640, 480, 0);
    AllowEscapeKey(1);
}

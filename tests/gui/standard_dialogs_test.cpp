// The message box, the colour picker and the keyboard, driven through their own frame loops.
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
    OpenDialog(300, 300, 200, 100);
    KYgui_button("mine", "Mine", 0, 0);
}

void ExpectCallerUntouched() {
    ASSERT_EQ(KYgui().dialogs.size(), 1u);
    EXPECT_EQ(KYgui_get("", "XPOS"), 300);
    EXPECT_EQ(KYgui().dialogs.back().widgets.size(), 1u);
    EXPECT_EQ(KYgui_get_str("mine", "TEXT"), "Mine");
}

} // namespace

TEST(StandardDialogs, MessageBoxOkAloneOrYesAndNo) {
    StartGui();
    CallerDialog();
    StartScript();
    ScriptRecord(2, Properties({{"", "TEXT"}, {"", "XPOS"}, {"", "WIDTH"}, {"bt_yes", "TEXT"}, {"bt_no", "HIDE"}}));
    ScriptClick(2, 234, 180); // OK (bt_yes) at (218, 170) 32 x 20
    EXPECT_EQ(KYgui_msg("Saved.", 0), 1);
    EXPECT_EQ(ScriptLog(), "Information,213,213,OK,1 \n");
    ExpectCallerUntouched();

    StartScript();
    ScriptClick(2, 264, 180); // No at (252, 170) 24 x 20
    EXPECT_EQ(KYgui_msg("Really?", 1), 0);
    StartScript();
    ScriptClick(2, 234, 180);
    EXPECT_EQ(KYgui_msg("Really?", 1), 1);
    StopScript();
    ExpectCallerUntouched();

    SetScreen(400, 300, 0);
    StartScript();
    ScriptRecord(2, Properties({{"", "XPOS"}, {"", "WIDTH"}}));
    ScriptClick(2, 147, 135); // OK at (131, 125)
    KYgui_msg("Narrow.", 0);
    EXPECT_EQ(ScriptLog(), "126,148 \n");
    StopScript();
    SetScreen(640, 480, 0);
    AllowEscapeKey(1);
}

TEST(StandardDialogs, ColourPickerMixesTowardsWhiteOrBlackAndCancelKeepsTheColour) {
    StartGui();
    CallerDialog();
    struct Case {
        bool right; // H dragged to its right end, else its left end
        int close;  // OK at (31, 215) 24 x 20, Cancel at (57, 215) 56 x 20
        int32_t result;
        const char* log;
    } cases[] = {{true, 43, 0xffffff, "1,0,0,0.5,50 \n100,255 16777215 00\n"},
                 {false, 43, 0, "1,0,0,0.5,50 \n0,0 0 00\n"},
                 {true, 85, 0x0000ff, "1,0,0,0.5,50 \n100,255 16777215 00\n"}};
    for (const Case& c : cases) {
        StartScript();
        ScriptRecord(
            1, Properties({{"sl_R", "TEXT"}, {"sl_G", "TEXT"}, {"sl_B", "TEXT"}, {"sl_H", "TEXT"}, {"tx_H", "TEXT"}}));
        ScriptMotion(2, c.right ? 122 : 23, 195); // H at (23, 187) 100 x 16
        ScriptButton(2, 1, true);
        ScriptButton(3, 1, false);
        // The preview shows the colour of the frame drawn before this ShowScreen.
        ScriptRecord(5, [] {
            return Properties({{"tx_H", "TEXT"}, {"tx_R", "TEXT"}})() + std::to_string(BackBufferPixel(26, 42)) + " " +
                   std::to_string(BackBufferPixel(15, 60)) +
                   std::to_string(BackBufferPixel(60, 31)); // the preview from (16, 32), in a black frame
        });
        ScriptClick(6, c.close, 225);
        EXPECT_EQ(KYgui_colordlg(0x0000ff), c.result) << c.close;
        EXPECT_EQ(ScriptLog(), c.log);
        StopScript();
        ExpectCallerUntouched();
    }
}

TEST(StandardDialogs, KeyboardTypesSwitchesLayoutsAndCancelReturnsTheGivenText) {
    StartGui();
    CallerDialog();
    StartScript();
    auto layoutAndText = [] {
        int commas = 0;
        for (const KYguiDrawOrder& e : KYgui().dialogs.back().draw_order) commas += e.id == "b,";
        return Properties({{"tab", "SELECT"}, {"tx_text", "TEXT"}})() + std::to_string(commas) +
               std::to_string(KYgui().keyboard_open);
    };
    ScriptRecord(1, layoutAndText);
    // The keys, 21 x 20: q at (5, 134), A (shifted) at (5, 158), Shift at (5, 182), x at (51, 182);
    // Backspace at (189, 182) 44 x 20; OK at (5, 231) 24 x 20, Cancel at (31, 231) 56 x 20.
    ScriptClick(2, 15, 192);
    ScriptRecord(6, layoutAndText);
    ScriptClick(6, 15, 168);
    ScriptRecord(10, layoutAndText);
    ScriptClick(10, 211, 192);
    ScriptRecord(14, layoutAndText);
    ScriptClick(14, 15, 144);
    ScriptClick(18, 17, 241);
    DebugCapture out;
    EXPECT_EQ(KYgui_keyboard_str("ab"), "qab");
    std::string debug = out.Take();
    EXPECT_EQ(ScriptLog(), "1,ab 11\n0,ab 11\n1,Aab 11\n1,ab 11\n");
    EXPECT_EQ(debug.rfind("refresh ", 0), 0u) << debug;
    EXPECT_EQ(KYgui().keyboard_open, 0);
    ExpectCallerUntouched();

    StartScript();
    ScriptClick(2, 61, 192);
    ScriptRecord(6, Property("tx_text", "TEXT"));
    ScriptClick(6, 59, 241);
    EXPECT_EQ(KYgui_keyboard_str("ab"), "ab");
    EXPECT_EQ(ScriptLog(), "xab \n");
    StopScript();
    ExpectCallerUntouched();
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
    struct Case {
        const char* dialog;
        std::vector<std::vector<int>> keys;
        std::string answer;
    } cases[] = {
        {"colour", {{kReturn}}, "4227327"}, // OK has the focus
        // Back to the brightness slider, to its end (white), and Enter there still means OK.
        {"colour", {{kShift, kTab}, {kCtrl, kShift, kTab}, {kEnd}, {kReturn}}, "16777215"},
        {"colour", {{kShift, kTab}, {kCtrl, kShift, kTab}, {kEnd}, {kEscape}}, "4227327"}, // Escape cancels
        {"message", {{kTab}, {kSpace}}, "0"},                                              // Yes has it; Tab to No
        {"message", {{kEscape}}, "0"},
        {"keyboard typed", {{4}, {kEscape}}, "Text"}, // an "a" typed, then cancelled
        // The layouts by the tab row: from the field to the tabs, one along, back to the field, round to
        // Cancel.
        {"keyboard abc", {{kCtrl, kShift, kTab}, {kSpace}}, "Text"},
        {"keyboard ABC", {{kCtrl, kTab}, {kLeft}, {kShift, kTab}, {kCtrl, kShift, kTab}, {kSpace}}, "Text"},
        {"keyboard accents", {{kCtrl, kTab}, {kRight}, {kShift, kTab}, {kCtrl, kShift, kTab}, {kSpace}}, "Text"},
        {"keyboard 123", {{kCtrl, kTab}, {kRight}, {kRight}, {kShift, kTab}, {kCtrl, kShift, kTab}, {kReturn}}, "Text"},
    };
    for (auto [width, height] : {std::pair(300, 500), {640, 480}})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.dialog) + " at " + std::to_string(width));
            SetScreen(width, height, 0);
            KYgui().dialogs.clear();
            OpenDialog(0, 0, 100, 100);
            StartScript();
            std::string fit;
            // Before the last key, in the layout it closes.
            ScriptAt(static_cast<int>(c.keys.size()) * 3 - 1, [&fit, width = width, height = height] {
                const KYguiDialog& d = KYgui().dialogs.back();
                fit = std::to_string(d.frame.scroll_range) + " " +
                      std::to_string(d.ypos + 24 + d.frame.height <= height) + " " +
                      std::to_string(d.xpos + d.frame.width <= width);
            });
            int frame = 3;
            for (const std::vector<int>& press : c.keys) {
                ScriptChord(frame, press);
                frame += 3;
            }
            std::string dialog = c.dialog, answer;
            if (dialog == "colour") answer = std::to_string(KYgui_colordlg(0x4080ff));
            if (dialog == "message")
                answer = RtString(KYgui_msg("A long message that takes several lines in the dialog to show all of "
                                            "its words, which must all be seen with the buttons below them.",
                                            1))
                             .c_str();
            if (dialog.starts_with("keyboard")) answer = KYgui_keyboard_str("Text").c_str();
            StopScript();
            EXPECT_EQ(fit, "0 1 1");
            EXPECT_EQ(answer, c.answer);
        }
    SetScreen(640, 480, 0);
    AllowEscapeKey(1);
}

// The message box, the colour picker and the keyboard, driven through their own frame loops.
#include "gui/kygui_state.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/gfx2d.h"
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

std::string Record(const char* id, const char* property) {
    return std::string(KYgui_get_str(id, property).c_str()) + " ";
}

} // namespace

TEST(StandardDialogs, MessageBoxOkAloneOrYesAndNo) {
    StartGui();
    CallerDialog();
    StartScript();
    ScriptRecord(2, [] {
        return Record("", "TEXT") + Record("", "XPOS") + Record("", "WIDTH") + Record("bt_yes", "TEXT") +
               Record("bt_no", "HIDE");
    });
    ScriptClickOn(2, "bt_yes");
    EXPECT_EQ(KYgui_msg("Saved.", 0), 1);
    EXPECT_EQ(ScriptLog(), "Information 213 213 OK 1 \n");
    ExpectCallerUntouched();

    StartScript();
    ScriptClickOn(2, "bt_no");
    EXPECT_EQ(KYgui_msg("Really?", 1), 0);
    StartScript();
    ScriptClickOn(2, "bt_yes");
    EXPECT_EQ(KYgui_msg("Really?", 1), 1);
    StopScript();
    ExpectCallerUntouched();

    SetScreen(400, 300, 0);
    StartScript();
    ScriptRecord(2, [] { return Record("", "XPOS") + Record("", "WIDTH"); });
    ScriptClickOn(2, "bt_yes");
    KYgui_msg("Narrow.", 0);
    EXPECT_EQ(ScriptLog(), "126 148 \n");
    StopScript();
    SetScreen(640, 480, 0);
}

TEST(StandardDialogs, ColourPickerMixesTowardsWhiteOrBlackAndCancelKeepsTheColour) {
    StartGui();
    int32_t fx, fy;
    FontGetSize(fx, fy);
    CallerDialog();
    struct Case {
        bool right; // H dragged to its right end, else its left end
        const char* close;
        int32_t result;
        const char* log;
    } cases[] = {{true, "bt_ok", 0xffffff, "1 0 0 0.5 50 \n100 255 16777215\n"},
                 {false, "bt_ok", 0, "1 0 0 0.5 50 \n0 0 0\n"},
                 {true, "bt_cancel", 0x0000ff, "1 0 0 0.5 50 \n100 255 16777215\n"}};
    for (const Case& c : cases) {
        StartScript();
        ScriptRecord(1, [] {
            return Record("sl_R", "TEXT") + Record("sl_G", "TEXT") + Record("sl_B", "TEXT") + Record("sl_H", "TEXT") +
                   Record("tx_H", "TEXT");
        });
        ScriptAt(2, [right = c.right] {
            Box h = Placed("sl_H");
            PushMouseMotion(right ? h.x + h.w - 1 : h.x, h.CentreY(), 0, 0);
            PushMouseButton(1, true);
        });
        ScriptButton(3, 1, false);
        // The preview shows the colour of the frame drawn before this ShowScreen.
        ScriptRecord(5, [fx, fy] {
            int32_t x = static_cast<int32_t>(KYgui_get("", "XPOS")) + 2 * fx + 10;
            int32_t y = static_cast<int32_t>(KYgui_get("", "YPOS")) + 2 * fy + 10;
            return Record("tx_H", "TEXT") + Record("tx_R", "TEXT") + std::to_string(BackBufferPixel(x, y));
        });
        ScriptClickOn(6, c.close);
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
        return Record("tab", "SELECT") + Record("tx_text", "TEXT") + std::to_string(commas) + " " +
               std::to_string(KYgui().keyboard_open);
    };
    ScriptRecord(1, layoutAndText);
    ScriptClickOn(2, "bShift");
    ScriptRecord(6, layoutAndText);
    ScriptClickOn(6, "bA");
    ScriptRecord(10, layoutAndText);
    ScriptClickOn(10, "b\b");
    ScriptRecord(14, layoutAndText);
    ScriptClickOn(14, "bq");
    ScriptClickOn(18, "btOK");
    DebugCapture out;
    EXPECT_EQ(KYgui_keyboard_str("ab"), "qab");
    std::string debug = out.Take();
    EXPECT_EQ(ScriptLog(), "1 ab 1 1\n0 ab 1 1\n1 Aab 1 1\n1 ab 1 1\n");
    EXPECT_EQ(debug.rfind("refresh ", 0), 0u) << debug;
    EXPECT_EQ(KYgui().keyboard_open, 0);
    ExpectCallerUntouched();

    StartScript();
    ScriptClickOn(2, "bx");
    ScriptRecord(6, [] { return Record("tx_text", "TEXT"); });
    ScriptClickOn(6, "btCancel");
    EXPECT_EQ(KYgui_keyboard_str("ab"), "ab");
    EXPECT_EQ(ScriptLog(), "xab \n");
    StopScript();
    ExpectCallerUntouched();
}

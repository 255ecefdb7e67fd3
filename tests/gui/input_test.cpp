// Input: clicks and their one-frame events, each kind's behaviour, captures, scroll bars, dragging
// and resizing dialogs, tabs, file fields, popping, links, the application hook and the keys.
#include "platform/paths.h"
#include "tests/gui/gui_test_support.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>

TEST(Input, ClicksNeedPressAndReleaseInsideAndLastOneFrame) {
    StartDialog(300, 200);
    KYgui_button("b", "Button", 80, 20);
    KYgui_checkbox("c", "Check", 0, 0); // b at (5, 5) 80 x 20, c at (87, 5) 64 x 22
    StartScript();
    ScriptClick(1, 5, 5); // the top left corner
    ScriptPress(4, 45, 15);
    ScriptMotion(5, 300, 300); // released outside: no click
    ScriptButton(5, SDL_BUTTON_LEFT, false);
    ScriptClick(7, 119, 16);
    ScriptClick(9, 119, 16);
    ScriptAt(11, [] { KYgui_set("c", "SELECT", "2"); }); // a written 2 unticks
    ScriptClick(11, 119, 16);
    EXPECT_EQ(Watch(12, Properties("b.CLICKED c.CLICKED c.SELECT")),
              "0,0,0 1,0,0 0,0,0 0,0,0 0,0,0 0,0,0 0,0,0 0,1,1 0,0,1 0,1,0 0,0,2 0,1,0 ");
}

TEST(Input, RadioListAndTabSelectByLineAndIgnoreTheSelectedOne) {
    StartDialog(400, 300);
    KYgui_radio("r", "a|b|c", 0); // at (5, 5)
    KYgui_spacer(10000, 0);
    KYgui_list("l", "a|b", 0, 64); // at (5, 57)
    KYgui_spacer(10000, 0);
    KYgui_tab("t", "One,x|Two,y"); // at (5, 129)
    KYgui_button("x", "X", 0, 0);
    KYgui_button("y", "Y", 0, 0);
    for (const char* id : {"r", "l"}) KYgui_set(id, "SELECT", "0");
    PointerTo(10, 57); // the list's top row is outside it
    EXPECT_EQ(KYgui_get("l", "HOVER"), -1);
    PointerTo(10, 125); // the row below the list (68 high) still hovers a line past its items
    EXPECT_EQ(Properties("r.HEIGHT t.SELECT x.HIDE y.HIDE l.HOVER")(), "48,0,0,1,4 ") << "tab 0 chosen at once";
    StartScript();
    ScriptClick(1, 10, 21);   // line 1
    ScriptClick(3, 10, 21);   // already selected
    ScriptClick(5, 10, 5);    // ly 0 is outside
    ScriptClick(7, 10, 95);   // the line after the last item
    ScriptClick(9, 10, 58);   // item 0
    ScriptClick(11, 37, 145); // the second tab at its first column, on its last line
    ScriptClick(13, 36, 130); // the first tab at its last column, on its first line
    ScriptClick(15, 105, 140); // right of the tabs
    // A program took an item away since the last frame: the click on the old last line takes the new one.
    ScriptClick(17, 10, 37);
    ScriptAt(18, [] { KYgui_set("r", "TEXT", "a|b"); });
    ScriptAt(17, [] { KYgui_set("", "FOCUS", "t"); }); // and the keys take the second tab again
    ScriptKey(17, SDL_SCANCODE_RIGHT);
    EXPECT_EQ(Watch(18, Properties("r.SELECT r.CLICKED l.SELECT l.CLICKED t.SELECT t.CLICKED")),
              "0,0,0,0,0,0 1,1,0,0,0,0 1,0,0,0,0,0 1,0,0,0,0,0 1,0,0,0,0,0 1,0,0,0,0,0 1,0,0,0,0,0 1,0,-1,1,0,0 "
              "1,0,-1,0,0,0 1,0,0,1,0,0 1,0,0,0,0,0 1,0,0,0,1,1 1,0,0,0,1,0 1,0,0,0,0,1 1,0,0,0,0,0 1,0,0,0,0,0 "
              "1,0,0,0,1,1 1,1,0,0,1,0 ");
    EXPECT_EQ(Properties("x.HIDE y.HIDE")(), "1,0 ");
}

TEST(Input, SlidersFollowADragOutsideAndKeepTheFocusForTheKeys) {
    StartDialog(400, 300);
    KYgui_slider("s", 0, 100, 16); // at (5, 5)
    KYgui_set("s", "STEP", "0"); // no steps: two decimals
    StartScript();
    ScriptDrag(1, {{55, 13}, {500, 250}, {5, 250}});
    EXPECT_EQ(Watch(4, Properties("s.TEXT .FOCUS s.CLICKED")), "0.49,s,1 1.00,s,1 0.00,s,1 0.00,s,0 ");
    KYgui_set("s", "MINVAL", "1");
    RunFrames(1);
    EXPECT_EQ(KYgui_get_str("s", "TEXT"), "0.00") << "no range, no change and no crash";
}

TEST(Input, ScrollBarsFollowWheelBoxesAndThumb) {
    StartDialog(400, 300);
    // At (5, 5), 80 x 132: eight of twenty lines show, the bar's column is x 73 to 84.
    KYgui_list("l", "0|1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17|18|19", 80, 128);
    StartScript();
    ScriptMotion(1, 5, 5); // over the list's first pixel: the wheel towards the user shows later ones
    ScriptWheel(2, -1);
    ScriptClick(3, 73, 121); // the down box's first row and the column's first pixel
    ScriptClick(5, 81, 7);   // up box
    ScriptPress(7, 81, 21); // thumb drag from the track's top, on past its bottom; the clicks selected nothing
    ScriptMotion(8, 81, 64);
    ScriptMotion(9, 81, 177);
    ScriptButton(10, SDL_BUTTON_LEFT, false);
    ScriptPress(11, 81, 121); // from the down box to the track's first row: a release there is no click
    ScriptMotion(12, 81, 21);
    ScriptButton(13, SDL_BUTTON_LEFT, false);
    ScriptClick(14, 10, 6); // the first line shown, left of the bar, and then above the bar: no scrolling
    ScriptClick(16, 81, 4);
    EXPECT_EQ(Watch(17, Properties("l.SCROLL .FOCUS l.SELECT")),
              "0,,0 1,,0 1,,0 2,,0 2,,0 1,,0 0,SBl,0 6,SBl,0 12,SBl,0 12,,0 12,,0 12,,0 12,,0 12,,0 12,,12 12,,12 "
              "12,,12 ");
    // In a dialog that scrolls too, the list under the pointer takes the wheel even at its end.
    KYgui_set("", "HEIGHT", "100");
    StartScript();
    ScriptMotion(1, 5, 5);
    ScriptWheel(2, -1);
    ScriptMotion(4, 0, 0); // the dialog's first pixel
    ScriptWheel(5, -1);
    EXPECT_EQ(Watch(6, [] { return Properties("l.SCROLL")() + std::to_string(KYgui().dialogs.back().frame.scroll); }),
              "12 012 012 012 012 112 1");
}

TEST(Input, TitleDragStopsAtTheScreenEdgeAndTheGripResizes) {
    StartGui();
    KYgui_pushdialog(50, 50, 200, 100);
    for (const char* property : {"MOVEABLE", "SCALEABLE"}) KYgui_set("", property, "1");
    StartScript();
    ScriptDrag(1, {{50, 50}, {30, 28}, {0, 0}}); // from the title's first pixel
    // The grip: the frame's lower right corner, below the 20-pixel title bar, from (180, 100) on; the
    // first step goes far past it, and the drag goes on.
    ScriptDrag(5, {{180, 100}, {260, 170}, {200, 130}});
    // The grip let go: a press just right of the title neither resizes nor moves, nor does one a
    // character height below the top of the title bar.
    ScriptDrag(9, {{220, 5}, {150, 90}});
    ScriptDrag(12, {{100, 16}, {150, 90}});
    std::string still;
    for (int frame = 7; frame <= 14; ++frame) still += "0,0,0,220,130 ";
    EXPECT_EQ(Watch(14, Properties(".XPOS .YPOS .MOVING .WIDTH .HEIGHT")),
              "50,50,1,200,100 30,28,1,200,100 0,0,1,200,100 0,0,0,200,100 0,0,0,200,100 0,0,0,280,170 " + still);
    // The grip's outer lines run from (199, 145) to (215, 129): hovered only from its own square.
    for (auto [x, y, colour] : {std::tuple(200, 130, kHoverNorm), {100, 137, kGrey}, {207, 60, kGrey}}) {
        PointerTo(x, y);
        KYshow(0);
        EXPECT_EQ(BackBufferPixel(207, 137), colour) << x << "," << y;
    }
}

TEST(Input, FileFieldsAskTheChooserAndACancelEmptiesThem) {
    StartDialog(400, 300);
    std::string dir = platform::TempDir() + "chooser", zenity = dir + "/zenity", oldPath = std::getenv("PATH");
    mkdir(dir.c_str(), 0700);
    setenv("PATH", (dir + ":" + oldPath).c_str(), 1);
    KYgui_file("f", "old/name.txt", "", 0, 0); // at (5, 5) 96 x 22
    for (const char* answer : {"echo /data/chosen.png", "exit 1"}) {
        std::ofstream(zenity) << "#!/bin/sh\n" << answer << "\n";
        chmod(zenity.c_str(), 0700);
        StartScript();
        ScriptClick(1, 53, 16);
        EXPECT_EQ(Watch(2, Properties("f.CLICKED f.TEXT f.FILTER")),
                  answer[1] == 'c' ? "0,old/name.txt,*.* 1,/data/chosen.png,*.* " : "0,/data/chosen.png,*.* 1,,*.* ");
    }
    setenv("PATH", oldPath.c_str(), 1);
}

TEST(Input, PoppingClearsTheFlagsBelowLinksCopyAfterTheFrameAndTheHookGetsLocalCoordinates) {
    StartDialog(300, 200);
    KYgui_button("b", "B", 0, 0);
    KYgui_slider("s", 0.5, 0, 0);
    KYgui_widget("t", "", 60, 0);
    KYgui_link("s", "TEXT", "t", "TEXT");
    KYgui_link("t", "TEXT", "u", "TEXT"); // sees the copy before it
    for (const char* flag : {"CLICKED", "HOVER"}) KYgui_set("b", flag, "1");
    KYgui_pushdialog(0, 0, 100, 100);
    KYgui_popdialog();
    EXPECT_EQ(Properties("b.CLICKED b.HOVER t.TEXT")(), "0,0, ");
    KYshow(0);
    EXPECT_EQ(Properties("t.TEXT u.TEXT")(), "0.5,0.5 ");
    ShowScreen();
    EXPECT_EQ(DebugText([] {
                  KYgui().dialogs.back().draw_order.pop_back();
                  KYshow(1); // reported, and the frame goes on
                  KYgui().dialogs.clear();
                  KYshow(0);
              }),
              "Draw order is messed up 3/4\nKYshow: No active dialog!\n");
    StartDialog(300, 200);
    KYgui_spacer(30, 10);
    KYgui_user("u", "GAUGE", 40, 40); // at (37, 5)
    static std::string calls;
    KYgui_sethook([](const RtString& id, int32_t x, int32_t y, int32_t event, int32_t button2) {
        calls += std::string(id.c_str()) + ":" + std::to_string(x) + "," + std::to_string(y) + "," +
                 std::to_string(event) + "," + std::to_string(button2) + " ";
    });
    KYgui().dialogs.back().defaultButton = "u"; // Enter then works it as a click's release at (1, 1)
    StartScript();
    ScriptClick(1, 40, 9);
    ScriptKey(3, SDL_SCANCODE_RETURN);
    Watch(3, [] { return ""; });
    EXPECT_EQ(calls, "u:3,4,-1,0 u:3,4,1,0 u:1,1,1,0 ");
    KYgui_sethook(nullptr);
    EXPECT_EXIT(KYshow(0), testing::ExitedWithCode(1), "");
}

// The keys alone: SDL scan codes, one press a frame (modifiers held with it), from a dialog without
// focus; then the focus and the values a player would see.
TEST(Input, KeysMoveTheFocusRingAndWorkTheFocusedWidget) {
    StartGui();
    constexpr int kTab = SDL_SCANCODE_TAB, kShift = SDL_SCANCODE_LSHIFT, kCtrl = SDL_SCANCODE_LCTRL;
    constexpr int kDown = SDL_SCANCODE_DOWN, kSpace = SDL_SCANCODE_SPACE, kEnter = SDL_SCANCODE_RETURN;
    // The chords, then clicks of b, FOCUS, c SELECT, r SELECT, l SELECT and SCROLL, s TEXT, t TEXT.
    for (const auto& [keys, seen] : std::initializer_list<std::pair<std::vector<std::vector<int>>, const char*>>{
        {{{kTab}}, "0 b,0,5,-1,0,0.5, "},
        {{{kTab}, {kEnter}, {kSpace}}, "2 b,0,5,-1,0,0.5, "},
        {{{kTab}, {kTab}, {kSpace}}, "0 c,1,5,-1,0,0.5, "},
        {{{kTab}, {kTab}, {kTab}, {kDown}, {kDown}, {kDown}}, "0 r,0,2,-1,0,0.5, "}, // from beyond the items
        {{{kTab}, {kTab}, {kTab}, {SDL_SCANCODE_UP}}, "0 r,0,1,-1,0,0.5, "},
        {{{kSpace}, {kTab}, {kTab}, {kTab}, {kSpace}}, "0 r,0,5,-1,0,0.5, "}, // Space clicks no radio group
        // Backwards from nothing to the text field, which only Ctrl+Shift+Tab leaves.
        {{{kShift, kTab}, {kCtrl, kShift, kTab}, {kShift, kTab}, {SDL_SCANCODE_END}, {SDL_SCANCODE_PAGEUP}},
         "0 l,0,5,6,6,0.5, "},
        {{{kShift, kTab}, {kCtrl, kShift, kTab}, {kShift, kTab}, {kDown}, {kDown}, {kDown}, {kDown}},
         "0 l,0,5,3,1,0.5, "},
        {{{kShift, kTab}, {kCtrl, kShift, kTab}, {SDL_SCANCODE_HOME}, {SDL_SCANCODE_PAGEDOWN}, {SDL_SCANCODE_LEFT}},
         "0 s,0,5,-1,0,0.09, "},
        {{{kShift, kTab}, {kTab}, {SDL_SCANCODE_A}}, "0 t,0,5,-1,0,0.5,\ta "},
        {{{kShift, kTab}, {kCtrl, kTab}, {kSpace}}, "1 b,0,5,-1,0,0.5, "}}) {
        KYgui().dialogs.clear();
        KYgui_pushdialog(0, 0, 400, 400);
        KYgui_button("b", "B", 0, 0);
        KYgui_checkbox("c", "C", 0, 0);
        KYgui_spacer(10000, 0);
        KYgui_radio("r", "x|y|z", 0);
        KYgui_set("r", "SELECT", "5");
        KYgui_list("l", "0|1|2|3|4|5|6|7|8|9", 0, 48);
        KYgui_set("l", "SELECT", "-1");
        KYgui_slider("s", 0.5, 100, 16);
        KYgui_set("s", "STEP", "0");
        KYgui_text("t", "", 100, 32);
        KYgui_button("h", "H", 0, 0); // hidden: out of the ring
        KYgui_hide("h", 1);
        StartScript();
        for (size_t i = 0; i < keys.size(); ++i) ScriptChord(1 + 2 * static_cast<int>(i), keys[i]);
        std::string clicks = Watch(1 + 2 * static_cast<int>(keys.size()), Properties("b.CLICKED"));
        EXPECT_EQ(std::to_string(std::count(clicks.begin(), clicks.end(), '1')) + " " +
                      Properties(".FOCUS c.SELECT r.SELECT l.SELECT l.SCROLL s.TEXT t.TEXT")(),
                  seen);
    }
}

// Text fields: typing, deleting and selecting by keys and INKEY, the repeat gate, read-only fields,
// clamped selections, lines up and down while scrolled, the selection and cursor in pixels, and a tap
// on a touch screen.
#include "tests/gui/gui_test_support.h"

namespace {

// A focused field at (5, 5), 200 x 60.
void Field(const char* text, int selstart, int selend, int readonly = 0) {
    KYgui().dialogs.clear();
    KYgui_pushdialog(0, 0, 300, 200);
    KYgui_text("t", text, 200, 60);
    for (auto [property, value] : {std::pair("SELSTART", selstart), {"SELEND", selend}, {"READONLY", readonly}})
        KYgui_set("t", property, RtString(value));
    KYgui_set("", "FOCUS", "t");
}

const auto State = Properties("t.TEXT t.SELSTART t.SELEND");

} // namespace

TEST(TextField, EditingCasesAndATapOnATouchScreenOpensTheKeyboardUnlessReadOnly) {
    StartGui();
    // The selection, read-only, a text typed through INKEY or else a key, and the field after it.
    for (auto [selstart, selend, readonly, inkey, key, after] :
         {std::tuple(2, 2, 0, "x", 0, "abxcd,3,3 "), {0, 0, 0, nullptr, SDL_SCANCODE_BACKSPACE, "abcd,0,0 "},
          {2, 2, 0, nullptr, SDL_SCANCODE_BACKSPACE, "acd,1,1 "},
          {4, 4, 0, nullptr, SDL_SCANCODE_DELETE, "abcd,4,4 "}, {1, 1, 0, nullptr, SDL_SCANCODE_DELETE, "acd,1,1 "},
          {1, 3, 0, "x", 0, "axd,2,2 "}, {1, 3, 0, nullptr, SDL_SCANCODE_BACKSPACE, "ad,1,1 "},
          {3, 1, 0, nullptr, SDL_SCANCODE_DELETE, "ad,1,1 "}, {1, 1, 0, "xyz", 0, "axyzbcd,4,4 "},
          {99, -5, 0, "x", 0, "x,1,1 "}, {1, 1, 0, nullptr, SDL_SCANCODE_TAB, "a\tbcd,2,2 "},
          {1, 1, 1, "x", 0, "abcd,1,1 "}, {1, 1, 1, nullptr, SDL_SCANCODE_BACKSPACE, "abcd,1,1 "},
          {1, 1, 1, nullptr, SDL_SCANCODE_RIGHT, "abcd,2,2 "}, {1, 3, 0, nullptr, SDL_SCANCODE_LEFT, "abcd,0,0 "}}) {
        Field("abcd", selstart, selend, readonly);
        StartScript();
        inkey ? KYgui_set("", "INKEY", inkey) : ScriptKey(1, key);
        Watch(2, [] { return ""; });
        EXPECT_EQ(State(), after) << selstart << "," << selend << " " << key;
    }
    Field("abcd", 1, 1); // Shift types a capital and selects nothing
    StartScript();
    ScriptChord(1, {SDL_SCANCODE_LSHIFT, SDL_SCANCODE_A});
    EXPECT_EQ(Watch(1, State), "aAbcd,2,2 ");
    for (int readonly : {0, 1}) {
        Field("ab", 0, 0, readonly);
        KYgui().touch = 1;
        StartScript();
        ScriptClick(1, 5, 5); // the field's first pixel
        ScriptRecord(3, [] { return std::to_string(KYgui().dialogs.size()) + std::to_string(KYgui().keyboard_open); });
        ScriptClick(4, 61, 192); // the keyboard's x and OK, when it opened
        ScriptClick(8, 17, 241);
        Watch(3, [] { return ""; });
        EXPECT_EQ(ScriptLog(), readonly ? "10\n" : "21\n");
        EXPECT_EQ(KYgui_get_str("t", "TEXT"), readonly ? "ab" : "xab");
    }
}

TEST(TextField, ShiftSelectsHeldKeysRepeatEvery100MsAndLinesFollowTheCursor) {
    StartGui();
    Field("abcdef", 1, 1);
    StartScript();
    ScriptKey(1, SDL_SCANCODE_LSHIFT, 4);
    ScriptKey(1, SDL_SCANCODE_RIGHT);
    ScriptAt(3, [] { KYgui().last_key_time = 0; });
    ScriptKey(3, SDL_SCANCODE_RIGHT);
    ScriptAt(6, [] { KYgui().last_key_time = 0; });
    ScriptKey(6, SDL_SCANCODE_LEFT);
    EXPECT_EQ(Watch(7, State),
              "abcdef,1,2 abcdef,1,2 abcdef,1,3 abcdef,1,3 abcdef,1,3 abcdef,0,0 abcdef,0,0 ");

    Field("abcdef", 1, 1);
    StartScript();
    ScriptKey(1, SDL_SCANCODE_RIGHT, 4);
    // The gate's clock is set instead of waited on, however slow the frames: it opens before frame 4 only.
    for (int frame : {2, 5}) ScriptAt(frame, [] { KYgui().last_key_time = 1e12; });
    ScriptAt(4, [] { KYgui().last_key_time = 0; });
    EXPECT_EQ(Watch(5, Properties("t.SELEND")), "2 2 2 3 3 ");

    // Up and down follow the drawn cursor when the field is scrolled.
    Field("1\n2\n3\n4\n5\n6\n7\n8", 6, 6); // the cursor on line 4 ("4")
    KYgui_set("t", "HEIGHT", "48");        // three lines
    KYgui_set("t", "SCROLL", "3");
    RunFrames(1);
    StartScript();
    for (int frame = 1; frame < 12; frame += 2) {
        ScriptAt(frame, [] { KYgui().last_key_time = 0; }); // the repeat gate open
        ScriptKey(frame, frame < 7 ? SDL_SCANCODE_DOWN : SDL_SCANCODE_UP);
    }
    // The lines shown follow the cursor as soon as it leaves them, at the bottom and at the top.
    EXPECT_EQ(Watch(12, Properties("t.SELEND t.SCROLL")), "8,3 8,3 10,3 10,3 12,4 12,4 10,4 10,4 8,4 8,4 6,3 6,3 ");
}

TEST(TextField, SelectionTintAndCursorBarInPixelsAndAPressPlacesTheCursorAndADragSelects) {
    StartGui();
    Field("      ", 1, 3); // the text starts half a cell into the field at (5, 5): x 9
    KYshow(0);
    // Before the selection, selected, the cursor bar, after.
    for (auto [x, level] : {std::pair(11, 255), {19, 179}, {33, 128}, {43, 255}})
        EXPECT_NEAR(int(BackBufferPixel(x, 13) & 255), level, 4) << x;
    ShowScreen();
    KYgui_set("", "FOCUS", "");
    KYshow(0);
    EXPECT_EQ(KYgui_get("t", "SELSTART"), -1) << "drawn without focus";
    EXPECT_EQ(BackBufferPixel(19, 13) & 255, 255u);
    ShowScreen();
    KYgui_set("t", "READONLY", "1"); // grey up to the outline at (204, 64)
    KYshow(0);
    ExpectPixels({{203, 63, kGrey}});
    Field("abcdefgh", 0, 0);
    KYgui_set("", "FOCUS", "");
    StartScript();
    ScriptDrag(1, {{22, 7}, {46, 7}}); // from 17 pixels in: past half of "b"
    // The hit-test takes a character once the point is past half of the one before it.
    EXPECT_EQ(Watch(3, Properties(".FOCUS t.SELSTART t.SELEND")), "t,1,1 t,1,4 t,1,4 ");
}

// Keys pressed and released between two frames all type, in order; typing on past the last visible
// line scrolls the field so that the cursor's line shows.
TEST(TextField, AFrameOfKeysTypesInOrderAndTheCursorStaysInView) {
    StartGui();
    Field("", 0, 0); // 60 pixels high
    StartScript();
    ScriptAt(1, [] {
        for (int code : {SDL_SCANCODE_A, SDL_SCANCODE_B, SDL_SCANCODE_C, SDL_SCANCODE_RETURN, SDL_SCANCODE_D}) {
            PushKey(code, true);
            PushKey(code, false);
        }
    });
    for (int frame = 3; frame < 23; frame += 2) ScriptKey(frame, SDL_SCANCODE_RETURN);
    Watch(24, [] { return ""; });
    EXPECT_EQ(State(), "abc\nd\n\n\n\n\n\n\n\n\n\n,15,15 ");
    int32_t y = KYgui().dialogs.back().widgets[0].cursor_y; // in the field, scrolled
    EXPECT_TRUE(y > 0 && y < 60) << y;
}

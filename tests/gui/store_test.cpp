// The widget store and the properties: ids, sizes, dialog places, messages, items.
#include "tests/gui/gui_test_support.h"
#include "tests/support/fatal_error.h"

// Each widget's size and properties as a program reads them back, by kind and through KYgui_set.
TEST(Store, AutomaticIdsSizesAndConversions) {
    StartDialog(300, 200);
    SpriteGrab(7, 0, 0, 10, 6); // sizes only: the pixels do not matter
    SpriteGrab(8, 0, 0, 4, 12);
    KYgui_widget("", "hello", 0, 0);
    KYgui_spacer(10, 0);
    KYgui_list("empty", "", 0, 0);
    KYgui_list("two", "a|bbb", 0, 50);
    KYgui_button("colour", "SPR_C255", 0, 0);
    KYgui_button("go", "Go", 0, 0);
    KYgui_button("seven", "SPR_B7", 0, 0);
    // An unknown id makes a plain widget.
    for (auto [property, value] : {std::pair("TEXT", "by set"), {"WIDTH", "12.9"}, {"MAXVAL", "2.5"}})
        KYgui_set("made", property, value);
    // A row of sprite buttons shares the largest width and height.
    RtArray<RtString> ids;
    RtArray<double> sprites;
    for (const char* id : {"s7", "s8", "unused"}) DimPush(ids, id);
    for (double sprite : {7, 8}) DimPush(sprites, sprite);
    KYgui_spritebuttons(ids, sprites);
    EXPECT_EQ(Properties("ID_STATIC_1.WIDTH ID_STATIC_1.HEIGHT ID_SPACER_1.HEIGHT empty.SELECT empty.COUNT two.WIDTH "
                         "two.HEIGHT two.COUNT colour.WIDTH colour.HEIGHT go.WIDTH go.HEIGHT seven.WIDTH seven.HEIGHT "
                         "made.TYPE made.TEXT made.WIDTH made.HEIGHT made.MAXVAL made.STEP s8.TEXT s7.WIDTH s7.HEIGHT "
                         "unused.TEXT")(),
              "48,22,0,-1,0,48,52,2,32,32,24,20,14,10,WIDGET,by set,12,0,2.5,0.01,SPR_B8,10,12, ");
    // Re-creating resets the kind, keeps the rest.
    KYgui_set("two", "SELECT", "1");
    KYgui_widget("two", "plain", 0, 0);
    EXPECT_EQ(KYgui_get_str("two", "TYPE") + KYgui_get_str("two", "SELECT"), "WIDGET1");
}

TEST(Store, FailuresSayWhatWentWrongAndCreateNothingAndDialogsStayOnTheScreen) {
    StartGui();
    for (auto [call, message] : std::initializer_list<std::pair<void (*)(), const char*>>{
             {[] { EXPECT_EQ(KYgui_get_str("x", "TEXT"), ""); }, "KYgui_get$: No active dialog!\n"},
             {[] { EXPECT_EQ(KYgui_get("x", "TEXT"), 0); }, "KYgui_get: No active dialog!\n"},
             {[] { KYgui_pushdialog(0, 0, 100, 100); }, ""},
             {[] { EXPECT_EQ(KYgui_get_str("x", "TEXT"), ""); }, "KYgui_get$: Widget not found x\n"},
             {[] { EXPECT_EQ(KYgui_get("x", "SELECT"), 0); }, "KYgui_get: Widget not found x\n"},
             {[] { KYgui_set("y", "COLOUR", "1"); }, "KYgui_set: Widget property COLOUR is unknown\n"},
             {[] { EXPECT_EQ(KYgui_get_str("y", "COLOUR"), "0"); }, "KYgui_get$: Widget property COLOUR is unknown\n"},
             {[] { EXPECT_EQ(KYgui_get("y", "COLOUR"), 0); }, "KYgui_get$: Widget property COLOUR is unknown\n"},
             {[] { KYgui_set("", "COLOUR", "1"); }, "KYgui_set dialog (\"\") property: COLOUR is unknown\n"}}) {
        EXPECT_EQ(DebugText(call), message);
    }
    EXPECT_EQ(KYgui().dialogs.back().widgets.size(), 1u) << "only y, which KYgui_set made";
    KYgui().dialogs.clear();
    EXPECT_RUNTIME_ERROR(KYgui_button("b", "B", 0, 0), 9, "array index outside the array");
    KYgui_pushdialog(600, 10, 200, 100);
    EXPECT_EQ(Properties(".XPOS .WIDTH .COL_NORM")(), "600,40,12632256 ");
    KYgui_pushdialog(700, 500, 50, 50); // never of negative size
    EXPECT_EQ(Properties(".WIDTH .HEIGHT .XPOS .YPOS .MOVING .NOSUCH")(), "0,0,639,479,0, ");
    KYgui_resizedialog(1, 2, 0, 50); // without a whole size the dialog stays
    KYgui_resizedialog(1, 2, 50, 0);
    std::string kept = Properties(".XPOS .WIDTH")();
    KYgui_resizedialog(7, 8, 1000, 40);
    EXPECT_EQ(kept + Properties(".XPOS .YPOS .WIDTH .HEIGHT")(), "639,0 7,8,640,40 ");
    std::string out = DebugText([] {
        KYgui_set("", "MOVING", "1");
        KYgui_DebugHelpers(); // the character tables, a line for each character
    });
    EXPECT_EQ(out.substr(0, 89),
              "KYgui_set dialog (\"\") property: MOVING is unknown\nKYgui character tables, proportional=0\n");
    EXPECT_TRUE(out.ends_with("\n255: kern_offset=0 char_width=8\n")) << out.substr(out.size() - 60);
}

TEST(Store, ItemsKeepTheirSelectionAndBadIndexesChangeNothing) {
    StartDialog(300, 200);
    KYgui_list("l", "a|b|c", 0, 0);
    KYgui_set("l", "SELECT", "1");
    // Each change, then the list's items, selection and count, and the selected item.
    for (auto [change, after] : std::initializer_list<std::pair<void (*)(), const char*>>{
             {[] { KYgui_insertitem("l", "x", 0); }, "x|a|b|c,2,4 b"},
             {[] { KYgui_insertitem("l", "", 99); }, "x|a|b|c|<null>,2,5 b"},
             {[] { KYgui_deleteitem("l", 0); }, "a|b|c|<null>,1,4 b"},
             {[] { KYgui_deleteitem("l", 9); }, "a|b|c|<null>,1,4 b"},
             {[] { KYgui_insertitem("l", "y", 2); }, "a|b|y|c|<null>,1,5 b"},
             {[] { KYgui_deleteitem("l", -1); }, ",-1,0 "}, // nothing selected is no item
             {[] { KYgui_deleteitem("l", 0); }, ",-1,0 "},
             {[] { KYgui_insertitem("l", "p", -1); }, "p,-1,1 "},
             {[] { KYgui_insertitem("l", "q", -1); }, "p|q,-1,2 "},
             {[] { KYgui_set("l", "SELECT", "0"); }, "p|q,0,2 p"}}) {
        change();
        EXPECT_EQ(Properties("l.TEXT l.SELECT l.COUNT")() + KYgui_getitem_str("l", -1).c_str(), after);
    }
    EXPECT_EQ(KYgui_getitem_str("l", 1) + "," + KYgui_getitem_str("l", 2), "q,");
}

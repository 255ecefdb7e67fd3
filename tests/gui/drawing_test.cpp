// Drawing in pixels: frame and faces on both shading paths, hover colours, tooltips, the flow layout
// and clipping, the title bar, scrolling and dimming, and the character tables.
#include "gui/text_metrics.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "tests/gui/gui_test_support.h"

// Places are fixed: the dialog's content starts 5 pixels in, at (15, 15), with the button; the file
// field at (57, 15) and the ticked check box at (155, 15) are never under the pointer. Smooth shading,
// when not set, asks the GL whether it has glDrawRangeElements. A title, even of one letter, brings a
// title bar.
TEST(Drawing, FrameLinesLeaveCornersFacesShadeBrightOverNormAndTitleBarsShowWhenAsked) {
    StartGui();
    for (int smooth : {0, -1}) {
        KYgui().smoothShading = smooth;
        KYgui().dialogs.clear();
        KYgui_pushdialog(10, 10, 200, 100);
        KYgui_button("b", "", 40, 30);
        KYgui_file("f", "", "", 0, 0);
        KYgui_checkbox("c", "", 0, 0);
        KYgui_set("c", "SELECT", "1");
        for (auto [pointerX, bright, norm] : {std::tuple(639, kWhite, kGrey), {35, kHoverBright, kHoverNorm}}) {
            PointerTo(pointerX, 30);
            ClearScreen();
            KYshow(0);
            ExpectPixels({{16, 15, norm}, {20, 21, bright}, {147, 20, kWhite}, {163, 21, kHoverBright}});
            ShowScreen();
        }
    }
    // The title's band, and the frame's cut corner below it.
    KYgui_set("", "TEXT", "T");
    ClearScreen();
    KYshow(0);
    ExpectPixels({{11, 10, kWhite}, {10, 30, 0}});
}

// Widgets at known places: one (5, 49) and two (5, 113), 100 x 20; the list l (5, 177).
TEST(Drawing, TooltipsWaitForTheRestingPointerAndSizeToTheirLines) {
    StartDialog(300, 200);
    KYgui_spacer(10000, 40);
    KYgui_button("one", "", 100, 20);
    KYgui_spacer(10000, 40);
    KYgui_button("two", "", 100, 20);
    KYgui_spacer(10000, 40);
    KYgui_list("l", "a|b", 100, 0);
    for (auto [id, tip] : {std::pair("one", "a"), {"two", "a\nb"}, {"l", "a"}}) KYgui_set(id, "TIPTEXT", tip);
    // The pointer, the widget's top, and the tooltip's outline along the row just above the widget; a
    // list's HOVER is -1 away from it: no tooltip. A hovered list line stops a pixel short of the next.
    for (auto [x, y, top, rested, atEdge, atCentre] :
         {std::tuple(55, 59, 49, false, false, false), {55, 59, 49, true, true, true},
          {55, 123, 113, true, false, true}, {55, 187, 177, true, true, true}, {639, 479, 177, true, false, false}}) {
        PointerTo(x, y);
        KYgui().restTime = ReadClockMs() - (rested ? 600 : 0);
        KYshow(0);
        SCOPED_TRACE(y);
        ExpectPixels({{5, top - 1, kGrey, atEdge}, {55, top - 1, kGrey, atCentre}, {55, 192, kWhite}});
        ShowScreen();
    }
}

TEST(Drawing, RowsBreakAtTheEdgeWidgetsAreClippedNotShrunkAndWordsWrapAfterTheirBlank) {
    StartDialog(200, 100); // content 190 x 90 from (5, 5)
    KYgui_button("tall", "SPR_C255", 20, 30);
    KYgui_button("thin", "SPR_C255", 20, 10);  // (27, 5), no pixel wide
    KYgui_set("thin", "WIDTH", "0");
    KYgui_button("flat", "SPR_C255", 166, 10); // (29, 5) to the right edge, no pixel high
    KYgui_set("flat", "HEIGHT", "0");
    KYgui_spacer(10000, 0);
    KYgui_button("next", "SPR_C65280", 20, 10);     // (5, 39)
    KYgui_button("wide", "SPR_C16711680", 210, 10); // (5, 51)
    KYgui_button("low", "SPR_C65535", 20, 80);      // (5, 63)
    KYgui_spacer(10000, 0);
    KYgui_button("below", "SPR_C16776960", 20, 10); // (5, 147), outside
    KYshow(0);
    ExpectPixels({{8, 8, 0x0000ff}, {23, 20, 0x0000ff}, {10, 33, 0x0000ff}, {5, 5, 0x0000ff, false}, {8, 40, 0x00ff00},
                  {8, 37, 0x00ff00, false}, {27, 9, kWhite}, {36, 5, kWhite}, // nothing of thin and flat
                  {190, 54, 0xff0000}, {196, 54, 0xff0000, false},              // clipped at the area's right edge
                  {8, 94, 0x00ffff}, {8, 96, 0x00ffff, false}});                // clipped at the bottom
    // A word goes to the next line when it would pass the edge counted from after the blank before it
    // (a space or a tab): "aa bb" in fixed cells takes five of them.
    for (auto [text, width, height] :
         {std::tuple("aa bb", 40, 16), {"aa bb", 32, 32}, {"a\tbb", 32, 16}, {"a\tbb", 31, 32}, {"aa\nbb", 100, 32}}) {
        KYgui_widget("w", text, width, 0);
        RunFrames(1);
        EXPECT_EQ(KYgui_get("w", "HEIGHT"), height) << text << " in " << width;
    }
}

// Lines of 16 pixels: the radio group at (5, 5) selected on line 1 and hovered on line 0, the list at
// (5, 57) selected on line 1, its line 0 written too; the selected radio item has a black mark in its
// diamond.
TEST(Drawing, RadioAndListLinesShowHoverAndSelection) {
    StartDialog(300, 200);
    KYgui_radio("r", "a|b|c", 100);
    KYgui_spacer(10000, 0);
    KYgui_list("l", "a|b|c", 100, 48);
    for (const char* id : {"r", "l"}) KYgui_set(id, "SELECT", "1");
    PointerTo(60, 13);
    KYshow(0);
    ExpectPixels({{60, 20, kHoverBright}, {60, 21, kWhite}, {60, 22, kHoverBright}, {60, 37, kWhite}, {60, 38, kWhite},
                  {13, 29, 0}, {60, 72, kWhite}, {60, 73, kHoverBright}, {60, 62, kWhite}, {10, 63, kWhite, false}});
}

// A list three lines high at (5, 5), 80 x 48, scrolled 4 of its 7 steps: no boxes, a thumb of 48 / 8 = 6
// pixels at 48 * 4 / 8 = 24 down the column from x 73; a click on the column's upper half steps back,
// from its middle row on forward. Beside it at (87, 5) a list 80 x 68 scrolled to its end, 6 steps,
// whose boxes from (155, 5) and (155, 56) hold arrows with their bases on rows 17 and 60; its thumb of
// 36 / 7 = 5 pixels starts 36 * 6 / 7 down its track, on row 51.
TEST(Drawing, ListThumbsStandWhereTheyScrolledArrowsFillTheirBoxesAndAShortBarStepsByHalves) {
    StartDialog(300, 200);
    KYgui_list("l", "0|1|2|3|4|5|6|7|8|9", 80, 32);
    KYgui_list("m", "0|1|2|3|4|5|6|7|8|9", 80, 64);
    for (auto [id, property, value] : {std::tuple("l", "HEIGHT", "48"), {"l", "SCROLL", "4"}, {"m", "SCROLL", "6"}})
        KYgui_set(id, property, value);
    RunFrames(1);
    KYshow(0);
    for (auto [x, y, thumb] : {std::tuple(78, 30, true), {78, 28, false}, {78, 33, false}, {161, 51, true}})
        EXPECT_EQ(BackBufferPixel(x, y) == kHoverBright, thumb) << x << "," << y;
    for (int y : {61, 17}) EXPECT_TRUE(PixelNear(BackBufferPixel(161, y), kHoverNorm, 40)) << y;
    StartScript();
    ScriptClick(1, 80, 8);
    ScriptClick(3, 80, 29);
    EXPECT_EQ(Watch(4, Properties("l.SCROLL")), "4 3 3 4 ");
    KYgui_set("m", "SCROLL", "0");
    KYshow(0);
    EXPECT_FALSE(PixelNear(BackBufferPixel(161, 17), kHoverNorm, 40)) << "no up arrow at the top";
}

TEST(Drawing, CharacterTablesFixedOrMeasured) {
    StartGui();
    SpriteGrab(0, 0, 0, 3, 2);
    SetColourKey(0x123456);
    KYgui_font_kerning(1);
    EXPECT_EQ(std::pair(Gfx2d().spriteColourKey, Gfx2d().fontColourKey), std::pair(0x123456, 0x123456)) << "restored";
    // Sprite 0 kept, the measuring slots freed.
    for (auto [id, width] : {std::pair(0, 3), {1, 0}, {2, 0}}) EXPECT_EQ(Gfx2d().sprites[id].width, width) << id;
    // Slot 4000 is the last one probed; with one free slot among the first 4000 the cells stay fixed
    // rather than measuring in slot 0.
    for (int32_t id = 2; id < 4000; ++id) Gfx2d().sprites[id].width = 1;
    KYgui_font_kerning(1);
    EXPECT_EQ(KYgui().proportional, 1);
    Gfx2d().sprites[4000].width = 1;
    KYgui_font_kerning(1);
    for (int32_t id = 2; id <= 4000; ++id) Gfx2d().sprites[id].width = 0;
    EXPECT_EQ(MeasureText("abc"), 24);
    SpriteLoad("", 0);
    SetColourKey(0);
    Gfx2d().spriteColourKey = 0x8000ff;
}

// Eight rows of 24 pixels (a button, then the empty row of a spacer) in a 90-pixel area: 102 more
// than it shows, three steps of two 16-pixel lines.
TEST(Drawing, TheDialogScrollsByTwoLinesAndShowsItsTopAgainWhenInactive) {
    StartDialog(200, 100);
    for (int i = 0; i < 8; ++i) {
        KYgui_button("b" + RtString(i), i == 0 ? "SPR_C255" : "SPR_C65280", 20, 20);
        KYgui_spacer(10000, 0);
    }
    RunFrames(2);
    KYguiDialog& d = KYgui().dialogs.back();
    EXPECT_EQ(d.frame.scroll_range, 3);
    PushMouseMotion(50, 50, 0, 0); // anywhere over the dialog
    PushMouseWheel(-1);
    ShowScreen();
    KYshow(0); // the widgets had the first claim on the wheel; the dialog shows its step next frame
    EXPECT_EQ(d.frame.scroll, 1);
    ShowScreen();
    KYshow(0);
    EXPECT_EQ(BackBufferPixel(8, 8), kWhite) << "the first rows scrolled away, not drawn above the area";
    EXPECT_EQ(BackBufferPixel(8, 25), 0x00ff00u) << "the third row 32 pixels up";
    ShowScreen();
    KYgui_pushdialog(300, 300, 100, 100);
    KYshow(0);
    EXPECT_TRUE(PixelNear(BackBufferPixel(8, 8), 0x00007f, 3)) << "dimmed to about half, not scrolled";
}

// Drawing in pixels: frame and faces on both shading paths, hover colours, dimming, tooltips, the
// flow layout and clipping, the title bar, and the character tables.
#include "gui/kygui_state.h"
#include "gui/text_metrics.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "tests/gui/gui_test_support.h"
#include "tests/support/headless.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t kWhite = 0xffffff, kGrey = 0xc0c0c0, kHoverBright = 0xfff0a0, kHoverNorm = 0xff9040;

// Each channel within tolerance.
bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int((a >> shift) & 255) - int((b >> shift) & 255)) > tolerance) return false;
    return true;
}

void PointerTo(int x, int y) {
    PushMouseMotion(x, y, 0, 0);
    RunFrames(1);
}

} // namespace

TEST(Drawing, FrameLinesLeaveCornersAndFacesShadeBrightOverNorm) {
    StartGui();
    for (int smooth : {0, 1}) {
        KYgui().smoothShading = smooth;
        KYgui().dialogs.clear();
        OpenDialog(10, 10, 200, 100);
        KYgui_button("b", "", 40, 30);
        Box b = Placed("b");
        ClearScreen();
        KYshow(0);
        EXPECT_EQ(BackBufferPixel(11, 10), kGrey);
        EXPECT_EQ(BackBufferPixel(10, 10), 0u) << "corner";
        EXPECT_EQ(BackBufferPixel(11, 11), 0u) << "inner corner";
        EXPECT_EQ(BackBufferPixel(12, 11), kGrey);
        EXPECT_EQ(BackBufferPixel(20, 50), kWhite);
        EXPECT_EQ(BackBufferPixel(b.x + 5, b.y + 2), kWhite) << smooth;
        EXPECT_TRUE(Near(BackBufferPixel(b.x + 5, b.y + b.h - 3), kGrey, 24)) << smooth;
        EXPECT_EQ(BackBufferPixel(b.x + 1, b.y), kGrey) << "outline";
        ShowScreen();
        PointerTo(b.CentreX(), b.CentreY());
        KYshow(0);
        EXPECT_EQ(BackBufferPixel(b.x + 5, b.y + 2), kHoverBright) << smooth;
        EXPECT_TRUE(Near(BackBufferPixel(b.x + 5, b.y + b.h - 3), kHoverNorm, 24)) << smooth;
        ShowScreen();
        PointerTo(639, 479);
    }
}

TEST(Drawing, DialogsBelowTheActiveOneAreDimmedToAboutHalf) {
    StartGui();
    OpenDialog(0, 0, 200, 100);
    OpenDialog(300, 300, 100, 100);
    KYshow(0);
    EXPECT_TRUE(Near(BackBufferPixel(100, 50), 0x808080, 3));
    EXPECT_EQ(BackBufferPixel(350, 350), kWhite);
    ShowScreen();
}

TEST(Drawing, TooltipsWaitForTheRestingPointerAndSizeToTheirLines) {
    StartGui();
    OpenDialog(0, 0, 300, 200);
    KYgui_spacer(10000, 40);
    KYgui_button("one", "", 100, 20);
    KYgui_spacer(10000, 40);
    KYgui_button("two", "", 100, 20);
    KYgui_spacer(10000, 40);
    KYgui_list("l", "a|b", 100, 0);
    KYgui_set("one", "TIPTEXT", "a");
    KYgui_set("two", "TIPTEXT", "a\nb");
    KYgui_set("l", "TIPTEXT", "a");
    struct Case {
        const char* id;
        bool rested;
        bool atEdge; // the tooltip covers the widget's left end
        bool atCentre;
    } cases[] = {
        {"one", false, false, false}, {"one", true, true, true}, {"two", true, false, true}, {"l", true, true, true}};
    for (const Case& c : cases) {
        Box b = Placed(c.id);
        PointerTo(b.CentreX(), b.CentreY());
        KYgui().restTime = ReadClockMs() - (c.rested ? 600 : 0);
        KYshow(0);
        // The tooltip's outline runs along the row just above the widget.
        EXPECT_EQ(BackBufferPixel(b.x + 2, b.y - 1) == kGrey, c.atEdge) << c.id << c.rested;
        EXPECT_EQ(BackBufferPixel(b.CentreX(), b.y - 1) == kGrey, c.atCentre) << c.id << c.rested;
        ShowScreen();
    }
    // A list's HOVER is -1 with the pointer elsewhere: no tooltip.
    PointerTo(639, 479);
    KYgui().restTime = ReadClockMs() - 600;
    KYshow(0);
    EXPECT_EQ(BackBufferPixel(Placed("l").CentreX(), Placed("l").y - 1), kWhite);
    ShowScreen();
}

TEST(Drawing, RowsBreakAtTheEdgeAndWidgetsAreClippedNotShrunk) {
    StartGui();
    OpenDialog(0, 0, 200, 100); // content 190 x 90 from (5, 5)
    KYgui_button("tall", "SPR_C255", 20, 30);
    KYgui_spacer(10000, 0);
    KYgui_button("next", "SPR_C65280", 20, 10);
    KYgui_button("wide", "SPR_C16711680", 210, 10);
    KYgui_button("low", "SPR_C65535", 20, 80);
    KYgui_spacer(10000, 0);
    KYgui_button("below", "SPR_C16776960", 20, 10);
    EXPECT_EQ(Placed("next").y, 5 + 30 + 4);
    EXPECT_EQ(Placed("next").x, 5);
    KYshow(0);
    EXPECT_EQ(BackBufferPixel(8, 5 + 30 + 4 + 3), 0x00ff00u);
    Box wide = Placed("wide");
    EXPECT_EQ(BackBufferPixel(190, wide.y + 3), 0xff0000u);
    EXPECT_NE(BackBufferPixel(196, wide.y + 3), 0xff0000u) << "clipped at the area's right edge";
    Box low = Placed("low");
    EXPECT_EQ(BackBufferPixel(low.x + 3, 94), 0x00ffffu);
    EXPECT_NE(BackBufferPixel(low.x + 3, 96), 0x00ffffu) << "clipped at the bottom";
    EXPECT_GT(Placed("below").y, 95);
    EXPECT_NE(BackBufferPixel(8, 94), 0xffff00u) << "not drawn at all";
    ShowScreen();
}

TEST(Drawing, TitleBarOnlyWhenMoveableOrTitled) {
    StartGui();
    int32_t fx, fy;
    FontGetSize(fx, fy);
    struct Case {
        int moveable;
        const char* title;
        uint32_t top;
        int frameTop;
    } cases[] = {{0, "", kGrey, 20}, {1, "", kWhite, 20 + fy + 4}, {0, "T", kWhite, 20 + fy + 4}};
    for (const Case& c : cases) {
        KYgui().dialogs.clear();
        OpenDialog(20, 20, 100, 60);
        KYgui_set("", "MOVEABLE", RtString(c.moveable));
        KYgui_set("", "TEXT", c.title);
        ClearScreen();
        KYshow(0);
        EXPECT_EQ(BackBufferPixel(21, 20), c.top) << c.title;
        EXPECT_EQ(BackBufferPixel(21, c.frameTop), kGrey) << c.title;
        EXPECT_EQ(BackBufferPixel(20, c.frameTop), 0u) << "cut corner";
        ShowScreen();
    }
}

TEST(Drawing, CharacterTablesFixedOrMeasured) {
    StartGui();
    int32_t fx, fy;
    FontGetSize(fx, fy);
    EXPECT_EQ(MeasureText("abc"), 3 * fx);
    DrawFilledRect(0, 0, 3, 2, 0x00ff00);
    SpriteGrab(0, 0, 0, 3, 2);
    Graphics2D& g = Gfx2d();
    SetColourKey(0x123456);
    KYgui_font_kerning(1);
    KYguiState& k = KYgui();
    EXPECT_EQ(k.proportional, 1);
    EXPECT_EQ(k.char_width[' '], fx / 10 + 2) << "no pixels";
    EXPECT_EQ(MeasureText("abc"), k.char_width['a'] + k.char_width['b'] + k.char_width['c']);
    EXPECT_LT(k.char_width['i'], k.char_width['m']);
    EXPECT_EQ(g.spriteColourKey, 0x123456) << "keys restored";
    EXPECT_EQ(g.fontColourKey, 0x123456);
    int32_t w, h;
    SpriteGetSize(0, w, h);
    EXPECT_EQ(w, 3) << "sprite 0 kept";
    for (int32_t id : {1, 2}) {
        SpriteGetSize(id, w, h);
        EXPECT_EQ(w, 0) << "measuring slots freed";
    }
    // With one free slot among the first 4000 the cells stay fixed rather than measuring in slot 0.
    for (int32_t id = 2; id <= 4000; ++id) g.sprites[id].width = 1;
    KYgui_font_kerning(1);
    for (int32_t id = 2; id <= 4000; ++id) g.sprites[id].width = 0;
    EXPECT_EQ(k.proportional, 0);
    EXPECT_EQ(k.char_width['i'], fx);
    SpriteLoad("", 0);
    SetColourKey(0x8000ff);
    SetColourKey(0);
    g.spriteColourKey = 0x8000ff;
}

TEST(Drawing, AMismatchedDrawOrderIsReportedAndTheFrameGoesOn) {
    StartGui();
    OpenDialog(0, 0, 200, 100);
    KYgui_button("a", "SPR_C255", 20, 20);
    KYgui_button("b", "SPR_C255", 20, 20);
    KYgui().dialogs.back().draw_order.pop_back();
    DebugCapture out;
    KYshow(1);
    EXPECT_EQ(out.Take(), "Draw order is messed up 1/2\n");
    EXPECT_EQ(BackBufferPixel(8, 8), 0x0000ffu);
    ShowScreen();
}

TEST(Drawing, TheDialogScrollsByTwoLinesAndShowsItsTopAgainWhenInactive) {
    StartGui();
    int32_t fx, fy;
    FontGetSize(fx, fy);
    OpenDialog(0, 0, 200, 100);
    for (int i = 0; i < 8; ++i) {
        KYgui_button("b" + RtString(i), i == 0 ? "SPR_C255" : "SPR_C65280", 20, 20);
        KYgui_spacer(10000, 0);
    }
    RunFrames(2);
    KYguiDialog& d = KYgui().dialogs.back();
    EXPECT_EQ(d.frame.scroll_range, (d.content_height - 90) / (2 * fy));
    ASSERT_GT(d.frame.scroll_range, 0);
    PushMouseMotion(50, 50, 0, 0); // anywhere over the dialog
    PushMouseWheel(-1);
    ShowScreen();
    KYshow(0); // the widgets had the first claim on the wheel; the dialog shows its step next frame
    EXPECT_EQ(d.frame.scroll, 1);
    ShowScreen();
    KYshow(0);
    EXPECT_NE(BackBufferPixel(8, 8), 0x0000ffu) << "the first row scrolled away";
    ShowScreen();
    OpenDialog(300, 300, 100, 100);
    KYshow(0);
    EXPECT_TRUE(Near(BackBufferPixel(8, 8), 0x00007f, 3)) << "dimmed, not scrolled";
    ShowScreen();
    PointerTo(639, 479);
}

TEST(Drawing, DebugEntriesDumpTheTablesAndTheDialogStackByName) {
    StartGui();
    OpenDialog(0, 0, 200, 100);
    KYgui_set("", "TEXT", "Main");
    KYgui_button("ok", "OK", 0, 0);
    const CallByNameEntry table[] = {
        {KYgui_DebugHelpers, "__KYgui_Helpers___"}, {KYgui_DebugWidgets, "__KYgui_Widgets___"}, {nullptr, nullptr}};
    Runtime().callByName = table;
    int32_t fx, fy;
    FontGetSize(fx, fy);
    DebugCapture out;
    EXPECT_EQ(CallByName("__KYgui_Widgets___"), 1.0);
    EXPECT_EQ(CallByName("__KYgui_Helpers___"), 1.0);
    std::string text = out.Take();
    Runtime().callByName = nullptr;
    EXPECT_NE(text.find("dialog 0 \"Main\" at 0,0 size 200x100"), std::string::npos) << text;
    EXPECT_NE(text.find("  ok BUTTON \"OK\""), std::string::npos);
    EXPECT_NE(text.find("65: kern_offset=0 char_width=" + std::to_string(fx) + "\n"), std::string::npos);
    EXPECT_NE(text.find("255: "), std::string::npos);
}

// A word goes to the next line when it would pass the edge counted from after the blank before it:
// "aa bb" in fixed cells takes five of them.
TEST(Drawing, AWordThatWouldPassTheEdgeAfterItsBlankWraps) {
    StartGui();
    int32_t fx = Fx(), fy = Fy();
    OpenDialog(0, 0, 300, 200);
    for (auto [cells, lines] : {std::pair(5, 1), {4, 2}}) {
        KYgui_widget("w", "aa bb", cells * fx, 0);
        RunFrames(1);
        EXPECT_EQ(KYgui_get("w", "HEIGHT"), lines * fy) << cells << " cells";
    }
}

// Frames that would look as the last one are neither drawn nor shown; input, expose, changed
// properties, the pointer's rest over a tooltip and application kinds bring drawn frames back, and the
// back buffer holds the picture on screen meanwhile.
#include "gui/frame_changes.h"
#include "tests/gui/gui_test_support.h"

namespace {

// The launcher's loop: frames shown in the n frames.
int64_t Frames(int n) {
    int64_t before = Device().shown.framesShown;
    for (int i = 0; i < n; ++i) {
        bool changed = KYgui_changed() != 0;
        if (changed) DrawFilledRect(0, 0, 640, 480, 0x0000ff);
        KYshow(1);
        EndDialogFrame(changed);
    }
    return Device().shown.framesShown - before;
}

// A dialog with a button at (15, 15), 40 x 30, that has a tooltip, and a focused text field right of it
// at (57, 15), shown until it rests.
void RestingDialog() {
    StartGui();
    LimitFps(0);
    KYgui_pushdialog(10, 10, 200, 100);
    KYgui_button("b", "", 40, 30);
    KYgui_set("b", "TIPTEXT", "tip");
    KYgui_text("t", "some text", 100, 30);
    KYgui_set("", "FOCUS", "t");
    Frames(5);
}

} // namespace

TEST(Redraw, InputExposeAndChangedPropertiesDrawTheNextFrameAndAnIdleDialogKeepsItsPicture) {
    for (auto [cause, act] : std::initializer_list<std::pair<const char*, void (*)()>>{
             {"pointer", [] { PushMouseMotion(60, 18, 0, 0); }},
             {"key", [] { PushKey(SDL_SCANCODE_TAB, true); }},
             {"wheel", [] { PushMouseWheel(1); }},
             {"expose", [] { PushWindowEvent(SDL_WINDOWEVENT_EXPOSED); }},
             {"caret", [] { KYgui_set("t", "SELEND", "3"); }}}) {
        RestingDialog();
        ASSERT_EQ(Frames(2), 0) << cause;
        act();
        EXPECT_GE(Frames(2), 1) << cause; // pushed input reaches the second frame
        Frames(4);
        EXPECT_EQ(Frames(4), 0) << cause << ": at rest again";
        PushKey(SDL_SCANCODE_TAB, false);
    }
    // At rest, KeepScreen puts the last frame shown back; the frame drawn after rest starts cleared.
    RestingDialog();
    PushMouseMotion(60, 18, 0, 0); // to rest over the text field, which has no tooltip
    Frames(4);
    KYgui().restTime = ReadClockMs() - 1000;
    EXPECT_EQ(Frames(30), 0);
    ExpectPixels({{5, 5, 0x0000ff}, {11, 10, kGrey}, {20, 17, kWhite}});
    PushMouseMotion(35, 30, 0, 0);
    ASSERT_EQ(KYgui_changed(), 1);
    EXPECT_EQ(BackBufferPixel(5, 5), 0u) << "cleared as after ShowScreen";
    KYshow(1);
    EXPECT_EQ(BackBufferPixel(20, 17), kHoverBright);
    ShowScreen();
    // The tooltip comes with the pointer's rest, which no input marks: one frame more.
    KYgui().restTime = ReadClockMs() + 1e6;
    Frames(4);
    KYgui().restTime = ReadClockMs() - 1000;
    EXPECT_EQ(Frames(3), 1);
    // An application kind draws what its hook likes: every frame while it shows.
    KYgui_sethook([](const RtString&, int32_t, int32_t, int32_t, int32_t) {});
    KYgui_user("u", "GAUGE", 10, 10);
    EXPECT_EQ(Frames(3), 3);
}

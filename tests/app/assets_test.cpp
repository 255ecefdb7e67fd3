// The launcher's pictures as the program loads them: the menu font dark and crisp on every face of
// the toolkit, the logo opaque and of a size that fits the dialog.
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/gfx2d.h"
#include "tests/support/headless.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <vector>

namespace {

// The pixels of (x, y, width, height) from the top-left, rows from the top, as R + G*256 + B*65536.
std::vector<uint32_t> ReadRect(int x, int y, int width, int height) {
    FlushGL();
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, Device().height - y - height, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    std::vector<uint32_t> pixels;
    for (int row = height - 1; row >= 0; --row)
        for (int col = 0; col < width; ++col) {
            const uint8_t* p = &rgb[(static_cast<size_t>(row) * width + col) * 3];
            pixels.push_back(p[0] | p[1] << 8 | p[2] << 16);
        }
    return pixels;
}

bool Dark(uint32_t colour) { return (colour & 0xFF) < 48 && (colour >> 8 & 0xFF) < 48 && (colour >> 16) < 48; }

void StartAtDefaults() {
    AttachSubsystems();
    StartRuntime();
    SetViewport(0, 0, 0, 0);
    SetBlendMode(0);
}

} // namespace

TEST(LauncherAssets, MenuFontIsDarkAndCrispOnEveryFace) {
    StartAtDefaults();
    FontLoad("menu.png", 0); // under the keys of start-up, as the launcher loads it
    int32_t cellWidth, cellHeight;
    FontGetSize(cellWidth, cellHeight);
    ASSERT_EQ(cellWidth, 16);
    ASSERT_EQ(cellHeight, 20);
    // White and grey faces, the hover faces light and normal blue.
    for (uint32_t face : {0xFFFFFFu, 0xC0C0C0u, 0xFFF0A0u, 0xFF9040u}) {
        SCOPED_TRACE(face);
        DrawFilledRect(0, 0, 200, 40, static_cast<int32_t>(face));
        TextPrint("Play", 10, 10);
        int ink = 0;
        for (uint32_t pixel : ReadRect(10, 10, 4 * cellWidth, cellHeight)) {
            ASSERT_TRUE(pixel == face || Dark(pixel)) << std::hex << pixel;
            ink += pixel != face;
        }
        EXPECT_GT(ink, 60);
    }
}

TEST(LauncherAssets, LogoIsOpaqueAndFitsTheDialog) {
    StartAtDefaults();
    ASSERT_TRUE(SpriteLoad("tmv.png", 1)); // under the sprite key 0x8000FF
    int32_t width, height;
    SpriteGetSize(1, width, height);
    EXPECT_EQ(width, 240);
    EXPECT_EQ(height, 80);
    for (uint32_t ground : {0x0000FFu, 0x00FF00u}) {
        DrawFilledRect(0, 0, 300, 100, static_cast<int32_t>(ground));
        SpriteDraw(1, 0, 0);
        for (uint32_t pixel : ReadRect(0, 0, width, height)) ASSERT_NE(pixel, ground);
    }
}

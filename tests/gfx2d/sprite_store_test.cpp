// The sprite store: loading into slots, texture sizes, the edge fill, fonts' slots, frames, ids.
#include "runtime/files/files.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "tests/gfx2d/test_images.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

constexpr int32_t kKey = 0x8000FF;

const uint8_t* Texel(const std::vector<uint8_t>& texels, int32_t texWidth, int32_t x, int32_t row) {
    return &texels[(static_cast<size_t>(row) * texWidth + x) * 4];
}

} // namespace

TEST(SpriteStore, TexturesArePowersOfTwoAndKeepTheImageSize) {
    StartDrawing();
    struct Case {
        int32_t w, h, texW, texH;
    };
    for (Case c : {Case{1, 1, 2, 2}, Case{3, 5, 4, 8}, Case{64, 33, 64, 64}}) {
        ASSERT_TRUE(SpriteLoad(WriteTestFile("size.bmp", Bmp24(SolidPicture(c.w, c.h, 0x112233))).c_str(), 1));
        const SpriteSlot& slot = *SlotOf(1);
        EXPECT_EQ(slot.texWidth, c.texW);
        EXPECT_EQ(slot.texHeight, c.texH);
        int32_t w = 0, h = 0;
        SpriteGetSize(1, w, h);
        EXPECT_EQ(w, c.w);
        EXPECT_EQ(h, c.h);
        // The mip copy is square (the shorter side) and runs down to 1 x 1.
        glBindTexture(GL_TEXTURE_2D, slot.mipTexture);
        GLint side = 0, last = 0, level = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &side);
        EXPECT_EQ(side, std::min(c.texW, c.texH));
        while (side >> (level + 1)) ++level;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &last);
        EXPECT_EQ(last, 1);
    }
    double dw = 1, dh = 1;
    SpriteGetSize(2, dw, dh);
    EXPECT_EQ(dw, 0);
    EXPECT_EQ(dh, 0);
}

TEST(SpriteStore, KeyedPixelTakesTheMeanOfItsOpaqueNeighbours) {
    StartDrawing();
    TestPicture p = SolidPicture(5, 5, 0x000000);
    p.colours[2 * 5 + 1] = 0x000010; // left of the centre
    p.colours[2 * 5 + 3] = 0x000030; // right of the centre
    p.colours[2 * 5 + 2] = kKey;
    p.colours[0] = kKey; // its neighbours lie on the border: black
    ASSERT_TRUE(SpriteLoad(WriteTestFile("keyed.bmp", Bmp24(p)).c_str(), 3));
    const SpriteSlot& slot = *SlotOf(3);
    std::vector<uint8_t> texels = TextureTexels(slot.texture, slot.texWidth, slot.texHeight);
    // Image row y is texture row (4 - y).
    const uint8_t* centre = Texel(texels, slot.texWidth, 2, 2);
    EXPECT_EQ(centre[3], 0);
    EXPECT_EQ(centre[0], (0x10 + 0x30) / 8) << "mean of eight opaque neighbours, two of them red";
    const uint8_t* corner = Texel(texels, slot.texWidth, 0, 4);
    EXPECT_EQ(corner[3], 0);
    EXPECT_EQ(corner[0] | corner[1] | corner[2], 0);
    EXPECT_EQ(Texel(texels, slot.texWidth, 3, 2)[0], 0x30);
    EXPECT_EQ(Texel(texels, slot.texWidth, 3, 2)[3], 255);
}

TEST(SpriteStore, FormatComesFromTheContentAndFailuresLeaveTheSlotEmpty) {
    StartDrawing();
    ASSERT_TRUE(SpriteLoad(WriteTestFile("really-a-bmp.png", Bmp24(SolidPicture(4, 4, 0x10))).c_str(), 4));
    EXPECT_EQ(SlotOf(4)->width, 4);
    ASSERT_TRUE(SpriteLoad(WriteTestFile("really-a-png.bmp", Png(SolidPicture(6, 2, 0x10), PngKind::Rgb)).c_str(), 4));
    EXPECT_EQ(SlotOf(4)->width, 6);

    EXPECT_FALSE(SpriteLoad(WriteTestFile("wide.bmp", Bmp24(SolidPicture(16385, 1, 0))).c_str(), 4))
        << "its texture width, 32768, does not fit the slot";
    SpriteSetFrameSize(4, 2, 2);
    EXPECT_FALSE(SpriteLoad(WriteTestFile("junk.bmp", {'B', 'M', 'x'}).c_str(), 4));
    EXPECT_EQ(SlotOf(4)->texture, 0u);
    EXPECT_EQ(SlotOf(4)->texWidth, -1);
    EXPECT_EQ(SlotOf(4)->width, 0);
    SpriteLoadFrames("no-such-file.bmp", 4, 8, 8);
    EXPECT_EQ(SlotOf(4)->frameWidth, 2) << "a failed load leaves the frame size";
    SpriteLoadFrames(WriteTestFile("frames.bmp", Bmp24(SolidPicture(16, 8, 0x10))).c_str(), 4, 8, 8);
    EXPECT_EQ(SlotOf(4)->frameWidth, 8);

    for (int32_t id : {-1, 65536, -2147483647 - 1}) {
        EXPECT_FALSE(SpriteLoad(WriteTestFile("ok.bmp", Bmp24(SolidPicture(2, 2, 0))).c_str(), id));
        SpriteSetFrameSize(id, 4, 4);
        SpriteDraw(id, 0, 0);
        FrameDraw(id, 0, 0, 0);
        EXPECT_FALSE(SpriteCollide(id, 0, 0, id, 0, 0));
        int32_t w = 1, h = 1;
        SpriteGetSize(id, w, h);
        EXPECT_EQ(w + h, 0);
    }
}

TEST(SpriteStore, FontSlotsUseNearestFilteringWithoutEdgeFillOrMipTexture) {
    StartDrawing();
    TestPicture p = SolidPicture(5, 5, 0x000080);
    p.colours[12] = kKey;
    std::string path = WriteTestFile("font-like.bmp", Bmp24(p));
    ASSERT_TRUE(SpriteLoad(path.c_str(), 65504));
    const SpriteSlot& slot = *SlotOf(65504);
    EXPECT_EQ(slot.mipTexture, 0u);
    std::vector<uint8_t> texels = TextureTexels(slot.texture, slot.texWidth, slot.texHeight);
    EXPECT_EQ(Texel(texels, slot.texWidth, 2, 2)[2], 0) << "no edge fill";
    glBindTexture(GL_TEXTURE_2D, slot.texture);
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    EXPECT_EQ(filter, GL_NEAREST);
    SpriteFreeAll();
    EXPECT_EQ(SlotOf(65504)->texture, 0u);
}

TEST(SpriteStore, NormalMapOfAFlatPictureFacesTheViewer) {
    StartDrawing();
    ASSERT_TRUE(SpriteLoadNormalMap(WriteTestFile("flat.bmp", Bmp24(SolidPicture(4, 4, 0x400000))).c_str(), 5));
    const SpriteSlot& slot = *SlotOf(5);
    std::vector<uint8_t> texels = TextureTexels(slot.texture, slot.texWidth, slot.texHeight);
    const uint8_t* t = Texel(texels, slot.texWidth, 1, 1);
    EXPECT_EQ(t[0], 127);
    EXPECT_EQ(t[1], 127);
    EXPECT_EQ(t[2], 255);
    EXPECT_EQ(t[3], 255);
}

TEST(SpriteStore, NamesResolveThroughThePackedArchive) {
    StartDrawing();
    std::string program = WriteTestFile("packed-program", {0x7F, 'E', 'L', 'F'});
    std::string bmp = WriteTestFile("in-archive.bmp", Bmp24(SolidPicture(7, 3, 0x123456)));
    ASSERT_EQ(std::system((std::string(SBX_PACK_PATH) + " " + program + " " + bmp + " >/dev/null 2>&1").c_str()), 0);
    std::remove(bmp.c_str());
    ArchiveRegister(RuntimeArchive(), program);
    EXPECT_TRUE(SpriteLoad("gfx/IN-ARCHIVE.BMP", 6));
    EXPECT_EQ(SlotOf(6)->width, 7);
    EXPECT_FALSE(SpriteLoad("gfx/not-there.bmp", 6));
    EXPECT_EQ(SlotOf(6)->width, 0);
    ArchiveDestroy(RuntimeArchive());
    ArchiveRegister(RuntimeArchive(), "");
}

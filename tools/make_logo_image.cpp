// Renders the launcher's logo "tmv.png" with FreeType: "TMV-Vedu" in DejaVu Sans Bold, white with a dark
// shadow, on a blue gradient. The picture is opaque, and no pixel can have the sprite colour key
// (0x8000FF: red 255, green 0), since every pixel mixes colours whose green is at least their red.
//
// Usage: make_logo_image <folder of the DejaVu TTF files> <output folder>...
#include "runtime/gfx2d/image_writer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 80;
constexpr int kPixelSize = 36;
constexpr char kText[] = "TMV-Vedu";

struct Rgb {
    float r, g, b;
};

// Top to bottom: deep blue to a lighter one, so the white text stands out everywhere.
Rgb Gradient(int y) {
    float t = static_cast<float>(y) / (kHeight - 1);
    return {20 + 40 * t, 40 + 80 * t, 100 + 110 * t};
}

void Blend(Rgb& pixel, Rgb colour, float alpha) {
    pixel.r += (colour.r - pixel.r) * alpha;
    pixel.g += (colour.g - pixel.g) * alpha;
    pixel.b += (colour.b - pixel.b) * alpha;
}

// Draws the text with its pen starting at (x, baseline), each glyph's coverage blended in colour.
void DrawText(FT_Face face, std::vector<Rgb>& image, int x, int baseline, Rgb colour) {
    for (const char* c = kText; *c; ++c) {
        if (FT_Load_Char(face, static_cast<unsigned char>(*c), FT_LOAD_RENDER)) continue;
        const FT_GlyphSlot glyph = face->glyph;
        const FT_Bitmap& bitmap = glyph->bitmap;
        for (int gy = 0; gy < static_cast<int>(bitmap.rows); ++gy)
            for (int gx = 0; gx < static_cast<int>(bitmap.width); ++gx) {
                int px = x + glyph->bitmap_left + gx, py = baseline - glyph->bitmap_top + gy;
                if (px < 0 || px >= kWidth || py < 0 || py >= kHeight) continue;
                Blend(image[static_cast<size_t>(py) * kWidth + px], colour,
                      bitmap.buffer[gy * bitmap.pitch + gx] / 255.0f);
            }
        x += static_cast<int>(glyph->advance.x >> 6);
    }
}

int TextWidth(FT_Face face) {
    int width = 0;
    for (const char* c = kText; *c; ++c)
        if (!FT_Load_Char(face, static_cast<unsigned char>(*c), FT_LOAD_DEFAULT))
            width += static_cast<int>(face->glyph->advance.x >> 6);
    return width;
}

// The runtime's picture writer takes bottom-up B, G, R rows, as OpenGL reads them back.
std::vector<uint8_t> BottomUpBgr(const std::vector<Rgb>& image) {
    std::vector<uint8_t> bgr(image.size() * 3);
    auto byte = [](float v) { return static_cast<uint8_t>(std::clamp(v + 0.5f, 0.0f, 255.0f)); };
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const Rgb& p = image[static_cast<size_t>(y) * kWidth + x];
            uint8_t* out = &bgr[(static_cast<size_t>(kHeight - 1 - y) * kWidth + x) * 3];
            out[0] = byte(p.b);
            out[1] = byte(p.g);
            out[2] = byte(p.r);
        }
    return bgr;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <DejaVu font folder> <output folder>...\n", argv[0]);
        return 2;
    }
    FT_Library library;
    FT_Face face;
    std::string fontPath = std::string(argv[1]) + "/DejaVuSans-Bold.ttf";
    if (FT_Init_FreeType(&library)) return 1;
    if (FT_New_Face(library, fontPath.c_str(), 0, &face)) {
        std::fprintf(stderr, "cannot open %s\n", fontPath.c_str());
        return 1;
    }
    FT_Set_Pixel_Sizes(face, 0, kPixelSize);

    std::vector<Rgb> image(static_cast<size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y)
        std::fill_n(image.begin() + static_cast<ptrdiff_t>(y) * kWidth, kWidth, Gradient(y));
    int x = (kWidth - TextWidth(face)) / 2;
    int ascender = static_cast<int>(face->size->metrics.ascender >> 6);
    int descender = static_cast<int>(-face->size->metrics.descender >> 6);
    int baseline = (kHeight - ascender - descender) / 2 + ascender;
    DrawText(face, image, x + 2, baseline + 2, {0, 10, 40});
    DrawText(face, image, x, baseline, {255, 255, 255});
    FT_Done_Face(face);
    FT_Done_FreeType(library);

    std::vector<uint8_t> bgr = BottomUpBgr(image);
    int status = 0;
    for (int i = 2; i < argc; ++i) {
        std::string path = std::string(argv[i]) + "/tmv.png";
        if (!ImageWrite(path, {bgr.data(), kWidth, kHeight, kWidth, 0})) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            status = 1;
        }
    }
    return status;
}

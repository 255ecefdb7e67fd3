// Renders the project's default font images from Debian's DejaVu fonts with FreeType, each a 16 x 16
// grid of the Latin-1 codes 0..255: "smalfont.bmp" (DejaVu Sans Mono, 8 x 16 cells) in white and grey
// on black, the font colour key; "menu.png" (DejaVu Sans, 16 x 20 cells), the menu font drawn on the
// toolkit's white, grey and light-blue faces, in dark ink on a transparent ground. The PNG is RGBA,
// which the loader takes as it is whatever the colour keys. Its glyphs are rendered for monochrome
// (hinted, whole pixels): text is drawn opaque with an alpha test, under which grey edge pixels would
// come out as ink anyway and thicken the strokes. Control codes (0..31, 127..159) stay empty cells.
//
// Usage: make_font_images <folder of the DejaVu TTF files> <output folder>...
#include "runtime/gfx2d/image_writer.h"

#include "platform/files.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct FontImage {
    const char* fileName;
    const char* fontFile;
    int cellWidth;
    int cellHeight;
    int pixelSize;
    FT_Int32 target; // FT_LOAD_TARGET_NORMAL (grey levels) or FT_LOAD_TARGET_MONO (whole pixels)
};

constexpr FontImage kImages[] = {
    {"smalfont.bmp", "DejaVuSansMono.ttf", 8, 16, 13, FT_LOAD_TARGET_NORMAL},
    {"menu.png", "DejaVuSans.ttf", 16, 20, 14, FT_LOAD_TARGET_MONO},
};

// The menu font's ink: dark on every face, and not black, so that no colour key can take it.
constexpr uint8_t kInk = 16;

bool Printable(unsigned code) { return (code >= 32 && code < 127) || code >= 160; }

// Coverage 0..255 of a bitmap pixel, grey or one bit per pixel.
uint8_t Coverage(const FT_Bitmap& bitmap, int x, int y) {
    const uint8_t* row = bitmap.buffer + y * bitmap.pitch;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) return (row[x / 8] >> (7 - x % 8)) & 1 ? 255 : 0;
    return row[x];
}

// Grey levels of the whole grid, rows from the top.
bool RenderGrid(FT_Library library, const std::string& fontPath, const FontImage& layout, std::vector<uint8_t>& grey) {
    FT_Face face;
    if (FT_New_Face(library, fontPath.c_str(), 0, &face)) {
        std::fprintf(stderr, "cannot open %s\n", fontPath.c_str());
        return false;
    }
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(layout.pixelSize));
    int width = layout.cellWidth * 16, height = layout.cellHeight * 16;
    grey.assign(static_cast<size_t>(width) * height, 0);
    int ascender = static_cast<int>(face->size->metrics.ascender >> 6);
    int descender = static_cast<int>(-face->size->metrics.descender >> 6);
    // The line box sits centred in the cell.
    int baseline = (layout.cellHeight - ascender - descender) / 2 + ascender;
    for (unsigned code = 0; code < 256; ++code) {
        if (!Printable(code) || FT_Load_Char(face, code, FT_LOAD_RENDER | layout.target)) continue;
        const FT_GlyphSlot glyph = face->glyph;
        const FT_Bitmap& bitmap = glyph->bitmap;
        int cellX = static_cast<int>(code % 16) * layout.cellWidth,
            cellY = static_cast<int>(code / 16) * layout.cellHeight;
        // Glyphs wider than their advance (italic overhangs, accents) are shifted in rather than cut.
        int left = std::clamp(glyph->bitmap_left, 0, std::max(0, layout.cellWidth - static_cast<int>(bitmap.width)));
        int top = baseline - glyph->bitmap_top;
        for (int y = 0; y < static_cast<int>(bitmap.rows); ++y) {
            for (int x = 0; x < static_cast<int>(bitmap.width); ++x) {
                int cx = left + x, cy = top + y;
                if (cx < 0 || cx >= layout.cellWidth || cy < 0 || cy >= layout.cellHeight) continue;
                grey[static_cast<size_t>(cellY + cy) * width + cellX + cx] = Coverage(bitmap, x, y);
            }
        }
    }
    FT_Done_Face(face);
    return true;
}

std::vector<uint8_t> EncodeRgbaPng(int width, int height, const std::vector<uint8_t>& grey) {
    std::vector<uint8_t> rgba(grey.size() * 4);
    for (size_t i = 0; i < grey.size(); ++i) {
        rgba[i * 4] = rgba[i * 4 + 1] = rgba[i * 4 + 2] = kInk;
        rgba[i * 4 + 3] = grey[i];
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr)) return {};
    std::vector<uint8_t> file(size);
    if (!png_image_write_to_memory(&image, file.data(), &size, 0, rgba.data(), 0, nullptr)) return {};
    file.resize(size);
    return file;
}

std::vector<uint8_t> Encode(const FontImage& layout, const std::vector<uint8_t>& grey) {
    int width = layout.cellWidth * 16, height = layout.cellHeight * 16;
    if (std::string(layout.fileName).ends_with(".png")) return EncodeRgbaPng(width, height, grey);
    // The writers take bottom-up BGR rows, as OpenGL reads them back.
    std::vector<uint8_t> bgr(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t v = grey[static_cast<size_t>(y) * width + x];
            uint8_t* p = &bgr[(static_cast<size_t>(height - 1 - y) * width + x) * 3];
            p[0] = p[1] = p[2] = v;
        }
    return EncodeBmp({bgr.data(), width, height, width, 0});
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <DejaVu font folder> <output folder>...\n", argv[0]);
        return 2;
    }
    FT_Library library;
    if (FT_Init_FreeType(&library)) return 1;
    int status = 0;
    for (const FontImage& layout : kImages) {
        std::vector<uint8_t> grey;
        if (!RenderGrid(library, std::string(argv[1]) + "/" + layout.fontFile, layout, grey)) {
            status = 1;
            continue;
        }
        std::vector<uint8_t> file = Encode(layout, grey);
        for (int i = 2; i < argc; ++i) {
            std::string path = std::string(argv[i]) + "/" + layout.fileName;
            platform::File out = platform::CreateAlways(path);
            if (file.empty() || !out.IsOpen() || !out.Write(file.data(), file.size())) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                status = 1;
            }
        }
    }
    FT_Done_FreeType(library);
    return status;
}

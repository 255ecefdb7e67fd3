// Shared atlas textures for small sprites: shelf packing in square pages, freed cells reused by sprites
// of the same size, a page deleted when its last sprite leaves.
#include "runtime/gfx2d/sprite_atlas.h"

#include "runtime/core/gl_state.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "runtime/gfx2d/texture_upload.h"

#include <GL/gl.h>
#include <algorithm>

namespace {

constexpr int32_t kPageSide = 1024;

bool TakeHole(SpriteAtlas& atlas, int32_t texWidth, int32_t texHeight, AtlasCell& cell) {
    auto hole = std::find_if(atlas.holes.begin(), atlas.holes.end(),
                             [&](const AtlasCell& h) { return h.texWidth == texWidth && h.texHeight == texHeight; });
    if (hole == atlas.holes.end()) return false;
    cell = *hole;
    *hole = atlas.holes.back();
    atlas.holes.pop_back();
    return true;
}

// Shelves hold cells of one height, so a shelf never wastes height on a shorter cell.
bool FitOnPage(SpriteAtlas& atlas, int32_t page, int32_t width, int32_t height, AtlasCell& cell) {
    AtlasPage& p = atlas.pages[static_cast<size_t>(page)];
    for (AtlasShelf& shelf : p.shelves) {
        if (shelf.height != height || shelf.usedWidth + width > atlas.pageSide) continue;
        cell = {page, shelf.usedWidth, shelf.y, 0, 0};
        shelf.usedWidth += width;
        return true;
    }
    if (p.usedHeight + height > atlas.pageSide) return false;
    p.shelves.push_back({p.usedHeight, height, width});
    cell = {page, 0, p.usedHeight, 0, 0};
    p.usedHeight += height;
    return true;
}

int32_t NewPage(SpriteAtlas& atlas) {
    auto unused = std::find_if(atlas.pages.begin(), atlas.pages.end(), [](const AtlasPage& p) { return !p.texture; });
    int32_t page = static_cast<int32_t>(unused - atlas.pages.begin());
    if (unused == atlas.pages.end()) atlas.pages.emplace_back();
    atlas.pages[static_cast<size_t>(page)].texture = NewTexture(atlas.pageSide, atlas.pageSide, false, nullptr);
    return page;
}

bool FindCell(SpriteAtlas& atlas, int32_t texWidth, int32_t texHeight, AtlasCell& cell) {
    if (!TakeHole(atlas, texWidth, texHeight, cell)) {
        int32_t pages = static_cast<int32_t>(atlas.pages.size());
        bool found = false;
        for (int32_t page = 0; page < pages && !found; ++page)
            found = atlas.pages[static_cast<size_t>(page)].texture &&
                    FitOnPage(atlas, page, texWidth + 2, texHeight + 2, cell);
        if (!found && !FitOnPage(atlas, NewPage(atlas), texWidth + 2, texHeight + 2, cell)) return false;
    }
    cell.texWidth = texWidth;
    cell.texHeight = texHeight;
    return true;
}

// The texels with a border of one texel on every side taken from the opposite edge.
void WriteCell(const AtlasCell& cell, const std::vector<uint8_t>& texels) {
    int32_t width = cell.texWidth + 2, height = cell.texHeight + 2;
    std::vector<uint8_t> block(static_cast<size_t>(width) * height * 4);
    uint8_t* out = block.data();
    for (int32_t row = 0; row < height; ++row) {
        int32_t from = (row + cell.texHeight - 1) % cell.texHeight;
        for (int32_t column = 0; column < width; ++column, out += 4)
            std::copy_n(&texels[(static_cast<size_t>(from) * cell.texWidth +
                                 static_cast<size_t>((column + cell.texWidth - 1) % cell.texWidth)) *
                                4],
                        4, out);
    }
    GlFlushQuads();
    GlBindTexture(0, AtlasTexture(cell));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glTexSubImage2D(GL_TEXTURE_2D, 0, cell.x, cell.y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, block.data());
}

} // namespace

void AtlasPlace(int32_t id, const std::vector<uint8_t>& texels, int32_t texWidth, int32_t texHeight) {
    SpriteAtlas& atlas = Gfx2d().atlas;
    if (!SlotOf(id) || texWidth > kLargestAtlasSprite || texHeight > kLargestAtlasSprite || !GlReady()) return;
    AtlasRelease(id);
    if (atlas.pageSide == 0) {
        GLint maxSize = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
        atlas.pageSide = std::min<int32_t>(kPageSide, maxSize);
    }
    if (atlas.pageSide < kLargestAtlasSprite + 2) return;
    AtlasCell cell;
    if (!FindCell(atlas, texWidth, texHeight, cell)) return;
    if (atlas.cells.empty()) atlas.cells.resize(kSpriteCount);
    atlas.cells[static_cast<size_t>(id)] = cell;
    ++atlas.pages[static_cast<size_t>(cell.page)].cells;
    WriteCell(cell, texels);
}

void AtlasRelease(int32_t id) {
    SpriteAtlas& atlas = Gfx2d().atlas;
    if (!SlotOf(id) || atlas.cells.empty()) return;
    AtlasCell& cell = atlas.cells[static_cast<size_t>(id)];
    if (cell.page < 0) return;
    AtlasPage& page = atlas.pages[static_cast<size_t>(cell.page)];
    if (--page.cells > 0) {
        atlas.holes.push_back(cell);
    } else {
        if (GlReady())
            GlDeleteTexture(page.texture);
        else
            page.texture = 0;
        page.shelves.clear();
        page.usedHeight = 0;
        int32_t emptied = cell.page;
        std::erase_if(atlas.holes, [&](const AtlasCell& h) { return h.page == emptied; });
    }
    cell = {};
}

const AtlasCell* AtlasCellOf(int32_t id) {
    SpriteAtlas& atlas = Gfx2d().atlas;
    if (!SlotOf(id) || atlas.cells.empty()) return nullptr;
    const AtlasCell& cell = atlas.cells[static_cast<size_t>(id)];
    return cell.page >= 0 ? &cell : nullptr;
}

uint32_t AtlasTexture(const AtlasCell& cell) { return Gfx2d().atlas.pages[static_cast<size_t>(cell.page)].texture; }

int32_t AtlasSide() { return Gfx2d().atlas.pageSide; }

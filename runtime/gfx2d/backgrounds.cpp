// The eight background buffers: whole-screen pictures kept as tiles of textures, captured from the
// screen or loaded from a file, drawn behind every frame (buffer 0) and crossfaded.
#include "runtime/core/core.h"
#include "runtime/core/gl_state.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "runtime/gfx2d/image_file.h"
#include "runtime/gfx2d/name_resolution.h"
#include "runtime/gfx2d/sprite_draw.h"
#include "runtime/gfx2d/surfaces.h"
#include "runtime/gfx2d/texture_upload.h"

#include <GL/gl.h>
#include <algorithm>

namespace {

constexpr int32_t kLoadTileLimit = 512;
constexpr double kFadeMs = 1500;

bool ValidBuffer(int32_t buffer) { return buffer >= 0 && buffer < kBackgroundCount; }

int32_t MaxTextureSize() {
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size;
}

// An empty T x T texture for a captured tile, reused when it already has that size.
void PrepareCaptureTile(BackgroundTile& tile, int32_t size) {
    if (tile.texture && tile.texWidth == size && tile.texHeight == size) {
        GlBindTexture(0, tile.texture);
        return;
    }
    if (GlReady()) GlDeleteTexture(tile.texture);
    tile.texture = NewTexture(size, size, false, nullptr);
}

int32_t TileCount(int32_t length, int32_t tile) { return std::min((length + tile - 1) / tile, kMaxBackgroundTiles); }

} // namespace

void BackgroundFree(int32_t buffer) {
    if (!ValidBuffer(buffer)) return;
    BackgroundBuffer& b = Surfaces().backgrounds[buffer];
    for (auto& column : b.tiles)
        for (BackgroundTile& tile : column)
            if (GlReady()) GlDeleteTexture(tile.texture);
    b = BackgroundBuffer{};
}

void BackgroundCaptureInto(int32_t buffer) {
    if (!ValidBuffer(buffer)) return;
    OpenGLVividoru& device = Device();
    int32_t limit = MaxTextureSize(), larger = std::max(device.width, device.height);
    int32_t size = 128;
    while (size < larger && size * 2 <= limit) size *= 2;
    BackgroundBuffer& b = Surfaces().backgrounds[buffer];
    GlFlushQuads();
    // Tiles of an earlier, larger picture beyond the new grid are not drawn, but keep their textures.
    b.columns = TileCount(device.width, size);
    b.rows = TileCount(device.height, size);
    for (int32_t c = 0; c < b.columns; ++c) {
        for (int32_t r = 0; r < b.rows; ++r) {
            BackgroundTile& tile = b.tiles[c][r];
            PrepareCaptureTile(tile, size);
            int32_t x = c * size, y = r * size;
            int32_t used = std::min(size, device.width - x), usedHeight = std::min(size, device.height - y);
            glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, device.height - y - usedHeight, used, usedHeight);
            tile.texWidth = tile.texHeight = size;
            tile.usedWidth = used;
            tile.usedHeight = usedHeight;
        }
    }
    BindSpriteTexture(-1, -1, false);
}

void BackgroundCapture() { BackgroundCaptureInto(0); }

bool BackgroundLoadInto(int32_t buffer, const std::string& path) {
    if (!ValidBuffer(buffer)) return false;
    ImageRGBA image;
    if (!DecodeImageFile(image, path, kNoColourKey)) return false;
    int32_t size = std::min(MaxTextureSize(), kLoadTileLimit);
    BackgroundFree(buffer);
    BackgroundBuffer& b = Surfaces().backgrounds[buffer];
    b.columns = TileCount(image.width, size);
    b.rows = TileCount(image.height, size);
    bool ok = true;
    for (int32_t c = 0; c < b.columns && ok; ++c) {
        for (int32_t r = 0; r < b.rows && ok; ++r) {
            BackgroundTile& tile = b.tiles[c][r];
            // Whole T x T tiles: the part past the picture's edge stays transparent black.
            ok = TextureUpload(image, c * size, r * size, size, size, tile.texture, nullptr, false, false);
            tile.texWidth = tile.texHeight = tile.usedWidth = tile.usedHeight = size;
        }
    }
    BindSpriteTexture(-1, -1, false);
    if (!ok) BackgroundFree(buffer);
    return ok;
}

void BackgroundDraw(int32_t buffer) {
    if (!ValidBuffer(buffer)) return;
    const BackgroundBuffer& b = Surfaces().backgrounds[buffer];
    if (b.columns == 0) return;
    GlAlphaTest(false);
    BindSpriteTexture(-1, -1, false);
    GlEnableTexture(0, true);
    for (int32_t c = 0; c < b.columns; ++c) {
        for (int32_t r = 0; r < b.rows; ++r) {
            const BackgroundTile& tile = b.tiles[c][r];
            float size = static_cast<float>(tile.texWidth);
            float x = static_cast<float>(c) * size, y = static_cast<float>(r) * static_cast<float>(tile.texHeight);
            float uw = static_cast<float>(tile.usedWidth), uh = static_cast<float>(tile.usedHeight);
            float u = uw / size, v = uh / static_cast<float>(tile.texHeight);
            GlBindTexture(0, tile.texture);
            GlTextureFilter(GL_NEAREST);
            DrawTexturedQuad({{x, y + uh, 0, 0}, {x + uw, y + uh, u, 0}, {x + uw, y, u, v}, {x, y, 0, v}});
        }
    }
    GlAlphaTest(true);
    BindSpriteTexture(-1, -1, false);
}

void Loadbmp(const RtString& name) {
    WriteErrorLog("Loadbmp");
    WriteErrorLog("Shoeboxing");
    std::string path;
    if (!ResolveFileName(name, path)) {
        WriteErrorLog("failed");
    } else {
        WriteErrorLog("OK?");
        if (BackgroundLoadInto(0, path)) {
            BackgroundDraw(0);
            return;
        }
    }
    BackgroundFree(0);
    GlFlushQuads();
    glClear(GL_COLOR_BUFFER_BIT);
}

void BackgroundLoadFade(const RtString& name) {
    std::string path;
    if (!ResolveFileName(name, path)) return;
    BackgroundCaptureInto(2);
    BackgroundLoadInto(1, path);
    BackgroundFree(0);
    GlFlushQuads();
    glClear(GL_COLOR_BUFFER_BIT);
    double start = ReadClockMs();
    // Both passes add up: the old screen fades out while the new picture fades in.
    for (double f = 0.9; f > 0 && f < 1;) {
        SetBlendMode(f);
        BackgroundDraw(2);
        SetBlendMode(1 - f);
        BackgroundDraw(1);
        PresentFrame(Device());
        f = (start + kFadeMs - ReadClockMs()) / kFadeMs;
    }
    BackgroundFree(1);
    BackgroundFree(2);
    BackgroundLoadInto(0, path);
    SetBlendMode(0);
    BackgroundDraw(0);
    PresentFrame(Device());
}

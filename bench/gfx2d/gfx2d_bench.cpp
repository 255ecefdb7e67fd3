// 2D speed on this machine, offscreen: 32 x 32 sprites drawn per second, 10,000 a frame, with one
// texture and with two textures alternating, side by side with SDL's own 2D renderer (its "opengl"
// driver, batching on), with raylib's way of batching and with a plain immediate-mode loop (bind, two
// filter calls, one quad); and the decode time of a 1024 x 1024 PNG and BMP.
#include "bench/gfx2d/bench_runtime.h"
#include "platform/paths.h"
#include "platform/video.h"
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/bmp_decoder.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "runtime/gfx2d/png_decoder.h"

#include <GL/gl.h>
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <png.h>
#include <vector>

namespace {

constexpr int kSide = 1024;
constexpr int kSpritesPerFrame = 10000;

// A picture with some structure, so that PNG compression has work of the usual kind.
std::vector<uint8_t> TestPixels(int side) {
    std::vector<uint8_t> rgb(static_cast<size_t>(side) * side * 3);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            uint8_t* p = &rgb[(static_cast<size_t>(y) * side + x) * 3];
            p[0] = static_cast<uint8_t>(x ^ y);
            p[1] = static_cast<uint8_t>(x * y >> 6);
            p[2] = static_cast<uint8_t>((x + y) * 3);
        }
    return rgb;
}

std::vector<uint8_t> EncodePng(const std::vector<uint8_t>& rgb, int side) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = image.height = static_cast<png_uint_32>(side);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr);
    std::vector<uint8_t> out(size);
    png_image_write_to_memory(&image, out.data(), &size, 0, rgb.data(), 0, nullptr);
    out.resize(size);
    return out;
}

std::vector<uint8_t> EncodeBmp(const std::vector<uint8_t>& rgb, int side) {
    std::vector<uint8_t> out(54);
    auto put = [&](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    size_t stride = static_cast<size_t>(side) * 3;
    out[0] = 'B';
    out[1] = 'M';
    put(2, static_cast<uint32_t>(54 + stride * side), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<uint32_t>(side), 4);
    put(22, static_cast<uint32_t>(side), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int row = side - 1; row >= 0; --row)
        for (int x = 0; x < side; ++x) {
            const uint8_t* p = &rgb[(static_cast<size_t>(row) * side + x) * 3];
            out.insert(out.end(), {p[2], p[1], p[0]});
        }
    return out;
}

int SpriteX(int i) { return (i * 37) % 608; }
int SpriteY(int i) { return (i * 53) % 448; }

// Every peer draws with alpha blending into the runtime's context, and leaves it current.
void BeginRuntimeFrames() {
    StartHeadless();
    platform::MakeCurrent(Device().window, Device().glContext);
    FlushGL();
    SetViewport(0, 0, 0, 0);
    SetBlendMode(-1);
}

// One untimed frame first: the driver's first frames of a kind fault in memory the later ones reuse,
// and whichever peer ran first would pay for the others.
void TimeFrames(benchmark::State& state, const std::function<void()>& frame) {
    frame();
    for (auto _ : state) frame();
    state.SetItemsProcessed(state.iterations() * kSpritesPerFrame);
}

void DrawSprites(benchmark::State& state, bool alternate) {
    BeginRuntimeFrames();
    TimeFrames(state, [&] {
        for (int i = 0; i < kSpritesPerFrame; ++i) SpriteDraw(alternate ? 1 + (i & 1) : 1, SpriteX(i), SpriteY(i));
        FlushGL();
        glFinish();
    });
}

// The plain loop a programmer would write: per sprite one bind, the two filters, one quad.
void DrawPlainLoop(benchmark::State& state, bool alternate) {
    BeginRuntimeFrames();
    GLuint textures[2] = {SlotOf(1)->texture, SlotOf(2)->texture};
    FlushGL();
    glEnable(GL_TEXTURE_2D);
    TimeFrames(state, [&] {
        for (int i = 0; i < kSpritesPerFrame; ++i) {
            glBindTexture(GL_TEXTURE_2D, textures[alternate ? i & 1 : 0]);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
            float x = static_cast<float>(SpriteX(i)), y = static_cast<float>(SpriteY(i));
            glBegin(GL_QUADS);
            glTexCoord2f(1, 1);
            glVertex2f(x + 32, y);
            glTexCoord2f(0, 1);
            glVertex2f(x, y);
            glTexCoord2f(0, 0);
            glVertex2f(x, y + 32);
            glTexCoord2f(1, 0);
            glVertex2f(x + 32, y + 32);
            glEnd();
        }
        glFinish();
    });
}

// raylib's batch (rlgl) as it draws textured quads: a draw record per run of one texture, the batch
// issued at 8,192 quads or 256 runs, each run one bind and one draw; filters set once per texture.
void DrawRaylibStyle(benchmark::State& state, bool alternate) {
    constexpr size_t kBatchQuads = 8192, kBatchRuns = 256;
    struct Run {
        GLuint texture;
        GLint first;
        GLsizei count;
    };
    BeginRuntimeFrames();
    GLuint textures[2] = {SlotOf(1)->texture, SlotOf(2)->texture};
    FlushGL();
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_ALPHA_TEST);
    for (GLuint texture : textures) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    }
    std::vector<float> vertices; // x, y, u, v
    std::vector<Run> runs;
    auto draw = [&] {
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glVertexPointer(2, GL_FLOAT, 4 * sizeof(float), vertices.data());
        glTexCoordPointer(2, GL_FLOAT, 4 * sizeof(float), vertices.data() + 2);
        for (const Run& run : runs) {
            glBindTexture(GL_TEXTURE_2D, run.texture);
            glDrawArrays(GL_QUADS, run.first, run.count);
        }
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        vertices.clear();
        runs.clear();
    };
    TimeFrames(state, [&] {
        for (int i = 0; i < kSpritesPerFrame; ++i) {
            GLuint texture = textures[alternate ? i & 1 : 0];
            if (runs.empty() || runs.back().texture != texture) {
                if (runs.size() == kBatchRuns) draw();
                runs.push_back({texture, static_cast<GLint>(vertices.size() / 4), 0});
            }
            float x = static_cast<float>(SpriteX(i)), y = static_cast<float>(SpriteY(i));
            vertices.insert(vertices.end(), {x + 32, y, 1, 1, x, y, 0, 1, x, y + 32, 0, 0, x + 32, y + 32, 1, 0});
            runs.back().count += 4;
            if (vertices.size() / 16 == kBatchQuads) draw();
        }
        draw();
        glFinish();
    });
}

// SDL's renderer in a window and context of its own.
struct SdlRendererPeer {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* textures[2] = {};

    SdlRendererPeer() {
        StartHeadless();
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
        SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
        window = SDL_CreateWindow("SDL peer", 0, 0, 640, 480, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
        if (!renderer) return;
        std::vector<uint8_t> rgb = TestPixels(32), rgba;
        for (size_t i = 0; i < rgb.size(); i += 3) rgba.insert(rgba.end(), {rgb[i], rgb[i + 1], rgb[i + 2], 255});
        for (SDL_Texture*& texture : textures) {
            texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, 32, 32);
            SDL_UpdateTexture(texture, nullptr, rgba.data(), 32 * 4);
            SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
            SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
        }
    }
    ~SdlRendererPeer() {
        if (renderer) SDL_DestroyRenderer(renderer);
        if (window) SDL_DestroyWindow(window);
        platform::MakeCurrent(Device().window, Device().glContext);
    }
};

void DrawSdlRenderer(benchmark::State& state, bool alternate) {
    SdlRendererPeer peer;
    if (!peer.renderer) {
        state.SkipWithError("no SDL opengl renderer");
        return;
    }
    TimeFrames(state, [&] {
        for (int i = 0; i < kSpritesPerFrame; ++i) {
            SDL_Rect to{SpriteX(i), SpriteY(i), 32, 32};
            SDL_RenderCopy(peer.renderer, peer.textures[alternate ? i & 1 : 0], nullptr, &to);
        }
        SDL_RenderFlush(peer.renderer); // makes its context current and issues the batch
        glFinish();
    });
}

void BM_SpriteDrawOneTexture(benchmark::State& state) { DrawSprites(state, false); }
void BM_SpriteDrawTwoTexturesAlternating(benchmark::State& state) { DrawSprites(state, true); }
void BM_SdlRendererOneTexture(benchmark::State& state) { DrawSdlRenderer(state, false); }
void BM_SdlRendererTwoTexturesAlternating(benchmark::State& state) { DrawSdlRenderer(state, true); }
void BM_PlainLoopOneTexture(benchmark::State& state) { DrawPlainLoop(state, false); }
void BM_PlainLoopTwoTexturesAlternating(benchmark::State& state) { DrawPlainLoop(state, true); }
void BM_RaylibStyleOneTexture(benchmark::State& state) { DrawRaylibStyle(state, false); }
void BM_RaylibStyleTwoTexturesAlternating(benchmark::State& state) { DrawRaylibStyle(state, true); }

void BM_DecodePng1024(benchmark::State& state) {
    std::vector<uint8_t> png = EncodePng(TestPixels(kSide), kSide);
    ImageRGBA image;
    for (auto _ : state) benchmark::DoNotOptimize(DecodePng(image, png.data(), png.size(), 0x8000FF, "bench.png"));
    state.counters["file_bytes"] = static_cast<double>(png.size());
}

void BM_DecodeBmp1024(benchmark::State& state) {
    std::vector<uint8_t> bmp = EncodeBmp(TestPixels(kSide), kSide);
    ImageRGBA image;
    for (auto _ : state) benchmark::DoNotOptimize(DecodeBmp(image, bmp.data(), bmp.size(), 0x8000FF));
}

} // namespace

// Sprites 1 and 2 are two textures of the same 32 x 32 picture.
void StartHeadless() {
    static bool started = false;
    if (started) return;
    started = true;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    AttachSubsystems();
    RuntimeInit(1, "gfx2d bench");
    std::vector<uint8_t> bmp = EncodeBmp(TestPixels(32), 32);
    std::string path = platform::TempDir() + "bench-sprite.bmp";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bmp.data()), bmp.size());
    SpriteLoad(path.c_str(), 1);
    SpriteLoad(path.c_str(), 2);
}

// Real time, and the CPU time of the whole process: the rasteriser works on threads of its own, and on
// a busy machine the CPU time its work takes is the steadier figure.
BENCHMARK(BM_SpriteDrawOneTexture)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_SdlRendererOneTexture)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_RaylibStyleOneTexture)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_PlainLoopOneTexture)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_SpriteDrawTwoTexturesAlternating)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_SdlRendererTwoTexturesAlternating)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_RaylibStyleTwoTexturesAlternating)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_PlainLoopTwoTexturesAlternating)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_DecodePng1024)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecodeBmp1024)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();

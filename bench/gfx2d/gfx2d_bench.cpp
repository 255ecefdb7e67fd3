// 2D speed on this machine, offscreen: 32 x 32 sprites drawn per second (one texture, and two textures
// alternating) and the decode time of a 1024 x 1024 PNG and BMP.
#include "platform/paths.h"
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/bmp_decoder.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/png_decoder.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fstream>
#include <png.h>
#include <vector>

namespace {

constexpr int kSide = 1024;
constexpr int kSpritesPerBatch = 1000;

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

void DrawSprites(benchmark::State& state, bool alternate) {
    StartHeadless();
    SetViewport(0, 0, 0, 0);
    SetBlendMode(-1);
    for (auto _ : state) {
        for (int i = 0; i < kSpritesPerBatch; ++i)
            SpriteDraw(alternate ? 1 + (i & 1) : 1, (i * 37) % 608, (i * 53) % 448);
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * kSpritesPerBatch);
}

void BM_SpriteDrawOneTexture(benchmark::State& state) { DrawSprites(state, false); }
void BM_SpriteDrawTwoTexturesAlternating(benchmark::State& state) { DrawSprites(state, true); }

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

BENCHMARK(BM_SpriteDrawOneTexture)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SpriteDrawTwoTexturesAlternating)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecodePng1024)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecodeBmp1024)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();

// Characters printed per second with TextPrint, and full-screen background draws per second.
#include "bench/gfx2d/bench_runtime.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/surfaces.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <string>

namespace {

// A screenful of text in the default 8 x 16 font: 30 lines of 80 characters.
void BM_TextPrint(benchmark::State& state) {
    StartHeadless();
    FontLoad("smalfont.bmp", 0);
    const RtString line(std::string(80, 'W'));
    for (auto _ : state) {
        for (int row = 0; row < 30; ++row) TextPrint(line, 0, row * 16);
        FlushGL();
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * 80 * 30);
}
// Real time: the rasteriser works on threads of its own, which the process CPU time misses.
BENCHMARK(BM_TextPrint)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_BackgroundDraw(benchmark::State& state) {
    StartHeadless();
    DrawFilledRect(0, 0, 640, 480, 0x336699);
    BackgroundCapture();
    for (auto _ : state) {
        BackgroundDraw(0);
        FlushGL();
        glFinish();
    }
    state.SetItemsProcessed(state.iterations());
    BackgroundFree(0);
}
BENCHMARK(BM_BackgroundDraw)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

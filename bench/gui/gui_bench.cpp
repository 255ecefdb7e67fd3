// KYgui's costs: one KYshow frame of a 100-widget dialog in the proportional menu font beside a plain
// loop drawing the same faces and captions; creating widgets; memory per widget; measuring a font.
#include "gui/kygui_state.h"
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/gfx2d.h"

#include <GL/gl.h>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <malloc.h>
#include <random>
#include <string>
#include <vector>

namespace {

void StartHeadless() {
    static bool started = false;
    if (started) return;
    started = true;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    AttachSubsystems();
    RuntimeInit(1, "gui bench");
    FontLoad("menu.png", 1);
    KYgui_font_kerning(1);
}

// A 640 x 480 dialog with 100 widgets of seven kinds, most of them on screen.
void MixedDialog() {
    KYgui().dialogs.clear();
    KYgui_pushdialog(0, 0, 640, 480);
    int32_t fx, fy;
    FontGetSize(fx, fy);
    for (int i = 0; i < 100; ++i) {
        RtString id = "w" + RtString(i);
        switch (i % 7) {
        case 0:
            KYgui_button(id, "Button", 80, 0);
            break;
        case 1:
            KYgui_checkbox(id, "Check", 80, 0);
            break;
        case 2:
            KYgui_slider(id, 0.5, 80, 0);
            break;
        case 3:
            KYgui_list(id, "One|Two|Three", 80, 2 * fy);
            break;
        case 4:
            KYgui_text(id, "Some text", 80, fy + 6);
            break;
        case 5:
            KYgui_radio(id, "Yes|No", 80);
            break;
        default:
            KYgui_widget(id, "Caption", 80, 0);
            break;
        }
    }
}

void BM_KYshowFrame(benchmark::State& state) {
    StartHeadless();
    MixedDialog();
    for (auto _ : state) {
        KYshow(1);
        // Each frame is finished as a presented one would be; queued frames would pile up in the driver.
        glFinish();
    }
    state.counters["widgets"] = static_cast<double>(KYgui().dialogs.back().widgets.size());
}
// CPU time of the program's thread per frame (llvmpipe rasterises on threads of its own).
BENCHMARK(BM_KYshowFrame)->Unit(benchmark::kMicrosecond);

// The peer: what a hand-written immediate-mode frame of the same faces and captions costs.
void BM_PlainLoopSameFaces(benchmark::State& state) {
    StartHeadless();
    int32_t fx, fy;
    FontGetSize(fx, fy);
    const RtString caption = "Button";
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i) {
            int32_t x = (i % 7) * 82 + 5, y = (i / 7) * 44 + 5;
            DrawFilledRect(x, y, 80, 26, 0xffffff);
            DrawFilledRect(x, y + 18, 80, 8, 0xc0c0c0);
            for (int c = 0; c < 6; ++c) TextPrint(RtString(caption.view().substr(c, 1)), x + 4 + c * 10, y + 3);
        }
        glFinish();
    }
}
BENCHMARK(BM_PlainLoopSameFaces)->Unit(benchmark::kMicrosecond);

void BM_Create1000Widgets(benchmark::State& state) {
    StartHeadless();
    std::vector<RtString> ids;
    for (int i = 0; i < 1000; ++i) ids.push_back("w" + RtString(i));
    std::shuffle(ids.begin(), ids.end(), std::mt19937(1));
    for (auto _ : state) {
        state.PauseTiming();
        KYgui().dialogs.clear();
        KYgui_pushdialog(0, 0, 640, 480);
        state.ResumeTiming();
        for (const RtString& id : ids) KYgui_button(id, "Button", 0, 0);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_Create1000Widgets)->Unit(benchmark::kMicrosecond);

// Heap bytes per widget of a 10,000-widget dialog (ids "w0" ... and short captions).
void BM_MemoryPerWidget(benchmark::State& state) {
    StartHeadless();
    double perWidget = 0;
    for (auto _ : state) {
        KYgui().dialogs.clear();
        KYgui_pushdialog(0, 0, 640, 480);
        size_t before = mallinfo2().uordblks;
        for (int i = 0; i < 10000; ++i) KYgui_button("w" + RtString(i), "Button", 0, 0);
        perWidget = static_cast<double>(mallinfo2().uordblks - before) / 10000;
    }
    state.counters["bytes_per_widget"] = perWidget;
    state.counters["record_bytes"] = sizeof(KYguiWidget) + sizeof(KYguiDrawOrder);
}
BENCHMARK(BM_MemoryPerWidget)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FontKerningMenu(benchmark::State& state) {
    StartHeadless();
    FontSelect(1);
    for (auto _ : state) KYgui_font_kerning(1);
}
// Real time: every grab waits for the rasteriser.
BENCHMARK(BM_FontKerningMenu)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();

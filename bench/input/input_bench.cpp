// Input: the keyboard and mouse refresh ShowScreen makes once a frame, and KeyTyped.
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/input/input.h"
#include "runtime/input/input_device.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

void PushKey(SDL_Scancode key, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.keysym.scancode = key;
    SDL_PushEvent(&e);
}

} // namespace

// KeyboardUpdate, a new mouse frame, and the first mouse read of the frame.
static void FrameInputUpdate(benchmark::State& state) {
    double x, y, b1, b2;
    for (auto _ : state) {
        InputFrameUpdate();
        MouseGetState(x, y, b1, b2);
        benchmark::DoNotOptimize(x);
    }
}
BENCHMARK(FrameInputUpdate);

// The worst case scans all 255 codes: no key held.
static void KeyTypedNothingHeld(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(KeyTyped());
}
BENCHMARK(KeyTypedNothingHeld);

static void KeyTypedLetterHeld(benchmark::State& state) {
    PushKey(SDL_SCANCODE_M, true);
    for (auto _ : state) benchmark::DoNotOptimize(KeyTyped());
    PushKey(SDL_SCANCODE_M, false);
}
BENCHMARK(KeyTypedLetterHeld);

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    AttachSubsystems();
    RuntimeInit(1, "input bench");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

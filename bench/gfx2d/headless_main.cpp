// The main of the 2D benchmarks: SDL's offscreen driver, the runtime started once, then the benchmarks.
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"

#include <benchmark/benchmark.h>
#include <cstdlib>

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    AttachSubsystems();
    RuntimeInit(1, "TMV-Vedu");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

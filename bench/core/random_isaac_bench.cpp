// Rnd: each call is one whole generation step over 256 words.
#include "runtime/core/core.h"

#include <benchmark/benchmark.h>

static void RndCalls(benchmark::State& state) {
    RndSeed(1);
    for (auto _ : state) benchmark::DoNotOptimize(Rnd(1000));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(RndCalls);

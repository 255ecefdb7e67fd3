// RtString: appending short pieces and formatting numbers.
#include "runtime/core/rt_string.h"

#include <benchmark/benchmark.h>

static void AppendShortPieces(benchmark::State& state) {
    for (auto _ : state) {
        RtString s;
        for (int i = 0; i < 1000; ++i) s += "abcd";
        benchmark::DoNotOptimize(s.c_str());
    }
    state.SetBytesProcessed(state.iterations() * 4000);
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(AppendShortPieces);

static void FormatNumbers(benchmark::State& state) {
    double v = 0.123456789;
    for (auto _ : state) {
        RtString s(v);
        benchmark::DoNotOptimize(s.c_str());
        v += 1.25;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FormatNumbers);

static void FormatIntegers(benchmark::State& state) {
    int32_t v = -500000;
    for (auto _ : state) {
        RtString s(v++);
        benchmark::DoNotOptimize(s.c_str());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FormatIntegers);

BENCHMARK_MAIN();

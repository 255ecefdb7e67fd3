// RtArray: element access, DimPush against std::vector::push_back, and SortArray against std::sort.
#include "runtime/core/rt_array.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <random>
#include <vector>

namespace {

// The allocator keeps the memory it was given: otherwise each run's first pushes pay page faults for
// memory the previous run returned, and the figures depend on which benchmark ran before.
const bool kSteadyHeap = mallopt(M_TRIM_THRESHOLD, 256 << 20) && mallopt(M_MMAP_THRESHOLD, 256 << 20);

std::vector<double> ShuffledNumbers(size_t count) {
    std::vector<double> numbers(count);
    std::mt19937 random(42);
    std::uniform_real_distribution<double> value(-1e6, 1e6);
    for (double& n : numbers) n = value(random);
    return numbers;
}

} // namespace

static void ElementAccess(benchmark::State& state) {
    RtArray<double> a;
    Dim(a, 1000);
    double sum = 0;
    for (auto _ : state) {
        for (int32_t i = 0; i < 1000; ++i) sum += a(i);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(ElementAccess);

static void ElementAccess2D(benchmark::State& state) {
    RtArray<double> a;
    Dim(a, 100, 10);
    double sum = 0;
    for (auto _ : state) {
        for (int32_t y = 0; y < 10; ++y)
            for (int32_t x = 0; x < 100; ++x) sum += a(x, y);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(ElementAccess2D);

template <typename T>
static void DimPushMany(benchmark::State& state) {
    const auto count = static_cast<int32_t>(state.range(0));
    benchmark::DoNotOptimize(kSteadyHeap);
    for (auto _ : state) {
        RtArray<T> a;
        for (int32_t i = 0; i < count; ++i) DimPush(a, T{});
        benchmark::DoNotOptimize(a.begin());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(DimPushMany<double>)->Arg(10000)->Arg(1000000);
BENCHMARK(DimPushMany<RtString>)->Arg(10000)->Arg(1000000);

// The peer of DimPushMany in the same run.
template <typename T>
static void VectorPushBack(benchmark::State& state) {
    const auto count = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        std::vector<T> v;
        for (int32_t i = 0; i < count; ++i) v.push_back(T{});
        benchmark::DoNotOptimize(v.data());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(VectorPushBack<double>)->Arg(10000)->Arg(1000000);
BENCHMARK(VectorPushBack<RtString>)->Arg(10000)->Arg(1000000);

static void SortArrayNumbers(benchmark::State& state) {
    std::vector<double> numbers = ShuffledNumbers(100000);
    RtArray<double> a;
    for (auto _ : state) {
        state.PauseTiming();
        Dim(a, 100000);
        std::copy(numbers.begin(), numbers.end(), a.begin());
        state.ResumeTiming();
        SortArray(a);
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(SortArrayNumbers)->Unit(benchmark::kMillisecond);

static void StdSortNumbers(benchmark::State& state) {
    std::vector<double> numbers = ShuffledNumbers(100000);
    std::vector<double> v;
    for (auto _ : state) {
        state.PauseTiming();
        v = numbers;
        state.ResumeTiming();
        std::sort(v.begin(), v.end());
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(StdSortNumbers)->Unit(benchmark::kMillisecond);

static void SortArrayWithComparison(benchmark::State& state) {
    std::vector<double> numbers = ShuffledNumbers(100000);
    RtArray<double> a;
    for (auto _ : state) {
        state.PauseTiming();
        Dim(a, 100000);
        std::copy(numbers.begin(), numbers.end(), a.begin());
        state.ResumeTiming();
        SortArray(a, [](double x, double y) { return x > y ? -1 : 1; });
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(SortArrayWithComparison)->Unit(benchmark::kMillisecond);

// Start-up time and memory of a whole process, and how late the frame loop releases frames.
#include "runtime/core/core.h"
#include "tests/support/headless.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <ctime>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

long long MonotonicNs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// From spawning the probe to its first frame on screen; peak memory of the probe.
void StartUpToFirstFrame(benchmark::State& state) {
    std::string probe = std::string(PROBE_PATH);
    long maxRssKb = 0;
    for (auto _ : state) {
        int out[2];
        if (pipe(out) != 0) state.SkipWithError("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        char* argv[] = {probe.data(), nullptr};
        long long started = MonotonicNs();
        pid_t pid;
        if (posix_spawn(&pid, probe.c_str(), &actions, nullptr, argv, environ) != 0) state.SkipWithError("spawn");
        close(out[1]);
        char text[64] = {};
        ssize_t n = read(out[0], text, sizeof text - 1);
        close(out[0]);
        int status;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        posix_spawn_file_actions_destroy(&actions);
        if (n <= 0) state.SkipWithError("probe printed nothing");
        state.SetIterationTime((std::atoll(text) - started) / 1e9);
        maxRssKb = std::max(maxRssKb, usage.ru_maxrss);
    }
    state.counters["peak_rss_MiB"] = maxRssKb / 1024.0;
}
BENCHMARK(StartUpToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// 600 frames at 60 per second: lateness of each release against its deadline.
void FramePacingLateness(benchmark::State& state) {
    StartRuntime();
    LimitFps(60);
    OpenGLVividoru& device = Device();
    std::vector<double> lateness;
    for (auto _ : state) {
        lateness.clear();
        for (int frame = 0; frame < 600; ++frame) {
            double deadline = device.nextFrameTime;
            PresentFrame(device);
            lateness.push_back(ReadClockMs() - deadline);
        }
    }
    std::sort(lateness.begin(), lateness.end());
    state.counters["median_late_ms"] = lateness[lateness.size() / 2];
    state.counters["p99_late_ms"] = lateness[lateness.size() * 99 / 100];
    state.counters["max_late_ms"] = lateness.back();
}
BENCHMARK(FramePacingLateness)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    UseHeadlessEnvironment();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

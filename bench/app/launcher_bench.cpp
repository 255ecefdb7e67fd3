// The launcher as a whole program, run as a child of the benchmark: from spawn to the first interactive
// frame (split into the runtime's start-up, the kerning, SetScreen's frames and building the dialog),
// its peak memory, and its CPU use while it idles at 60 frames a second offscreen and under Xvfb.
#include "tests/app/launcher_case.h"
#include "tests/app/xvfb_display.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <sstream>
#include <vector>

namespace {

const std::vector<std::string> kEnv = {"TMV_DISPLAY_MODES=1280x1024x32@60,1024x768x32@60,800x600x32@60",
                                       "TMV_DESKTOP_MODE=1280x1024x32@60"};

double NowNs() {
    return static_cast<double>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

ChildResult RunScript(const LauncherCase& c, const std::string& script, const std::string& display) {
    c.Write("script.txt", script);
    std::vector<std::string> env = kEnv;
    env.push_back("TMV_TEST_SCRIPT=" + c.Path("script.txt"));
    return c.Run(env, display);
}

// Frames: 1 ends start-up (the loading frame), 2 follows the font, the kerning and SetScreen's first
// frame, 6 ends SetScreen, 7 is the first frame of the launcher's loop.
void BM_LauncherFirstFrame(benchmark::State& state) {
    std::vector<double> sums(5);
    double peakRss = 0;
    for (auto _ : state) {
        LauncherCase c(LAUNCHER_UNDER_TEST, GAME_STAND_IN);
        double spawn = NowNs();
        ChildResult run = RunScript(c, "1 time t\n2 time t\n3 time t\n6 time t\n7 time t\n8 quit\n", "");
        std::istringstream in(c.Read("t"));
        std::string word;
        std::vector<double> t;
        for (double ns; in >> word >> ns;) t.push_back(ns);
        if (run.status != 0 || t.size() != 5) {
            state.SkipWithError("the launcher did not run its script");
            return;
        }
        double frame = t[2] - t[1];
        double kerning = t[1] - t[0] - frame;
        sums[0] += t[4] - spawn;
        sums[1] += t[0] - spawn;
        sums[2] += kerning;
        sums[3] += t[3] - t[0] - kerning;
        sums[4] += t[4] - t[3];
        peakRss = std::max(peakRss, static_cast<double>(run.peakRssKb));
    }
    const char* names[] = {"total_ms", "startup_ms", "kerning_ms", "setscreen_ms", "dialog_ms"};
    for (size_t i = 0; i < sums.size(); ++i)
        state.counters[names[i]] = sums[i] / 1e6 / static_cast<double>(state.iterations());
    state.counters["peak_rss_mb"] = peakRss / 1024;
}
BENCHMARK(BM_LauncherFirstFrame)->Iterations(5)->Unit(benchmark::kMillisecond);

// Ten seconds of the dialog at rest: CPU time over wall time, in percent of one core.
void BM_LauncherIdle(benchmark::State& state) {
    XvfbDisplay* xvfb = state.range(0) ? new XvfbDisplay : nullptr;
    for (auto _ : state) {
        LauncherCase c(LAUNCHER_UNDER_TEST, GAME_STAND_IN);
        double start = NowNs();
        ChildResult run = RunScript(c, "600 quit\n", xvfb ? xvfb->Name() : "");
        double wall = (NowNs() - start) / 1e9;
        if (run.status != 0) state.SkipWithError("the launcher did not run its script");
        state.counters["cpu_percent"] = 100 * run.cpuSeconds / wall;
        state.counters["wall_s"] = wall;
        state.counters["peak_rss_mb"] = static_cast<double>(run.peakRssKb) / 1024;
    }
    delete xvfb;
}
BENCHMARK(BM_LauncherIdle)->ArgName("xvfb")->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();

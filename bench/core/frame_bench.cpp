// Start-up time and memory of a whole process, how late the frame loop releases frames, and how much
// CPU an idle 60 fps loop uses: ours (showing every frame, or keeping the screen), raylib's pacing, an
// SDL_Delay loop and the idle launcher.
#include "runtime/core/core.h"
#include "tests/app/child_run.h"
#include "tests/support/headless.h"
#ifdef LAUNCHER_UNDER_TEST
#include "tests/app/launcher_case.h"
#endif
#include "tests/app/xvfb_display.h"

#include <GL/gl.h>
#include <SDL.h>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
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

// Idle loops run as children (this program again, "--idle-loop NAME") and measure themselves after a
// warm-up, so start-up is left out and every thread of the child counts.
constexpr int kIdleFrames = 240;
constexpr int kWarmUpFrames = 20;
constexpr int kRounds = 3;

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Seconds() { return static_cast<double>(MonotonicNs()) / 1e9; }

// Calls frame() kWarmUpFrames + kIdleFrames times; prints the CPU percent of the measured frames.
template <typename Frame>
void MeasureIdle(Frame frame) {
    for (int i = 0; i < kWarmUpFrames; ++i) frame();
    double wall = Seconds();
    double cpu = ProcessCpuSeconds();
    for (int i = 0; i < kIdleFrames; ++i) frame();
    std::printf("%f\n", 100 * (ProcessCpuSeconds() - cpu) / (Seconds() - wall));
}

struct GlWindow {
    SDL_Window* window;
    SDL_GLContext context;
};

GlWindow OpenGlWindow() {
    SDL_Init(SDL_INIT_VIDEO);
    SDL_Window* window = SDL_CreateWindow("idle", 0, 0, 640, 480, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    SDL_GL_SetSwapInterval(0);
    return {window, context};
}

void DrainEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {}
}

// raylib's SetTargetFPS(60) pacing: frame time measured from BeginDrawing, the rest waited by WaitTime,
// which sleeps 95 % of it and busy-waits the last 5 % on the high-resolution clock.
void RaylibStyleLoop() {
    GlWindow gl = OpenGlWindow();
    const double target = 1.0 / 60;
    double previous = Seconds();
    auto waitTime = [](double seconds) {
        double destination = Seconds() + seconds;
        double sleep = seconds - seconds * 0.05;
        timespec request{static_cast<time_t>(sleep), static_cast<long>((sleep - static_cast<time_t>(sleep)) * 1e9)};
        nanosleep(&request, nullptr);
        while (Seconds() < destination) {}
    };
    MeasureIdle([&] {
        double current = Seconds(); // BeginDrawing
        double update = current - previous;
        previous = current;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SDL_GL_SwapWindow(gl.window); // EndDrawing
        current = Seconds();
        double draw = current - previous;
        previous = current;
        double frame = update + draw;
        if (frame < target) {
            waitTime(target - frame);
            previous = Seconds();
        }
        DrainEvents(); // PollInputEvents, before the next frame
    });
}

// The common hand-written loop: SDL_Delay for what is left of 16 ms.
void SdlDelayLoop() {
    GlWindow gl = OpenGlWindow();
    MeasureIdle([&] {
        Uint32 start = SDL_GetTicks();
        DrainEvents();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SDL_GL_SwapWindow(gl.window);
        Uint32 spent = SDL_GetTicks() - start;
        if (spent < 1000 / 60) SDL_Delay(1000 / 60 - spent);
    });
}

void RuntimeLoop() {
    StartRuntime();
    LimitFps(60);
    MeasureIdle([] { ShowScreen(); });
}

// Frames that show nothing new: the pacing and the input step alone.
void KeepScreenLoop() {
    StartRuntime();
    LimitFps(60);
    ShowScreen();
    MeasureIdle([] {
        if (ScreenNeedsDrawing() != 0)
            ShowScreen();
        else
            KeepScreen();
    });
}

const char* const kLoops[] = {"ShowScreen", "raylib", "SDL_Delay", "KeepScreen"};

std::vector<std::string> DisplayEnv(const XvfbDisplay* xvfb) {
    if (xvfb) return {"SDL_VIDEODRIVER=x11", "DISPLAY=" + xvfb->Name()};
    return {"SDL_VIDEODRIVER=offscreen", "DISPLAY"};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// CPU of one core used by an empty 60 fps loop, median of three children.
void IdleLoopCpu(benchmark::State& state) {
    const char* loop = kLoops[state.range(0)];
    XvfbDisplay* xvfb = state.range(1) ? new XvfbDisplay : nullptr;
    std::vector<double> percents;
    for (auto _ : state) {
        for (int round = 0; round < kRounds; ++round) {
            ChildResult run = RunChild("/proc/self/exe", {"--idle-loop", loop}, ".", DisplayEnv(xvfb));
            if (run.status != 0) state.SkipWithError("the idle loop did not run");
            percents.push_back(std::atof(run.output.c_str()));
        }
    }
    state.SetLabel(std::string(loop) + (xvfb ? " xvfb" : " offscreen"));
    state.counters["cpu_percent"] = Median(percents);
    delete xvfb;
}
BENCHMARK(IdleLoopCpu)
    ->ArgNames({"loop", "xvfb"})
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

#ifdef LAUNCHER_UNDER_TEST
// The launcher's dialog at rest: the CPU and wall time of a short run are taken from a long one, which
// leaves the launcher's own start-up out.
void LauncherIdleCpu(benchmark::State& state) {
    XvfbDisplay* xvfb = state.range(0) ? new XvfbDisplay : nullptr;
    auto run = [&](int frames, double& cpu, double& wall) {
        LauncherCase c(LAUNCHER_UNDER_TEST, GAME_STAND_IN);
        c.Write("script.txt", std::to_string(frames) + " quit\n");
        std::vector<std::string> env = {"TMV_DISPLAY_MODES=1280x1024x32@60,1024x768x32@60,800x600x32@60",
                                        "TMV_DESKTOP_MODE=1280x1024x32@60", "TMV_TEST_SCRIPT=" + c.Path("script.txt")};
        double start = Seconds();
        ChildResult result = c.Run(env, xvfb ? xvfb->Name() : "");
        wall = Seconds() - start;
        cpu = result.cpuSeconds;
        return result.status == 0;
    };
    std::vector<double> percents;
    for (auto _ : state) {
        for (int round = 0; round < kRounds; ++round) {
            double shortCpu, shortWall, longCpu, longWall;
            if (!run(30, shortCpu, shortWall) || !run(30 + kIdleFrames, longCpu, longWall))
                state.SkipWithError("the launcher did not run its script");
            percents.push_back(100 * (longCpu - shortCpu) / (longWall - shortWall));
        }
    }
    state.SetLabel(xvfb ? "launcher xvfb" : "launcher offscreen");
    state.counters["cpu_percent"] = Median(percents);
    delete xvfb;
}
BENCHMARK(LauncherIdleCpu)->ArgName("xvfb")->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);
#endif

} // namespace

int main(int argc, char** argv) {
    UseHeadlessEnvironment();
    if (argc == 3 && std::strcmp(argv[1], "--idle-loop") == 0) {
        std::string loop = argv[2];
        if (loop == kLoops[0]) RuntimeLoop();
        if (loop == kLoops[1]) RaylibStyleLoop();
        if (loop == kLoops[2]) SdlDelayLoop();
        if (loop == kLoops[3]) KeepScreenLoop();
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

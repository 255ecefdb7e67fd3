// What the test programs share: a headless runtime, pixel read-back, events, the log.
#include "tests/support/headless.h"

#include "platform/paths.h"
#include "runtime/core/core.h"

#include <GL/gl.h>
#include <SDL.h>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

void UseHeadlessEnvironment() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (!std::getenv("TMV_TEST_TMPDIR")) {
        char dir[] = "/tmp/tmv-test-XXXXXX";
        if (!mkdtemp(dir)) std::abort();
        setenv("TMV_TEST_TMPDIR", dir, 1);
    }
    setenv("TMPDIR", std::getenv("TMV_TEST_TMPDIR"), 1);
}

void StartRuntime() {
    if (!Runtime().device) RuntimeInit(1, "TMV-Vedu");
}

uint32_t BackBufferPixel(int x, int y) {
    FlushGL();
    unsigned char rgb[3] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, Device().height - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return rgb[0] | rgb[1] << 8 | rgb[2] << 16;
}

bool PixelNear(uint32_t pixel, uint32_t colour, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>(pixel >> shift & 255) - static_cast<int>(colour >> shift & 255)) > tolerance)
            return false;
    return true;
}

void PushKey(int sdlScancode, bool down) {
    SDL_Event e{down ? SDL_KEYDOWN : SDL_KEYUP}; // an SDL_Event starts with its type
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = static_cast<SDL_Scancode>(sdlScancode);
    e.key.keysym.sym = SDL_GetKeyFromScancode(e.key.keysym.scancode);
    SDL_PushEvent(&e);
}

void PushMouseMotion(int x, int y, int dx, int dy) {
    SDL_Event e{SDL_MOUSEMOTION};
    e.motion.x = x;
    e.motion.y = y;
    e.motion.xrel = dx;
    e.motion.yrel = dy;
    SDL_PushEvent(&e);
}

void PushMouseButton(int sdlButton, bool down) {
    SDL_Event e{down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP};
    e.button.button = static_cast<Uint8>(sdlButton);
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&e);
}

void PushMouseWheel(int steps) {
    SDL_Event e{SDL_MOUSEWHEEL};
    e.wheel.y = steps;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    SDL_PushEvent(&e);
}

void PushWindowEvent(int sdlWindowEvent) {
    SDL_Event e{SDL_WINDOWEVENT};
    e.window.event = static_cast<Uint8>(sdlWindowEvent);
    SDL_PushEvent(&e);
}

void PushQuit() {
    SDL_Event e{SDL_QUIT};
    SDL_PushEvent(&e);
}

long PeakMemoryKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// Linux sets the peak back to the present size.
void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string WriteTempFile(const std::string& name, std::string_view bytes) {
    std::string path = platform::TempDir() + name;
    WriteBytes(path, bytes);
    return path;
}

std::string ReadLog() { return ReadFile(platform::TempDir() + "ErrorLog.txt"); }

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    for (auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs); !done();) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

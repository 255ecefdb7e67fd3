// The frame script: a table of actions by frame, run from a wrapper around ShowScreen's input step.
#include "tests/support/frame_script.h"

#include "runtime/core/subsystem_hooks.h"
#include "tests/support/headless.h"

#include <SDL.h>
#include <map>

namespace {

struct Script {
    bool running = false;
    int frame = 0;
    void (*inputStep)() = nullptr;
    std::multimap<int, std::function<void()>> actions;
    std::string log;
};

Script& TheScript() {
    static Script script;
    return script;
}

void ScriptedInputStep() {
    Script& s = TheScript();
    ++s.frame;
    auto [first, last] = s.actions.equal_range(s.frame);
    for (auto it = first; it != last; ++it) it->second();
    s.actions.erase(s.frame);
    if (s.inputStep) s.inputStep();
}

} // namespace

void StartScript() {
    Script& s = TheScript();
    if (!s.running) s.inputStep = Hooks().updateInput;
    s.running = true;
    s.frame = 0;
    s.actions.clear();
    s.log.clear();
    Hooks().updateInput = ScriptedInputStep;
}

void StopScript() {
    Script& s = TheScript();
    if (s.running) Hooks().updateInput = s.inputStep;
    s.running = false;
    s.actions.clear();
}

void ScriptAt(int frame, std::function<void()> action) { TheScript().actions.emplace(frame, std::move(action)); }

void ScriptMotion(int frame, int x, int y) {
    ScriptAt(frame, [x, y] { PushMouseMotion(x, y, 0, 0); });
}

void ScriptButton(int frame, int sdlButton, bool down) {
    ScriptAt(frame, [sdlButton, down] { PushMouseButton(sdlButton, down); });
}

void ScriptPress(int frame, int x, int y) {
    ScriptMotion(frame, x, y);
    ScriptButton(frame, SDL_BUTTON_LEFT, true);
}

void ScriptClick(int frame, int x, int y) {
    ScriptPress(frame, x, y);
    ScriptButton(frame + 1, SDL_BUTTON_LEFT, false);
}

void ScriptDrag(int frame, const std::vector<std::pair<int, int>>& points) {
    ScriptPress(frame, points[0].first, points[0].second);
    for (size_t i = 1; i < points.size(); ++i) ScriptMotion(frame + int(i), points[i].first, points[i].second);
    ScriptButton(frame + int(points.size()), SDL_BUTTON_LEFT, false);
}

void ScriptKey(int frame, int sdlScancode, int held) {
    ScriptAt(frame, [sdlScancode] { PushKey(sdlScancode, true); });
    ScriptAt(frame + held, [sdlScancode] { PushKey(sdlScancode, false); });
}

// Actions of a frame run in the order they were scheduled: every key goes down in order, then up.
void ScriptChord(int frame, const std::vector<int>& sdlScancodes) {
    for (int code : sdlScancodes) ScriptKey(frame, code);
}

void ScriptWheel(int frame, int steps) {
    ScriptAt(frame, [steps] { PushMouseWheel(steps); });
}

void ScriptScreenshot(int frame, const std::string& path) {
    ScriptAt(frame, [path] {
        if (Hooks().saveScreen) Hooks().saveScreen(RtString(path));
    });
}

void ScriptRecord(int frame, std::function<std::string()> read) {
    ScriptAt(frame, [read = std::move(read)] { TheScript().log += read() + "\n"; });
}

const std::string& ScriptLog() { return TheScript().log; }

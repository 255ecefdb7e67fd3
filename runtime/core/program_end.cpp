// Program end: the end report, RuntimeCleanup in its fixed order, the registered end work, the exit.
#include "platform/paths.h"
#include "runtime/core/core.h"
#include "runtime/core/number_convert.h"
#include "runtime/core/subsystem_hooks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

namespace {

void RunHook(void (*hook)()) {
    if (hook) hook();
}

void CloseFiles() { RunHook(Hooks().closeFiles); }

void ReturnToProgramDir() { platform::SetCurrentDir(platform::ProgramDir()); }

void StopMusic() { RunHook(Hooks().stopMusic); }
void DestroyEngine3D() { RunHook(Hooks().destroyEngine3D); }
void DestroyDevice() { Runtime().device.reset(); }
void DestroyInput() { RunHook(Hooks().destroyInput); }
void DestroySound() { RunHook(Hooks().destroySound); }
void DestroyNetwork() { RunHook(Hooks().destroyNetwork); }
void DestroyArchives() { RunHook(Hooks().destroyArchives); }

void WriteEndReport() {
    RuntimeState& rt = Runtime();
    auto line = [](long long value) { WriteErrorLog(std::to_string(value).c_str()); };
    WriteErrorLog("-End On Line");
    line(NumberToInt(rt.errorCode));
    line(static_cast<long long>(NumberToInt(rt.errorLine)) - 1);
    line(NumberToInt(rt.sourceLine));
    line(NumberToInt(rt.sourceModule));
}

} // namespace

// Each step runs once: an end entered again from inside a step (an event dispatched while the
// window goes away) carries on after that step.
void RuntimeCleanup() {
    static constexpr void (*kSteps[])() = {CloseFiles,      ReturnToProgramDir, StopMusic,
                                           DestroyEngine3D, DestroyDevice,      DestroyInput,
                                           DestroySound,    DestroyNetwork,     DestroyArchives};
    RuntimeState& rt = Runtime();
    while (++rt.endStep < static_cast<int>(std::size(kSteps))) kSteps[rt.endStep]();
}

void RegisterExitHandler(void (*handler)()) { Runtime().exitHandlers.push_back(handler); }

void EndProgram() {
    RuntimeState& rt = Runtime();
    if (rt.endStep < 0 && Settings().debugMode) WriteEndReport();
    RuntimeCleanup();
    while (!rt.exitHandlers.empty()) {
        void (*handler)() = rt.exitHandlers.back();
        rt.exitHandlers.pop_back();
        handler();
    }
    // A program ended by a fatal error must not report success to whoever started it.
    int status = rt.fatalError ? std::clamp(NumberToInt(rt.errorCode), 1, 255) : 0;
    std::fflush(nullptr);
    std::_Exit(status);
}

void EndCommand() {
    SetRuntimeError(0);
    EndProgram();
}

double SetRuntimeError(double code) {
    RuntimeState& rt = Runtime();
    rt.errorCode = code;
    rt.errorLine = rt.sourceLine;
    return code;
}

void SetSourcePosition(double module, double line) {
    RuntimeState& rt = Runtime();
    rt.sourceModule = module;
    rt.sourceLine = line;
}

void RuntimeError(int code) {
    SetRuntimeError(code);
    Runtime().fatalError = true;
    EndProgram();
}

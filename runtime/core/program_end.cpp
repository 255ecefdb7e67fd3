// Program end: the end report, RuntimeCleanup in its fixed order, then the process's exit, whose
// handlers write files back and free libraries.
#include "platform/paths.h"
#include "runtime/core/core_internal.h"
#include "runtime/core/number_convert.h"
#include "runtime/core/subsystem_hooks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <utility>

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

const char* UsualMeaning(int code) {
    switch (code) {
    case 3:
        return "read past the end of the file";
    case 7:
        return "file channel outside 0 to 7";
    case 8:
        return "push or delete on an unsuitable array";
    case 9:
        return "array index outside the array";
    case 20:
        return "data read past the end of its block";
    default:
        return "runtime error";
    }
}

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

// Registered with the process itself, so that a program leaving through exit() or by returning from
// main loses nothing either.
void RegisterExitHandler(void (*handler)()) { std::atexit(handler); }

void EndProgram() {
    RuntimeState& rt = Runtime();
    if (rt.endStep < 0 && Settings().debugMode) WriteEndReport();
    RuntimeCleanup();
    // A program ended by a fatal error must not report success to whoever started it.
    int status = rt.fatalError ? std::clamp(NumberToInt(rt.errorCode), 1, 255) : 0;
    // An end entered from an exit handler or a static destructor: the exit is under way already.
    if (std::exchange(rt.exiting, true)) std::_Exit(status);
    std::exit(status);
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

void RuntimeError(int code) { RuntimeError(code, nullptr, nullptr); }
void RuntimeError(int code, const char* meaning) { RuntimeError(code, meaning, nullptr); }

// One line on standard error and in the log says what happened, to what and where, before the end.
void RuntimeError(int code, const char* meaning, const char* subject) {
    SetRuntimeError(code);
    RuntimeState& rt = Runtime();
    rt.fatalError = true;
    std::string line = "Runtime error " + std::to_string(code) + ": " + (meaning ? meaning : UsualMeaning(code));
    if (subject) line += std::string(": ") + subject;
    if (rt.sourceModule != 0 || rt.sourceLine != 0)
        line += " (module " + std::to_string(NumberToInt(rt.sourceModule)) + ", line " +
                std::to_string(NumberToInt(rt.sourceLine)) + ")";
    std::fprintf(stderr, "%s\n", line.c_str());
    WriteErrorLog(line.c_str());
    EndProgram();
}

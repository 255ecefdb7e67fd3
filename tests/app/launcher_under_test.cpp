// The launcher's test build: the same LauncherMain, driven by a frame script read from the file that
// TMV_TEST_SCRIPT names. One action a line, at a frame (ShowScreen calls since start-up):
//   F click X Y          press at frame F, release at F + 1, at (X, Y) in window pixels
//   F key CODE [CODE]    SDL scan codes held together for one frame
//   F pad plug           plugs in a virtual game pad
//   F pad BUTTON         its button (SDL's numbers: 0 A, 1 B, 9 and 10 the shoulders, 11-14 the D-pad)
//                        pressed for one frame
//   F quit               the window's close request
//   F shot FILE          the frame drawn before ShowScreen F as a PNG
//   F dump FILE ID PROP  appends "ID PROP value" to FILE
//   F time FILE          appends "time ns", the monotonic clock
// Files are relative to the program's folder.
#include "app/launcher.h"
#include "gui/kygui.h"
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "tests/support/frame_script.h"
#include "tests/support/headless.h"

#include <SDL.h>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// A virtual pad that SDL's game-controller layer maps button for button, plugged in by the script.
const SDL_VirtualJoystickDesc kPad = [] {
    SDL_VirtualJoystickDesc pad{};
    pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    pad.naxes = SDL_CONTROLLER_AXIS_MAX;
    pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    return pad;
}();
SDL_Joystick* gPad = nullptr;

void Append(const std::string& file, const std::string& line) { std::ofstream(file, std::ios::app) << line << '\n'; }

void Schedule(std::istringstream& line, int frame, const std::string& verb) {
    std::string a, b, c;
    line >> a >> b >> c;
    if (verb == "click") ScriptClick(frame, std::atoi(a.c_str()), std::atoi(b.c_str()));
    if (verb == "quit") ScriptAt(frame, [] { PushQuit(); });
    if (verb == "shot") ScriptScreenshot(frame, a);
    if (verb == "pad" && a == "plug")
        ScriptAt(frame, [] { gPad = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&kPad)); });
    if (verb == "pad" && a != "plug")
        for (int down : {1, 0})
            ScriptAt(frame + 1 - down, [a, down] { SDL_JoystickSetVirtualButton(gPad, std::atoi(a.c_str()), down); });
    std::vector<int> codes = {std::atoi(a.c_str())};
    if (!b.empty()) codes.push_back(std::atoi(b.c_str()));
    if (verb == "key") ScriptChord(frame, codes);
    if (verb == "dump")
        ScriptAt(frame,
                 [=] { Append(a, b + " " + c + " " + std::string(KYgui_get_str(b.c_str(), c.c_str()).view())); });
    if (verb == "time")
        ScriptAt(frame, [=] {
            auto now = std::chrono::steady_clock::now().time_since_epoch();
            Append(a, "time " + std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        });
}

} // namespace

int main(int argc, char** argv) {
    // The offscreen window never has the focus that SDL otherwise wants before it passes on a pad.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    AttachSubsystems();
    StartScript();
    std::ifstream script(std::getenv("TMV_TEST_SCRIPT") ? std::getenv("TMV_TEST_SCRIPT") : "");
    int frame;
    std::string text, verb;
    while (std::getline(script, text)) {
        std::istringstream line(text);
        if (line >> frame >> verb) Schedule(line, frame, verb);
    }
    // The script wraps the attached input step, so the core starts without attaching again.
    CoreMain(argc, argv, "TMV-Vedu", LauncherMain, LauncherSettings);
}

// A game on the installed runtime and KYgui whose own folders (platform/, runtime/, gui/) and classes
// (Node, Planner, LineFile, RuntimeState, DataBlock) share names with the runtime's internals.
#include "gui/widgets.h"
#include "platform/video.h"
#include "runtime/state.h"

#include <tmv/kygui.h>
#include <tmv/runtime.h>

namespace {

RuntimeState state;

void Play() {
    Planner planner;
    planner.Add(Node{1, 2});
    LineFile title("Planner nodes: " + std::to_string(planner.Count()));
    FontLoad("menu.png", 0);
    KYgui_font_kerning(1);
    KYgui_pushdialog(8, 40, 200, 80);
    KYgui_button("ok", "OK", 0, 0);
    for (;;) {
        KYshow(0);
        TextPrint(title.Line().c_str(), 8, 8);
        ++state.frames;
        ShowScreen();
    }
}

} // namespace

int main(int argc, char** argv) {
    RuntimeMain(argc, argv, "Consumer", Play, [](RuntimeSettings& settings) {
        Video video;
        settings.screenWidth = video.width;
        settings.screenHeight = video.height;
        settings.headlessShotMs = 300;
    });
}

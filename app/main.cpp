// TMV-Vedu: the runtime's entry point and, for now, a demo main routine that shows the loading frame
// in the default font until Escape or the close box. Without a screen it runs for a few seconds and
// saves a screenshot.
#include "platform/paths.h"
#include "platform/video.h"
#include "runtime/gfx2d/bitmap_font.h"
#include "runtime/runtime.h"

#include <cstdio>

namespace {

constexpr double kHeadlessRunMs = 3000;

void DemoMain() {
    for (;;) {
        PrintLoadingText();
        if (platform::Headless() && ElapsedTime() > kHeadlessRunMs) {
            bool saved = ScreenSave("screenshot.png");
            std::printf("%s\n",
                        saved ? (platform::CurrentDir() + "/screenshot.png").c_str() : "screenshot could not be saved");
            EndCommand();
        }
        ShowScreen();
    }
}

} // namespace

int main(int argc, char** argv) { RuntimeMain(argc, argv, "TMV-Vedu", DemoMain); }

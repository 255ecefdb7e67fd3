// TMV-Vedu: the runtime's entry point and, for now, a demo main routine that shows the loading frame
// until Escape or the close box. Without a screen it runs for a few seconds and saves a screenshot.
#include "app/screenshot.h"
#include "platform/video.h"
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"

#include <cstdio>

namespace {

constexpr double kHeadlessRunMs = 3000;

void DemoMain() {
    for (;;) {
        if (platform::Headless() && ElapsedTime() > kHeadlessRunMs) {
            std::string path = SaveScreenshot("screenshot.png");
            std::printf("%s\n", path.empty() ? "screenshot could not be saved" : path.c_str());
            EndCommand();
        }
        ShowScreen();
    }
}

} // namespace

int main(int argc, char** argv) {
    AttachSubsystems();
    RuntimeMain(argc, argv, "TMV-Vedu", DemoMain);
}

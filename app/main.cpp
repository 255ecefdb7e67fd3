// TMV-Vedu: the runtime's entry point and, for now, a demo main routine that shows the loading frame
// in the default font until Escape or the close box. Without a screen it runs for a few seconds and
// saves a screenshot.
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/bitmap_font.h"

namespace {

void DemoMain() {
    for (;;) {
        PrintLoadingText();
        ShowScreen();
    }
}

void Configure(RuntimeSettings& settings) { settings.headlessShotMs = 3000; }

} // namespace

int main(int argc, char** argv) {
    AttachSubsystems();
    RuntimeMain(argc, argv, "TMV-Vedu", DemoMain, Configure);
}

// TMV-Vedu: the runtime's entry point running the launcher. Without a screen the dialog shows for
// about 3 s, then a screenshot is saved beside the program and the launcher ends as the close box
// does: nothing stored, nothing started.
#include "app/launcher.h"
#include "runtime/runtime.h"

namespace {

void Configure(RuntimeSettings& settings) {
    LauncherSettings(settings);
    settings.headlessShotMs = 3000;
}

} // namespace

int main(int argc, char** argv) { RuntimeMain(argc, argv, "TMV-Vedu", LauncherMain, Configure); }

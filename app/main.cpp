// TMV-Vedu: the runtime's entry point running the launcher.
#include "app/launcher.h"
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"

int main(int argc, char** argv) {
    AttachSubsystems();
    RuntimeMain(argc, argv, "TMV-Vedu", LauncherMain, LauncherSettings);
}

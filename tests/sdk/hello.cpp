// The smallest program on the installed runtime: compiled with nothing but pkg-config's flags.
#include <tmv/gfx2d.h>
#include <tmv/runtime.h>

int main(int argc, char** argv) {
    RuntimeMain(
        argc, argv, "Hello",
        [] {
            for (;;) {
                TextPrint("Hello from the installed runtime", 8, 8);
                ShowScreen();
            }
        },
        [](RuntimeSettings& settings) { settings.headlessShotMs = 500; });
}

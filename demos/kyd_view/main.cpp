// kyd_view: a KYD object turning in fog, lit by a head light and a coloured spot light. Give the
// object's file as the argument, or it shows the sphere beside the program. Without a screen it runs
// for 3 s, saves a screenshot and prints its path.
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/video.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/runtime.h"

#include <cstdio>
#include <string>

namespace {

constexpr double kHeadlessRunMs = 3000;
constexpr int32_t kMesh = 0;
std::string objectFile = "sphere_compact.kyd";

void ViewMain() {
    if (!MeshLoad(kMesh, objectFile.c_str())) {
        std::fprintf(stderr, "kyd_view: cannot load %s\n", objectFile.c_str());
        EndCommand();
    }
    for (;;) {
        double seconds = ElapsedTime() / 1000.0;
        Scene3DBegin(1, 20, 60);
        CameraSet(0, 0, 4, 0, 0, 0);
        FogSet(0x302018, 0, 3, 12);
        LightSet(0, 0x909090, 0, 0, 0, 0, 0, 0, 1);
        LightSet(1, 0x2080FF, 2, 3, 3, -2, -3, -3, 30);
        ObjectTurn(20, seconds * 40, 0);
        MeshDraw(kMesh);
        if (platform::Headless() && ElapsedTime() > kHeadlessRunMs) {
            bool saved = ScreenSave("kyd_view.png");
            std::printf("%s\n",
                        saved ? (platform::CurrentDir() + "/kyd_view.png").c_str() : "screenshot could not be saved");
            EndCommand();
        }
        ShowScreen();
    }
}

} // namespace

int main(int argc, char** argv) {
    // Before start-up, which makes the program's folder the current one.
    if (argc > 1) objectFile = platform::AbsolutePath(argv[1]);
    RuntimeMain(argc, argv, "kyd_view", ViewMain);
}

// kyd_view: KYD objects turning on a floor in fog, lit by a head light and a coloured spot light, the
// shadow light casting their stencil shadows. Give an object's file or a collection file (".ini") as
// the argument, or it shows the textured collection beside the program. Without a screen it runs for
// 3 s, saves a screenshot and prints its path. It ends with status 1 when nothing can be loaded.
#include "platform/paths.h"
#include "platform/video.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/runtime.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr double kHeadlessRunMs = 3000;
constexpr int32_t kFloor = 0, kFirstObject = 1;
constexpr double kSpacing = 3;
std::string sceneFile = "objects.ini";

bool IsCollection(const std::string& file) { return file.size() > 4 && file.compare(file.size() - 4, 4, ".ini") == 0; }

[[noreturn]] void CannotLoad(const std::string& file) {
    std::fprintf(stderr, "kyd_view: cannot load %s\n", file.c_str());
    std::exit(1);
}

// Object i of count, turning in its place along a row across the floor.
void PlaceObject(int32_t i, int32_t count, double seconds) {
    ObjectReset();
    ObjectMove((i - (count - 1) / 2.0) * kSpacing, 1, 0);
    ObjectTurn(20, seconds * 40 + i * 30, 0);
}

void ViewMain() {
    int32_t count = IsCollection(sceneFile) ? MeshLoadCollection(kFirstObject, sceneFile.c_str())
                                            : MeshLoad(kFirstObject, sceneFile.c_str());
    if (count == 0) CannotLoad(sceneFile);
    if (!MeshLoad(kFloor, "floor.kyd")) CannotLoad("floor.kyd");
    for (;;) {
        // Headless, every frame shows the screenshot's moment: the same picture on every run.
        double seconds = (platform::Headless() ? kHeadlessRunMs : ElapsedTime()) / 1000.0;
        Scene3DBegin(1, 40, 60);
        CameraSet(0, 5, 9, 0, 0.5, 0);
        // From the objects' distance on, so the far floor fades into it.
        FogSet(0x5A4030, 0, 6, 26);
        LightSet(0, 0x909090, 0, 0, 0, 0, 0, 0, 1);
        LightSet(1, 0x2080FF, 3, 6, 4, -3, -6, -4, 30);
        ObjectMove(0, -0.1, 0);
        MeshDraw(kFloor);
        for (int32_t i = 0; i < count; ++i) {
            PlaceObject(i, count, seconds);
            MeshDraw(kFirstObject + i);
        }
        // The shadow light enters the stencil mode; its volumes are drawn under each object's transform.
        LightSet(-3, 0xFFFFFF, -4, 9, 3, 0, 0, 0, 1);
        for (int32_t i = 0; i < count; ++i) {
            PlaceObject(i, count, seconds);
            MeshDrawShadow(kFirstObject + i);
        }
        ShadowMode(0);
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
    if (argc > 1) sceneFile = platform::AbsolutePath(argv[1]);
    RuntimeMain(argc, argv, "kyd_view", ViewMain);
}

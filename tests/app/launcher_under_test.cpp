// The launcher's test build: the same LauncherMain, driven by a frame script read from the file that
// TMV_TEST_SCRIPT names. One action a line, at a frame (ShowScreen calls since start-up):
//   F click ID [DX DY]   press at frame F, release at F + 1, at the widget's laid-out place: DX, DY
//                        from its top-left ("c" the middle, a negative number from the far edge)
//   F move X Y           the pointer to (X, Y) in window pixels
//   F key CODE...        SDL scan codes held together for one frame
//   F quit               the window's close request
//   F shot FILE          the frame drawn before ShowScreen F as a PNG
//   F dump FILE ID PROP  appends "ID PROP value" to FILE ("" addresses the dialog)
//   F place FILE ID      appends "ID x y width height", the widget's laid-out rectangle
//   F window FILE        appends "window width height title"
//   F time FILE          appends "time ns", the monotonic clock
// Files are relative to the program's folder.
#include "app/launcher.h"
#include "gui/kygui.h"
#include "gui/kygui_state.h"
#include "platform/video.h"
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/gfx2d.h"
#include "tests/support/frame_script.h"
#include "tests/support/headless.h"

#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

// The flow layout of the active dialog (no title bar, no scroll bar): rows from the content area's
// top-left, 2 pixels apart, a widget that does not fit opening the next row.
Rect LaidOut(const std::string& id) {
    const KYguiDialog& d = KYgui().dialogs.back();
    const int spacing = 2;
    int x0 = d.xpos + 5, y0 = d.ypos + 5, areaWidth = d.frame.width - 10;
    int cx = x0, cy = y0, rowHeight = 0;
    for (const KYguiDrawOrder& entry : d.draw_order) {
        const KYguiWidget& w = d.widgets[static_cast<size_t>(entry.index)];
        if (w.hide != 0) continue;
        if (cx + w.width > x0 + areaWidth) {
            cx = x0;
            cy += rowHeight + spacing;
            rowHeight = w.height;
        }
        if (std::string(w.id.view()) == id) return {cx, cy, w.width, w.height};
        cx += std::min(w.width, x0 + areaWidth - cx) + spacing;
        rowHeight = std::max(rowHeight, w.height);
    }
    std::fprintf(stderr, "no widget %s\n", id.c_str());
    std::exit(3);
}

int Offset(const std::string& text, int size) {
    if (text == "c") return size / 2;
    int offset = std::atoi(text.c_str());
    return offset < 0 ? size + offset : offset;
}

void Append(const std::string& file, const std::string& line) { std::ofstream(file, std::ios::app) << line << '\n'; }

void Schedule(std::istringstream& line, int frame, const std::string& verb) {
    std::string a, b, c;
    line >> a >> b >> c;
    if (verb == "click") {
        ScriptAt(frame, [=] {
            Rect r = LaidOut(a);
            int x = r.x + Offset(b.empty() ? "c" : b, r.width), y = r.y + Offset(c.empty() ? "c" : c, r.height);
            PushMouseMotion(x, y, 0, 0);
            PushMouseButton(SDL_BUTTON_LEFT, true);
        });
        ScriptButton(frame + 1, SDL_BUTTON_LEFT, false);
    } else if (verb == "move") {
        ScriptMotion(frame, std::atoi(a.c_str()), std::atoi(b.c_str()));
    } else if (verb == "key") {
        std::vector<int> codes;
        for (const std::string& code : {a, b, c})
            if (!code.empty()) codes.push_back(std::atoi(code.c_str()));
        ScriptAt(frame, [=] {
            for (int code : codes) PushKey(code, true);
        });
        ScriptAt(frame + 1, [=] {
            for (int code : codes) PushKey(code, false);
        });
    } else if (verb == "quit") {
        ScriptAt(frame, [] { PushQuit(); });
    } else if (verb == "shot") {
        ScriptScreenshot(frame, a);
    } else if (verb == "dump") {
        std::string id = b == "\"\"" ? "" : b;
        ScriptAt(frame,
                 [=] { Append(a, b + " " + c + " " + std::string(KYgui_get_str(id.c_str(), c.c_str()).view())); });
    } else if (verb == "place") {
        ScriptAt(frame, [=] {
            Rect r = LaidOut(b);
            Append(a, b + " " + std::to_string(r.x) + " " + std::to_string(r.y) + " " + std::to_string(r.width) + " " +
                          std::to_string(r.height));
        });
    } else if (verb == "window") {
        ScriptAt(frame, [=] {
            int width, height;
            platform::ClientSize(Runtime().window, width, height);
            Append(a, "window " + std::to_string(width) + " " + std::to_string(height) + " " +
                          platform::WindowTitle(Runtime().window));
        });
    } else if (verb == "time") {
        ScriptAt(frame, [=] {
            auto now = std::chrono::steady_clock::now().time_since_epoch();
            Append(a, "time " + std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        });
    }
}

void ReadScript(const char* path) {
    std::ifstream in(path);
    std::string text;
    while (std::getline(in, text)) {
        std::istringstream line(text);
        int frame;
        std::string verb;
        if (line >> frame >> verb) Schedule(line, frame, verb);
    }
}

} // namespace

int main(int argc, char** argv) {
    AttachSubsystems();
    StartScript();
    if (const char* script = std::getenv("TMV_TEST_SCRIPT")) ReadScript(script);
    // The script wraps the attached input step, so the core starts without attaching again.
    CoreMain(argc, argv, "TMV-Vedu", LauncherMain, LauncherSettings);
}

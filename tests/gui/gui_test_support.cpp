// The toolkit tests' start-up, frames and debug output.
#include "tests/gui/gui_test_support.h"

#include "runtime/attach_subsystems.h"

#include <algorithm>
#include <cstdlib>

void StartGui() {
    AttachSubsystems();
    StartRuntime();
    StopScript();
    KYguiState& k = KYgui();
    k.dialogs.clear();
    FontLoad(TMV_ASSET_DIR "/smalfont.bmp", 0); // 8 x 16 cells, whatever a test loaded before
    KYgui_font_kerning(0);
    k.smoothShading = 0;
    k.keyboard_open = 0;
    PushMouseButton(SDL_BUTTON_LEFT, false);
    for (int code : {SDL_SCANCODE_RIGHT, SDL_SCANCODE_LEFT, SDL_SCANCODE_UP, SDL_SCANCODE_DOWN, SDL_SCANCODE_LSHIFT,
                     SDL_SCANCODE_BACKSPACE, SDL_SCANCODE_DELETE, SDL_SCANCODE_ESCAPE})
        PushKey(code, false);
    // As after any dialog's first frame: a pointer of its own, not relative motion.
    MouseShowPointer(1);
    PushMouseMotion(639, 479, 0, 0);
    ShowScreen();
    k.pressed = 0;
    k.last_key = 0;
    k.last_key_time = 0;
    SetViewport(0, 0, 0, 0);
    SetBlendMode(0);
    ClearScreen();
    LimitFps(60);
}

void StartDialog(int32_t width, int32_t height) {
    StartGui();
    KYgui_pushdialog(0, 0, width, height);
}

void RunFrames(int n) {
    for (int i = 0; i < n; ++i) {
        KYshow(0);
        ShowScreen();
    }
}

void PointerTo(int x, int y) {
    PushMouseMotion(x, y, 0, 0);
    RunFrames(1);
}

void ExpectPixels(std::initializer_list<Pixel> pixels) {
    for (const Pixel& p : pixels) EXPECT_EQ(BackBufferPixel(p.x, p.y) == p.colour, p.is) << p.x << "," << p.y;
}

std::string Watch(int n, const std::function<std::string()>& read) {
    std::string seen;
    for (int i = 0; i < n; ++i) {
        ShowScreen();
        KYshow(0);
        seen += read();
    }
    ShowScreen();
    StopScript();
    return seen;
}

std::function<std::string()> Properties(const std::string& names) {
    return [names] {
        std::string values;
        for (size_t start = 0; start < names.size();) {
            size_t dot = names.find('.', start), end = std::min(names.find(' ', start), names.size());
            if (start) values += ',';
            values += KYgui_get_str(names.substr(start, dot - start), names.substr(dot + 1, end - dot - 1)).c_str();
            start = end + 1;
        }
        return values + " ";
    };
}

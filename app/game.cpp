// "game.exe": the demo game the launcher starts. It opens its window as tmv.ini says and shows the
// settings it received and its command line until Escape or the close box; it only reads tmv.ini.
// Without a screen it shows its text for a second, saves a screenshot beside itself, prints its path
// and ends.
#include "runtime/files/files.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/runtime.h"

namespace {

struct Setting {
    const char* section;
    const char* key;
};

constexpr Setting kSettings[] = {
    {"screen", "resx"},    {"screen", "resy"},  {"screen", "bpp"},   {"screen", "frequency"}, {"screen", "windowed"},
    {"control", "method"}, {"music", "volume"}, {"sound", "volume"}, {"voice", "volume"},
};

bool HasSwitch(const RtString& commandLine, std::string_view name) {
    std::string_view rest = commandLine.view();
    while (!rest.empty()) {
        size_t space = rest.find(' ');
        if (rest.substr(0, space) == name) return true;
        rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
    }
    return false;
}

// A missing or unusable size keeps the start-up window.
int32_t StoredSize(const char* key, int32_t fallback) {
    RtString value = IniReadValue("screen", key);
    int32_t size = value.ToInt();
    return size > 0 ? size : fallback;
}

void GameMain() {
    IniSelectFile("tmv.ini");
    SetScreen(StoredSize("resx", 640), StoredSize("resy", 480), IniReadValue("screen", "windowed") == "0" ? 1 : 0);
    for (;;) {
        ClearScreen();
        int32_t cellWidth, cellHeight;
        FontGetSize(cellWidth, cellHeight);
        double y = cellHeight;
        auto line = [&](const RtString& text) {
            TextPrint(text, cellWidth, y);
            y += cellHeight;
        };
        line("TMV-Vedu demo game: the settings it received from tmv.ini");
        y += cellHeight;
        for (const Setting& s : kSettings)
            line(RtString("[") + s.section + "] " + s.key + " = " + IniReadValue(s.section, s.key));
        y += cellHeight;
        line("Command line: " + CommandLine());
        if (!HasSwitch(CommandLine(), "-tmv")) line("The switch -tmv is missing: not started by the launcher.");
        y += cellHeight;
        line("Escape ends the game.");
        ShowScreen();
    }
}

void Configure(RuntimeSettings& settings) {
    settings.headlessShotMs = 1000;
    settings.headlessShotPath = "game-screenshot.png";
}

} // namespace

int main(int argc, char** argv) { RuntimeMain(argc, argv, "TMV-Vedu game", GameMain, Configure); }

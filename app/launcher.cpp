// The launcher's main routine: the settings dialog, its frame loop, and starting the game.
#include "app/launcher.h"
#include "gui/kygui.h"
#include "platform/message_box.h"
#include "platform/mouse_pointer.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "runtime/core/core.h"
#include "runtime/core/runtime_state.h"
#include "runtime/files/file_rewrite.h"
#include "runtime/files/files.h"
#include "runtime/files/ini_file.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/input/input.h"

#include <cerrno>
#include <cstring>
#include <string>

namespace {

constexpr CallByNameEntry kCallByName[] = {
    {KYgui_DebugHelpers, "__KYgui_Helpers___"},
    {KYgui_DebugWidgets, "__KYgui_Widgets___"},
    {nullptr, nullptr},
};

// Every row starts on a new line, 4 pixels down, indented by 32.
void RowBreak() {
    KYgui_spacer(10000, 4);
    KYgui_spacer(32, 1);
}

void BuildDialog() {
    KYgui_pushdialog(0, 0, 300, 500);
    SpriteLoad("tmv.png", 0);
    // The logo sits centred: the button is the picture and a 2-pixel border on each side.
    int32_t logoWidth, logoHeight;
    SpriteGetSize(0, logoWidth, logoHeight);
    int32_t indent = (300 - 10 - (logoWidth + 4)) / 2 - 2;
    if (indent > 0) KYgui_spacer(indent, 1);
    KYgui_button("bt_img", "SPR_B0", 0, 0);
    KYgui_set("bt_img", "READONLY", "1");
    RowBreak();
    KYgui_button("bt_play", "Play", 200, 20);
    CollectDisplayModes();
    SortArray(Launcher().modes, CompareDisplayModes);
    RowBreak();
    KYgui_list("ls_res", "", 200, 64);
    ReadScreenSettings();
    RowBreak();
    KYgui_radio("ls_ctrl", "Mouse|Keyboard|Joystick|Joypad", 200);
    const char* volumes[][2] = {{"Music Volume", "sl_mvol"}, {"SFX Volume", "sl_svol"}, {"Voice Volume", "sl_vvol"}};
    for (const auto& [caption, slider] : volumes) {
        RowBreak();
        KYgui_widget("", caption, 100, 0);
        KYgui_slider(slider, 0.5, 100, 0);
    }
    RowBreak();
    KYgui_checkbox("ch_win", "Windowed", 0, 0);
    RowBreak();
    KYgui_button("bt_exit", "Exit", 200, 0);
    RowBreak();
    KYgui_widget("", "\xA9 2026 the TMV-Vedu project", 200, 0);
}

// Only game.exe in the program's own folder is started, never one found elsewhere, and its path is
// one argument as it is: any folder name Linux allows works.
bool StartGame(std::string& program) {
    program = platform::ProgramDir() + "/game.exe";
    int ignored = 0;
    return platform::StartProcess(program, {program, "-tmv"}, false, ignored);
}

// Play, the logo and Exit: tmv.ini reaches the disk before the game starts, so the game reads the new
// settings. Choices that could not be stored, and a game that would not start, are told to whoever is
// at the screen, logged, and end the program with a status saying so.
[[noreturn]] void StoreAndEnd(bool play) {
    StoreSettings();
    std::string failure;
    if (!IniFlush()) {
        std::string ini = platform::ProgramDir() + "/tmv.ini";
        failure = ini + ": " + RewriteFailure();
        platform::ShowWarningBox("TMV-Vedu", ("The settings could not be stored in\n" + ini + "\n\n" +
                                              RewriteFailure() + ".\nThe settings stored before are kept.")
                                                 .c_str());
    }
    std::string program;
    if (play && !StartGame(program)) {
        std::string reason = std::strerror(errno);
        WriteErrorLog(("Could not start " + program).c_str());
        platform::ShowWarningBox("TMV-Vedu", ("The game could not be started:\n" + program + "\n\n" + reason).c_str());
        RuntimeError(kGameNotStartedStatus, "the game could not be started", (program + ": " + reason).c_str());
    }
    if (!failure.empty()) RuntimeError(kSettingsNotStoredStatus, "the settings could not be stored", failure.c_str());
    EndCommand();
}

} // namespace

LauncherState& Launcher() {
    static LauncherState state;
    return state;
}

// Under the offscreen driver a window keeps the drawing surface it was made with, so the window
// opens at the dialog's size.
void LauncherSettings(RuntimeSettings& settings) {
    settings.screenWidth = 300;
    settings.screenHeight = 500;
}

void LauncherMain() {
    Runtime().callByName = kCallByName;
    IniSelectFile("tmv.ini");
    FontLoad("menu.png", 0);
    KYgui_font_kerning(1);
    SetScreen(300, 500, 0);
    BuildDialog();
    KYshow(1);
    ApplyStoredSettings();
    // Usable by the keys alone from the first frame, and nothing looks hovered before the pointer
    // comes: start-up leaves the pointer at (100, 100), over Play, so it waits in the frame's corner.
    KYgui_set("", "FOCUS", "bt_play");
    platform::WarpPointer(Runtime().window, 0, 0);
    MouseSetPosition(0, 0);
    // A frame that would look as the one on screen is handled but neither drawn nor shown: at rest the
    // launcher only waits for the frame period.
    for (;;) {
        bool changed = KYgui_changed() != 0;
        if (changed) DrawFilledRect(0, 0, 500, 1000, 0xFFFFFF);
        KYshow(1);
        bool play = KYgui_get("bt_play", "CLICKED") != 0 || KYgui_get("bt_img", "CLICKED") != 0;
        if (play || KYgui_get("bt_exit", "CLICKED") != 0) StoreAndEnd(play);
        if (changed)
            ShowScreen();
        else
            KeepScreen();
    }
}

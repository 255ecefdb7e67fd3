// The launcher and the demo game as whole programs, each run as a child in a fresh folder: the
// launcher's test build under a frame script, offscreen and in a real X window.
#include "runtime/gfx2d/image_file.h"
#include "tests/app/launcher_case.h"
#include "tests/app/xvfb_display.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace {

// Largest first: 1920x1080 60, 1600x1200 75, 1280x1024 75, 1280x1024 60 (the desktop), 1024x768 60
// twice, 640x480 16 bits; the 0 and 1 Hz modes are left out.
const std::string kModes = "TMV_DISPLAY_MODES=1024x768x32@60,1280x1024x32@60,800x600x32@0,1280x1024x32@1,"
                           "640x480x16@60,1024x768x32@60,1920x1080x32@60,1600x1200x32@75,1280x1024x32@75";
const std::string kDesktop = "TMV_DESKTOP_MODE=1280x1024x32@60";
const std::string kModeList = "1920x1080x32bpp, 60Hz|1600x1200x32bpp, 75Hz|1280x1024x32bpp, 75Hz|1280x1024x32bpp, "
                              "60Hz|1024x768x32bpp, 60Hz|1024x768x32bpp, 60Hz|640x480x16bpp, 60Hz";

std::string Ini(const std::string& screen, int windowed, int method, int music, int sound, int voice) {
    return "[screen]\r\n" + screen + "windowed=" + std::to_string(windowed) +
           "\r\n[control]\r\nmethod=" + std::to_string(method) + "\r\n[music]\r\nvolume=" + std::to_string(music) +
           "\r\n[sound]\r\nvolume=" + std::to_string(sound) + "\r\n[voice]\r\nvolume=" + std::to_string(voice) + "\r\n";
}
const std::string kDesktopScreen = "resx=1280\r\nresy=1024\r\nbpp=32\r\nfrequency=60\r\n";
const std::string kUnofferedScreen = "resx=1600\r\nresy=900\r\nbpp=32\r\nfrequency=60\r\n";
const std::string kDefaultsIni = Ini(kDesktopScreen, 0, 1, 50, 90, 70);
// Comments, blanks around "=" and a section of somebody else: any rewrite would show.
const std::string kForeignIni = "; kept by hand\r\n[screen]\r\nresx = 1024\r\n\r\n[other]\r\nname=x\r\n";

// Where the dialog's widgets stand with the shipped menu.png: known places, not computed ones.
struct Place {
    int x, y, width, height;
    std::string Centre() const { return std::to_string(x + width / 2) + " " + std::to_string(y + height / 2); }
};
const Place kLogo{28, 5, 244, 84}, kPlay{39, 97, 200, 20}, kResList{39, 125, 200, 64}, kControl{39, 197, 200, 80},
    kMusic{141, 285, 100, 16}, kWindowed{39, 369, 176, 26}, kExit{39, 403, 200, 24};

// Each case runs once offscreen and once in a real X window.
class LauncherRun : public testing::TestWithParam<bool> {
  protected:
    static void SetUpTestSuite() { xvfb_ = new XvfbDisplay; }
    static void TearDownTestSuite() {
        delete xvfb_;
        xvfb_ = nullptr;
    }
    void SetUp() override {
        if (GetParam() && xvfb_->Name().empty()) GTEST_SKIP() << "Xvfb could not start";
    }

    // The frame script, one action a line; the launcher's loop runs from frame 7 on.
    ChildResult Run(const LauncherCase& c, const std::string& script, std::vector<std::string> env = {kModes, kDesktop},
                    const std::string& startFolder = "") const {
        c.Write("script.txt", script);
        env.push_back("TMV_TEST_SCRIPT=" + c.Path("script.txt"));
        return c.Run(env, GetParam() ? xvfb_->Name() : "", startFolder);
    }

    static XvfbDisplay* xvfb_;
};

XvfbDisplay* LauncherRun::xvfb_ = nullptr;

std::string Folder(const LauncherCase& c) { return std::filesystem::canonical(c.Folder()).string(); }

// "ID PROP value" lines as a map from "ID PROP".
std::map<std::string, std::string> Dumps(const LauncherCase& c, const std::string& file) {
    std::map<std::string, std::string> values;
    std::istringstream in(c.Read(file));
    std::string line;
    while (std::getline(in, line)) {
        size_t second = line.find(' ', line.find(' ') + 1);
        values[line.substr(0, second)] = second == std::string::npos ? "" : line.substr(second + 1);
    }
    return values;
}

void ExpectGameStarted(const LauncherCase& c, const std::string& ini) {
    GameRecord record = c.Record();
    ASSERT_TRUE(record.ran);
    EXPECT_EQ(record.args, std::vector<std::string>{"-tmv"});
    EXPECT_EQ(record.folder, Folder(c));
    EXPECT_TRUE(record.iniFound);
    EXPECT_EQ(record.ini, ini);
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Screens, LauncherRun, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& screen) {
                             return screen.param ? "Xvfb" : "Offscreen";
                         });

TEST_P(LauncherRun, FirstRunListsTheModesAndSelectsTheDesktop) {
    LauncherCase c(LAUNCHER_UNDER_TEST, GAME_STAND_IN);
    std::string script;
    for (const char* widgetProperty : {"ls_res TEXT", "ls_res SELECT", "ls_res SCROLL", "ls_ctrl SELECT",
                                       "sl_mvol TEXT", "sl_svol TEXT", "sl_vvol TEXT", "ch_win SELECT"})
        script += std::string("12 dump values.txt ") + widgetProperty + "\n";
    ChildResult run = Run(c, script + "12 window window.txt\n14 quit\n");
    EXPECT_EQ(run.status, 0);
    std::map<std::string, std::string> values = Dumps(c, "values.txt");
    EXPECT_EQ(values["ls_res TEXT"], kModeList);
    EXPECT_EQ(values["ls_res SELECT"], "3");
    EXPECT_EQ(values["ls_res SCROLL"], "1");
    EXPECT_EQ(values["ls_ctrl SELECT"], "0");
    EXPECT_NEAR(std::atof(values["sl_mvol TEXT"].c_str()), 50 / 99.0, 1e-9);
    EXPECT_NEAR(std::atof(values["sl_svol TEXT"].c_str()), 90 / 99.0, 1e-9);
    EXPECT_NEAR(std::atof(values["sl_vvol TEXT"].c_str()), 70 / 99.0, 1e-9);
    EXPECT_EQ(values["ch_win SELECT"], "0");
    if (GetParam()) {
        EXPECT_EQ(c.Read("window.txt"), "window 300 500 TMV-Vedu\n");
    }
    EXPECT_FALSE(c.Exists("tmv.ini"));
    EXPECT_FALSE(c.Record().ran);
}

TEST_P(LauncherRun, QuitKeysAndTheCloseBoxStoreNothing) {
    const std::pair<const char*, const char*> ways[] = {
        {"close box", "14 quit\n"}, {"Escape", "14 key 41\n"}, {"Alt+F4", "14 key 226 61\n"}};
    for (const auto& [name, script] : ways)
        for (const char* ini : {kForeignIni.c_str(), ""}) {
            SCOPED_TRACE(name);
            LauncherCase c(LAUNCHER_UNDER_TEST, GAME_STAND_IN);
            if (*ini) c.Write("tmv.ini", ini);
            EXPECT_EQ(Run(c, std::string(script) + "40 quit\n").status, 0);
            if (*ini)
                EXPECT_EQ(c.Read("tmv.ini"), ini);
            else
                EXPECT_FALSE(c.Exists("tmv.ini"));
            EXPECT_FALSE(c.Record().ran);
        }
}

TEST_P(LauncherRun, ButtonsStoreAndPlayAndTheLogoStartTheGame) {
    const std::tuple<const char*, Place, bool> buttons[] = {
        {"Play", kPlay, true}, {"logo", kLogo, true}, {"Exit", kExit, false}};
    for (const auto& [button, place, starts] : buttons) {
        SCOPED_TRACE(button);
        LauncherCase c(LAUNCHER_UNDER_TEST, GAME_STAND_IN);
        EXPECT_EQ(Run(c, "12 click " + place.Centre() + "\n40 quit\n").status, 0);
        EXPECT_EQ(c.Read("tmv.ini"), kDefaultsIni);
        if (starts)
            ExpectGameStarted(c, kDefaultsIni);
        else
            EXPECT_FALSE(c.Record().ran);
    }
}

TEST_P(LauncherRun, ChoicesAreStored) {
    LauncherCase c(LAUNCHER_UNDER_TEST, GAME_STAND_IN);
    // The list shows from its second entry on (SCROLL 1): its first line is 1600x1200 75 Hz.
    std::string script = "12 click 139 133\n" // the list's first line
                         "16 click 139 247\n" // the third line of the control methods: Joystick
                         "20 click 240 293\n" // the music slider's right end
                         "24 click 45 382\n"  // Windowed
                         "28 click " +
                         kPlay.Centre() + "\n50 quit\n";
    EXPECT_EQ(Run(c, script).status, 0);
    std::string stored = Ini("resx=1600\r\nresy=1200\r\nbpp=32\r\nfrequency=75\r\n", 1, 3, 99, 90, 70);
    EXPECT_EQ(c.Read("tmv.ini"), stored);
    ExpectGameStarted(c, stored);
}

// A frame script from names, one press every second frame from frame 12, then a quit: keys by SDL
// scan code ("shift+tab" holds both), or with pad the virtual pad's buttons by SDL's numbers.
std::string PressScript(const std::string& names, bool pad = false) {
    static const std::map<std::string, int> kKeys = {{"tab", 43},  {"return", 40}, {"enter", 88}, {"space", 44},
                                                     {"down", 81}, {"up", 82},     {"left", 80},  {"right", 79},
                                                     {"end", 77},  {"pgdn", 78},   {"shift", 225}};
    static const std::map<std::string, int> kButtons = {{"a", 0},   {"b", 1},     {"lb", 9},    {"rb", 10},
                                                        {"up", 11}, {"down", 12}, {"left", 13}, {"right", 14}};
    std::istringstream in(names);
    std::string name, script = pad ? "10 pad plug\n" : "";
    int frame = 12;
    for (; in >> name; frame += 2) {
        script += std::to_string(frame) + (pad ? " pad" : " key");
        for (size_t start = 0, plus; start <= name.size(); start = plus + 1) {
            plus = std::min(name.find('+', start), name.size());
            script += ' ';
            script += std::to_string((pad ? kButtons : kKeys).at(name.substr(start, plus - start)));
        }
        script += "\n";
    }
    return script + std::to_string(frame + 20) + " quit\n";
}

// The launcher by keys alone, each row ending with the focus its keys leave and the exact bytes stored.
TEST_P(LauncherRun, KeysAloneChooseEverythingAndStore) {
    struct Case {
        const char* keys;
        std::string focus;
        std::string ini;
        bool starts;
    };
    const Case cases[] = {
        // list: one down (1024x768); controls: two down (Joystick); music to the end, SFX one step
        // left, voice a page on; Windowed ticked; round to Exit and back; Return on Exit.
        {"tab down tab down down tab end tab left tab pgdn tab space tab shift+tab tab return", "bt_exit",
         Ini("resx=1024\r\nresy=768\r\nbpp=32\r\nfrequency=60\r\n", 1, 3, 99, 89, 80), false},
        {"enter", "bt_play", kDefaultsIni, true},                      // the focus starts on Play
        {"shift+tab shift+tab space", "bt_exit", kDefaultsIni, false}, // wraps past the logo
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.keys);
        LauncherCase c(LAUNCHER_UNDER_TEST, GAME_STAND_IN);
        std::string script = PressScript(k.keys);
        // The focus just before the last key.
        int last = 12 + 2 * static_cast<int>(std::count(k.keys, k.keys + std::strlen(k.keys), ' '));
        ASSERT_EQ(Run(c, script + std::to_string(last) + " dump focus.txt \"\" FOCUS\n").status, 0);
        EXPECT_EQ(c.Read("focus.txt"), "\"\" FOCUS " + k.focus + "\n");
        EXPECT_EQ(c.Read("tmv.ini"), k.ini);
        EXPECT_EQ(c.Record().ran, k.starts);
    }
}

// The launcher by a game pad alone, plugged in while the dialog shows: shoulders for the focus, the
// D-pad for the choices, A to press.
TEST_P(LauncherRun, APadAloneChoosesAndStores) {
    LauncherCase c(LAUNCHER_UNDER_TEST, GAME_STAND_IN);
    ASSERT_EQ(Run(c, PressScript("rb up rb down down down rb left rb rb right rb a rb lb rb a", true)).status, 0);
    // 1280x1024 at 75 Hz, Joypad, music one step down, voice one up, Windowed; stored by Exit.
    EXPECT_EQ(c.Read("tmv.ini"), Ini("resx=1280\r\nresy=1024\r\nbpp=32\r\nfrequency=75\r\n", 1, 4, 48, 90, 71));
    EXPECT_FALSE(c.Record().ran);
}

TEST_P(LauncherRun, UntouchedVolumesAreWrittenBackUnchanged) {
    for (auto [music, sound, voice] : {std::tuple(1, 10, 50), std::tuple(99, 0, 1)}) {
        LauncherCase c(LAUNCHER_UNDER_TEST, GAME_STAND_IN);
        std::string ini = Ini(kDesktopScreen, 0, 2, music, sound, voice);
        c.Write("tmv.ini", ini);
        EXPECT_EQ(Run(c, "12 click bt_exit\n40 quit\n").status, 0);
        EXPECT_EQ(c.Read("tmv.ini"), ini);
    }
}

TEST_P(LauncherRun, WithoutAnOfferedModeSelectedTheStoredScreenStays) {
    const std::pair<std::string, std::string> cases[] = {
        {kModes, ""},                                                // the stored mode is not offered
        {"TMV_DISPLAY_MODES=", ""},                                  // no modes at all
        {"TMV_DISPLAY_MODES=1280x1024x32@60", "12 click 139 185\n"}, // a click below the only entry
    };
    for (const auto& [modes, click] : cases) {
        SCOPED_TRACE(modes + click);
        LauncherCase c(LAUNCHER_UNDER_TEST, GAME_STAND_IN);
        // The user's comment stays through Play.
        c.Write("tmv.ini", "; mine\r\n[screen]\r\n" + kUnofferedScreen);
        EXPECT_EQ(Run(c, click + "20 click " + kPlay.Centre() + "\n40 quit\n", {modes, kDesktop}).status, 0);
        std::string stored = "; mine\r\n" + Ini(kUnofferedScreen, 0, 1, 50, 90, 70);
        EXPECT_EQ(c.Read("tmv.ini"), stored);
        ExpectGameStarted(c, stored);
    }
}

TEST_P(LauncherRun, OnlyTheGameBesideTheLauncherStarts) {
    LauncherCase c(LAUNCHER_UNDER_TEST, "");
    std::filesystem::create_directories(c.Path("bin"));
    std::filesystem::copy_file(GAME_STAND_IN, c.Path("bin/game.exe"));
    ChildResult run = Run(c, "12 click " + kPlay.Centre() + "\n40 quit\n",
                          {kModes, kDesktop, "PATH=" + c.Path("bin") + ":" + std::getenv("PATH")});
    EXPECT_EQ(run.status, 69);
    EXPECT_EQ(c.Read("tmv.ini"), kDefaultsIni);
    EXPECT_FALSE(c.Record().ran);
    EXPECT_NE(c.Log().find("Could not start " + c.Folder() + "/game.exe\r\n"), std::string::npos) << c.Log();
    EXPECT_NE(c.Log().find("Runtime error 69: the game could not be started: " + c.Folder() + "/game.exe: "),
              std::string::npos)
        << c.Log();
}

// The game's path is one argument whatever the folder's name, started from there or from elsewhere.
TEST_P(LauncherRun, PlayStartsTheGameInAnyFolder) {
    const std::pair<const char*, bool> folders[] = {{"a\"b\\c $d", false},
                                                    {"sp ace\ndq\"uote\\$HOME Ääkkö 漢字", true}};
    for (const auto& [name, fromElsewhere] : folders) {
        SCOPED_TRACE(name);
        LauncherCase c(LAUNCHER_UNDER_TEST, GAME_STAND_IN, name);
        std::filesystem::create_directories(c.Path("elsewhere"));
        EXPECT_EQ(Run(c, "12 click " + kPlay.Centre() + "\n40 quit\n", {kModes, kDesktop},
                      fromElsewhere ? c.Path("elsewhere") : "")
                      .status,
                  0);
        EXPECT_EQ(c.Read("tmv.ini"), kDefaultsIni);
        ExpectGameStarted(c, kDefaultsIni);
        EXPECT_TRUE(std::filesystem::is_empty(c.Path("elsewhere")));
    }
}

// A tmv.ini that cannot be replaced keeps its bytes; the log says why, the status says so, and Play
// still starts the game.
TEST_P(LauncherRun, SettingsThatCannotBeStoredAreToldAndEndWithStatus73) {
    const std::tuple<Place, bool, const char*> cases[] = {{kExit, false, "Permission denied"},
                                                          {kPlay, true, "Is a directory"}};
    for (const auto& [button, folder, reason] : cases) {
        SCOPED_TRACE(folder ? "folder" : "read-only");
        LauncherCase c(LAUNCHER_UNDER_TEST, GAME_STAND_IN);
        if (folder)
            std::filesystem::create_directories(c.Path("tmv.ini"));
        else {
            c.Write("tmv.ini", kForeignIni);
            std::filesystem::permissions(c.Path("tmv.ini"), std::filesystem::perms::owner_read);
        }
        EXPECT_EQ(Run(c, "12 click " + button.Centre() + "\n40 quit\n").status, 73);
        if (!folder) {
            EXPECT_EQ(c.Read("tmv.ini"), kForeignIni);
        }
        EXPECT_EQ(c.Record().ran, folder) << "Play still starts the game";
        std::string told = "Runtime error 73: the settings could not be stored: " + Folder(c) + "/tmv.ini: " + reason;
        EXPECT_NE(c.Log().find(told), std::string::npos) << c.Log();
    }
}

TEST_P(LauncherRun, TheDialogLooksAsLaidOut) {
    LauncherCase c(LAUNCHER_UNDER_TEST, GAME_STAND_IN);
    ASSERT_EQ(Run(c, "14 shot shot.png\n16 quit\n").status, 0);
    ImageRGBA shot;
    ASSERT_TRUE(DecodeImageFile(shot, c.Path("shot.png"), -1));
    ASSERT_EQ(shot.width, 300);
    ASSERT_EQ(shot.height, 500);
    auto pixel = [&](int x, int y) {
        const uint8_t* p = &shot.pixels[(static_cast<size_t>(y) * shot.width + x) * 4];
        return static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16);
    };
    auto grey = [](uint32_t colour) { return colour == 0xC0C0C0; };

    EXPECT_EQ(pixel(0, 0), 0xFFFFFFu); // the frame's cut corner shows the white background
    EXPECT_TRUE(grey(pixel(1, 0)));
    EXPECT_TRUE(grey(pixel(0, 250)));
    auto [px, py, pw, ph] = kPlay;
    EXPECT_EQ(pixel(px + 3, py + ph + 3), 0xFFFFFFu); // between the rows
    EXPECT_EQ(pixel(px + 1, py + 1), 0xFFFFFFu);      // Play, not hovered: bright above
    uint32_t below = pixel(px + 1, py + ph - 2);
    EXPECT_TRUE((below & 0xFF) < 0xE0 && (below & 0xFF) > 0x90) << std::hex << below; // and grey below
    EXPECT_EQ(pixel(px + pw / 2, py + 2), 0u) << "the focus mark on Play";
    auto [ix, iy, iw, ih] = kLogo;
    uint32_t logo = pixel(ix + 12, iy + ih / 2);
    EXPECT_GT(logo >> 16, (logo & 0xFF) + 40) << std::hex << logo; // the logo's blue
    EXPECT_EQ(pixel(ix - 2, iy + ih / 2), 0xFFFFFFu);
    EXPECT_EQ(pixel(ix + iw + 1, iy + ih / 2), 0xFFFFFFu);
    auto [lx, ly, lw, lh] = kResList;
    EXPECT_TRUE(grey(pixel(lx + 1, ly)) && grey(pixel(lx, ly + 1)) && grey(pixel(lx + 1, ly + lh - 1)));
    EXPECT_EQ(pixel(lx, ly), 0xFFFFFFu);
    auto [cx, cy, cw, ch] = kWindowed;
    int box = 0; // the check box's square, left of the caption
    for (int y = cy; y < cy + ch; ++y)
        for (int x = cx; x < cx + 40; ++x) box += pixel(x, y) != 0xFFFFFF;
    EXPECT_GT(box, 40);
    auto [sx, sy, sw, sh] = kMusic;
    int track = 0;
    for (int x = sx; x < sx + sw; ++x) track += pixel(x, sy + sh / 2) != 0xFFFFFF;
    EXPECT_GT(track, sw / 2);
}

TEST(LauncherProgram, HeadlessRunShowsTheDialogAndStoresNothing) {
    LauncherCase c(TMV_VEDU, GAME_STAND_IN);
    auto start = std::chrono::steady_clock::now();
    ChildResult run = c.Run({kModes, kDesktop});
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, c.Path("screenshot.png") + "\n");
    EXPECT_TRUE(c.Exists("screenshot.png"));
    EXPECT_FALSE(c.Exists("tmv.ini"));
    EXPECT_FALSE(c.Record().ran);
}

TEST(DemoGame, HeadlessRunSavesAScreenshotAndLeavesTmvIniAlone) {
    LauncherCase c(TMV_GAME, "");
    c.Write("tmv.ini", kForeignIni);
    ChildResult run = c.Run({});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, c.Path("game-screenshot.png") + "\n");
    EXPECT_TRUE(c.Exists("game-screenshot.png"));
    EXPECT_EQ(c.Read("tmv.ini"), kForeignIni);
}

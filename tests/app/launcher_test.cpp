// The launcher and the demo game as whole programs, each run as a child in a fresh folder: the
// launcher's test build under a frame script, offscreen and in a real X window.
#include "runtime/gfx2d/image_file.h"
#include "tests/app/launcher_case.h"
#include "tests/app/xvfb_display.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// Largest first: 1920x1080 60, 1600x1200 75, 1280x1024 75, 1280x1024 60 (the desktop), 1024x768 60
// twice, 640x480 16 bits; the 0 and 1 Hz modes are left out.
const std::string kModes = "TMV_DISPLAY_MODES=1024x768x32@60,1280x1024x32@60,800x600x32@0,1280x1024x32@1,"
                           "640x480x16@60,1024x768x32@60,1920x1080x32@60,1600x1200x32@75,1280x1024x32@75";
const std::string kDesktop = "TMV_DESKTOP_MODE=1280x1024x32@60";

// tmv.ini as the launcher writes it.
std::string Ini(int x, int y, int rate, int windowed, int method, int music, int sound, int voice) {
    std::ostringstream ini;
    ini << "[screen]\r\nresx=" << x << "\r\nresy=" << y << "\r\nbpp=32\r\nfrequency=" << rate
        << "\r\nwindowed=" << windowed << "\r\n[control]\r\nmethod=" << method << "\r\n[music]\r\nvolume=" << music
        << "\r\n[sound]\r\nvolume=" << sound << "\r\n[voice]\r\nvolume=" << voice << "\r\n";
    return ini.str();
}
const std::string kDefaultsIni = Ini(1280, 1024, 60, 0, 1, 50, 90, 70);
// Comments, blanks around "=" and a section of somebody else: any rewrite would show.
const std::string kForeignIni = "; kept by hand\r\n[screen]\r\nresx = 1024\r\n\r\n[other]\r\nname=x\r\n";
const std::string kUnoffered = "; mine\r\n[screen]\r\nresx=1600\r\nresy=900\r\nbpp=32\r\nfrequency=60\r\n";
const std::string kUnofferedKept = "; mine\r\n" + Ini(1600, 900, 60, 0, 1, 50, 90, 70);
// Clicks on the middles of the logo, Play and Exit with the shipped menu.png: known places.
const std::string kLogo = " click 150 47\n", kPlay = " click 139 107\n", kExit = " click 139 415\n";

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
    ChildResult Run(const LauncherCase& c, const std::string& script, std::vector<std::string> env = {kModes},
                    const std::string& startFolder = "") const {
        c.Write("script.txt", script + "60 quit\n");
        env.insert(env.end(), {kDesktop, "TMV_TEST_SCRIPT=" + c.Path("script.txt")});
        return c.Run(env, GetParam() ? xvfb_->Name() : "", startFolder);
    }

    static XvfbDisplay* xvfb_;
};

XvfbDisplay* LauncherRun::xvfb_ = nullptr;

std::string Folder(const LauncherCase& c) { return fs::canonical(c.Folder()).string(); }

// What the stand-in game.exe records when the launcher starts it in the case's folder.
std::string Started(const LauncherCase& c, const std::string& ini) {
    using namespace std::string_literals;
    return Folder(c) + "\0"s + "1\0-tmv\0ini\0"s + ini;
}

// A frame script from names, one press every second frame from frame 12: keys by SDL scan code
// ("shift+tab" holds both), or after "pad" the virtual pad's buttons by SDL's numbers.
std::string Presses(const std::string& names) {
    static const std::map<std::string, int> kKeys = {
        {"tab", 43}, {"return", 40}, {"enter", 88}, {"space", 44},  {"down", 81}, {"esc", 41}, {"left", 80},
        {"end", 77}, {"pgdn", 78},   {"home", 74},  {"shift", 225}, {"alt", 226}, {"f4", 61}};
    static const std::map<std::string, int> kButtons = {{"a", 0},   {"b", 1},     {"lb", 9},    {"rb", 10},
                                                        {"up", 11}, {"down", 12}, {"left", 13}, {"right", 14}};
    std::istringstream in(names);
    std::string name, script;
    bool pad = names.starts_with("pad ");
    if (pad) in >> name, script = "10 pad plug\n";
    for (int frame = 12; in >> name; frame += 2) {
        script += std::to_string(frame);
        script += pad ? " pad" : " key";
        for (size_t start = 0, plus; start <= name.size(); start = plus + 1) {
            plus = std::min(name.find('+', start), name.size());
            script += ' ';
            script += std::to_string((pad ? kButtons : kKeys).at(name.substr(start, plus - start)));
        }
        script += "\n";
    }
    return script;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Screens, LauncherRun, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& screen) {
                             return screen.param ? "Xvfb" : "Offscreen";
                         });

TEST_P(LauncherRun, FirstRunListsTheModesLargestFirstAndShowsTheDesktopThird) {
    if (GetParam()) return; // nothing here depends on the display
    LauncherCase c(LAUNCHER_UNDER_TEST, GAME_STAND_IN);
    EXPECT_EQ(Run(c, "12 dump v ls_res TEXT\n12 dump v ls_res SELECT\n12 dump v ls_res SCROLL\n").status, 0);
    EXPECT_EQ(c.Read("v"), "ls_res TEXT 1920x1080x32bpp, 60Hz|1600x1200x32bpp, 75Hz|1280x1024x32bpp, 75Hz|"
                           "1280x1024x32bpp, 60Hz|1024x768x32bpp, 60Hz|1024x768x32bpp, 60Hz|640x480x16bpp, 60Hz\n"
                           "ls_res SELECT 3\nls_res SCROLL 1\n");
    EXPECT_EQ(c.Read("tmv.ini"), "");
}

// Every way the launcher ends, by the pointer, keys or a pad (plugged in while the dialog shows): the
// status, the bytes of tmv.ini after ("" when as before), whether the game ran, what the log says.
TEST_P(LauncherRun, EndsWithTheStatusTheStoredBytesAndTheGame) {
    enum Before { kNone, kFile, kReadOnly, kFolder };
    struct Case {
        Before before;
        std::string ini, script, after;
        int status = 0;
        bool started = false;
        std::string told = ""; // in the log, @ for the folder
        bool game = true;      // game.exe beside the launcher, else only on the PATH
        std::string modes = kModes;
    } cases[] = {
        {kFile, kForeignIni, "14 quit\n", ""}, // the close box
        {kNone, "", Presses("esc"), ""},
        {kFile, kForeignIni, Presses("alt+f4"), ""},
        {kFile, kForeignIni, Presses("pad b"), ""},
        {kNone, "", "12" + kPlay, kDefaultsIni, 0, true},
        // The list's first line shows 1600x1200; Joystick; the music slider's right end; Windowed.
        {kNone, "", "12 click 139 133\n16 click 139 247\n20 click 240 293\n24 click 45 382\n28" + kPlay,
         Ini(1600, 1200, 75, 1, 3, 99, 90, 70), 0, true},
        // list: its first entry (1920x1080); controls: two down (Joystick); music to the end, SFX one
        // step left, voice a page on; Windowed ticked; round to Exit and back; Return on Exit.
        {kNone, "", Presses("tab home tab down down tab end tab left tab pgdn tab space tab shift+tab tab return"),
         Ini(1920, 1080, 60, 1, 3, 99, 89, 80)},
        // 1280x1024 at 75 Hz, Joypad, music one step down, voice one up, Windowed; stored by Exit.
        {kNone, "", Presses("pad rb up rb down down down rb left rb rb right rb a rb lb rb a"),
         Ini(1280, 1024, 75, 1, 4, 48, 90, 71)},
        // The rows above work the dialog on either display; those below, offscreen.
        {kNone, "", "12" + kLogo, kDefaultsIni, 0, true},
        {kNone, "", Presses("enter"), kDefaultsIni, 0, true},            // the focus starts on Play
        {kNone, "", Presses("shift+tab shift+tab space"), kDefaultsIni}, // wraps past the logo to Exit
        // Untouched volumes go back as they were.
        {kFile, Ini(1280, 1024, 60, 0, 2, 1, 10, 50), "12" + kExit, ""},
        {kFile, Ini(1280, 1024, 60, 1, 4, 99, 0, 1), "12" + kExit, ""},
        // Without an offered mode selected the stored screen stays, and so does the user's comment.
        {kFile, kUnoffered, "20" + kPlay, kUnofferedKept, 0, true},
        {kFile, kUnoffered, "20" + kPlay, kUnofferedKept, 0, true, "", true, "TMV_DISPLAY_MODES="},
        {kFile, kUnoffered, "12 click 139 185\n20" + kPlay, kUnofferedKept, 0, true, "", true,
         "TMV_DISPLAY_MODES=1280x1024x32@60"},
        {kNone, "", "12" + kPlay, kDefaultsIni, 69, false,
         "Runtime error 69: the game could not be started: @/game.exe: ", false},
        {kReadOnly, kForeignIni, "12" + kExit, "", 73, false,
         "Runtime error 73: the settings could not be stored: @/tmv.ini: Permission denied"},
        {kFolder, "", "12" + kPlay, "", 73, true,
         "Runtime error 73: the settings could not be stored: @/tmv.ini: Is a directory"},
        {kReadOnly, kForeignIni, "12" + kPlay, "", 69, false, "Could not start @/game.exe\r\n", false}, // 69 wins
    };
    for (const Case& k : cases) {
        if (GetParam() && &k - cases >= 8) break;
        SCOPED_TRACE(k.script);
        LauncherCase c(LAUNCHER_UNDER_TEST, k.game ? GAME_STAND_IN : "");
        fs::create_directories(c.Path("bin"));
        if (!k.game) fs::copy_file(GAME_STAND_IN, c.Path("bin/game.exe"));
        if (k.before == kFile || k.before == kReadOnly) c.Write("tmv.ini", k.ini);
        if (k.before == kReadOnly) fs::permissions(c.Path("tmv.ini"), fs::perms::owner_read);
        if (k.before == kFolder) fs::create_directories(c.Path("tmv.ini"));
        EXPECT_EQ(Run(c, k.script, {k.modes, "PATH=" + c.Path("bin") + ":" + std::getenv("PATH")}).status, k.status);
        std::string after = k.after.empty() ? k.ini : k.after;
        EXPECT_EQ(c.Read("tmv.ini"), after);
        EXPECT_EQ(c.Record(), k.started ? Started(c, after) : "");
        std::string told = k.told;
        if (size_t at = told.find('@'); at != std::string::npos) told.replace(at, 1, Folder(c));
        EXPECT_NE(c.Log().find(told), std::string::npos) << c.Log();
    }
}

// The game's path is one argument whatever the folder's name, started from there or from elsewhere.
TEST_P(LauncherRun, PlayStartsTheGameInAnyFolder) {
    if (GetParam()) return; // nothing here depends on the display
    for (auto [name, elsewhere] : {std::pair("a\"b\\c $d", false), {"sp ace\ndq\"uote\\$HOME Ääkkö 漢字", true}}) {
        SCOPED_TRACE(name);
        LauncherCase c(LAUNCHER_UNDER_TEST, GAME_STAND_IN, name);
        fs::create_directories(c.Path("elsewhere"));
        EXPECT_EQ(Run(c, "12" + kPlay, {kModes}, elsewhere ? c.Path("elsewhere") : "").status, 0);
        EXPECT_EQ(c.Record(), Started(c, kDefaultsIni));
        EXPECT_TRUE(fs::is_empty(c.Path("elsewhere")));
    }
}

// The dialog in pixels: the frame, Play with its focus mark and its caption in the shipped font, dark
// and crisp on the face, the logo's blue between white margins.
TEST_P(LauncherRun, TheDialogLooksAsLaidOut) {
    LauncherCase c(LAUNCHER_UNDER_TEST, GAME_STAND_IN);
    ASSERT_EQ(Run(c, "14 shot shot.png\n").status, 0);
    ImageRGBA shot;
    ASSERT_TRUE(DecodeImageFile(shot, c.Path("shot.png"), -1));
    ASSERT_EQ(shot.width * 1000 + shot.height, 300500);
    auto pixel = [&](int x, int y) {
        const uint8_t* p = &shot.pixels[(static_cast<size_t>(y) * shot.width + x) * 4];
        return static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16);
    };
    struct Known {
        int x, y;
        uint32_t colour;
    } known[] = {{0, 0, 0xFFFFFF},    {1, 0, 0xC0C0C0},   {0, 250, 0xC0C0C0}, // the frame's cut corner
                 {42, 120, 0xFFFFFF},                                         // between Play and the list
                 {139, 99, 0},                                                // the focus mark on Play
                 {26, 47, 0xFFFFFF},  {273, 47, 0xFFFFFF}};                   // beside the logo
    for (const Known& k : known) EXPECT_EQ(pixel(k.x, k.y), k.colour) << k.x << "," << k.y;
    uint32_t logo = pixel(40, 47);
    EXPECT_GT(logo >> 16, (logo & 0xFF) + 40) << std::hex << logo;
    int ink = 0;
    for (int y = 101; y < 110; ++y)
        for (int x = 43; x < 235; ++x) {
            uint32_t p = pixel(x, y);
            ink += p != 0xFFFFFF;
            ASSERT_TRUE(p == 0xFFFFFF || (p & 0xFF) < 48) << std::hex << p << " at " << x << "," << y;
        }
    EXPECT_GT(ink, 40) << "Play in dark ink";
}

// The programs as shipped, without a display: each shows itself, saves a screenshot, prints its path
// and ends leaving tmv.ini as it was (the launcher after about 3 seconds, as its close box would).
TEST(Programs, HeadlessRunsSaveAScreenshotAndStoreNothing) {
    for (auto [program, shot] : {std::pair(TMV_VEDU, "screenshot.png"), {TMV_GAME, "game-screenshot.png"}}) {
        LauncherCase c(program, GAME_STAND_IN);
        c.Write("tmv.ini", kForeignIni);
        ChildResult run = c.Run({kModes, kDesktop});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.output, c.Path(shot) + "\n");
        EXPECT_TRUE(fs::exists(c.Path(shot)));
        EXPECT_EQ(c.Read("tmv.ini") + c.Record(), kForeignIni);
    }
}

// The launcher and the demo game as whole programs, each run as a child in a fresh folder: the
// launcher's test build under a frame script, offscreen and in a real X window.
#include "runtime/gfx2d/image_file.h"
#include "tests/app/launcher_case.h"
#include "tests/app/xvfb_display.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <utility>

namespace {

namespace fs = std::filesystem;

// Largest first: 1920x1080 60, 1600x1200 75, 1280x1024 75, 1280x1024 60 (the desktop), 1024x768 60
// twice, 640x480 16 bits; the 0 and 1 Hz modes are left out.
const std::string kModes = "TMV_DISPLAY_MODES=1024x768x32@60,1280x1024x32@60,800x600x32@0,1280x1024x32@1,"
                           "640x480x16@60,1024x768x32@60,1920x1080x32@60,1600x1200x32@75,1280x1024x32@75";

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

XvfbDisplay gXvfb;

// Runs the launcher under a frame script, one action a line (its loop runs from frame 7 on), offscreen
// or in a real X window (of an Xvfb running as long as the tests), with the folder above the case's
// first on the PATH.
ChildResult RunScript(const LauncherCase& c, const std::string& script, bool xvfb = false) {
    c.Write("script.txt", script + "60 quit\n");
    return c.Run({kModes, "TMV_DESKTOP_MODE=1280x1024x32@60", "TMV_TEST_SCRIPT=" + c.Path("script.txt"),
                  "PATH=" + c.Path("..") + ":" + std::getenv("PATH")},
                 xvfb ? gXvfb.Name() : "");
}

} // namespace

// Every way the launcher ends, by the pointer, keys (by SDL scan code) or a pad (by SDL's button
// numbers, plugged in while the dialog shows): the status, the bytes of tmv.ini after ("" when as
// before), whether the game ran, what the log says. The first rows also run in a real X window.
TEST(Launcher, EndsWithTheStatusTheStoredBytesAndTheGame) {
    enum Before { kNone, kFile, kReadOnly, kFolder };
    struct Case {
        Before before;
        std::string ini, script, after;
        int status = 0;
        bool started = false;
        std::string told = ""; // in the log, @ for the folder
        bool game = true;      // game.exe beside the launcher, else only on the PATH, in the folder above
    } cases[] = {
        {kFile, kForeignIni, "10 pad plug\n12 pad 1\n", ""},
        {kNone, "", "12" + kPlay, kDefaultsIni, 0, true},
        // The list's first line shows 1600x1200; Joystick; the music slider's right end; Windowed.
        {kNone, "", "12 click 139 133\n16 click 139 247\n20 click 240 293\n24 click 45 382\n28" + kPlay,
         Ini(1600, 1200, 75, 1, 3, 99, 90, 70), 0, true},
        // Keys: Tab, Home on the list (1920x1080); Tab, two Down on the controls (Joystick); Tab, End on the
        // music; Tab, Left on SFX; Tab, Page Down on voice; Tab, Space on Windowed; Tab, Shift+Tab, Tab round
        // Exit; Return on Exit.
        {kNone, "",
         "12 key 43\n14 key 74\n16 key 43\n18 key 81\n20 key 81\n22 key 43\n24 key 77\n26 key 43\n28 key 80\n"
         "30 key 43\n32 key 78\n34 key 43\n36 key 44\n38 key 43\n40 key 225 43\n42 key 43\n44 key 40\n",
         Ini(1920, 1080, 60, 1, 3, 99, 89, 80)},
        // Pad: right shoulder, up (1280x1024 at 75 Hz); RB, three down (Joypad); RB, left (music one step
        // down); RB, RB, right (voice one up); RB, A (Windowed); RB, left shoulder, RB, A (Exit).
        {kNone, "",
         "10 pad plug\n12 pad 10\n14 pad 11\n16 pad 10\n18 pad 12\n20 pad 12\n22 pad 12\n24 pad 10\n26 pad 13\n"
         "28 pad 10\n30 pad 10\n32 pad 14\n34 pad 10\n36 pad 0\n38 pad 10\n40 pad 9\n42 pad 10\n44 pad 0\n",
         Ini(1280, 1024, 75, 1, 4, 48, 90, 71)},
        {kNone, "", "12" + kLogo, kDefaultsIni, 0, true},
        // The focus starts on Play; Shift+Tab wraps past the logo to Exit.
        {kNone, "", "12 key 225 43\n14 key 225 43\n16 key 44\n", kDefaultsIni},
        // Untouched settings go back as they were.
        {kFile, Ini(1280, 1024, 60, 1, 4, 99, 0, 1), "12" + kExit, ""},
        // Without an offered mode selected the stored screen stays, and so does the user's comment.
        {kFile, kUnoffered, "20" + kPlay, kUnofferedKept, 0, true},
        {kNone, "", "12" + kPlay, kDefaultsIni, 69, false,
         "Runtime error 69: the game could not be started: @/game.exe: ", false},
        {kReadOnly, kForeignIni, "12" + kExit, "", 73, false,
         "Runtime error 73: the settings could not be stored: @/tmv.ini: Permission denied"},
        {kFolder, "", "12" + kPlay, "", 73, true,
         "Runtime error 73: the settings could not be stored: @/tmv.ini: Is a directory"},
        {kReadOnly, kForeignIni, "12" + kPlay, "", 69, false, "Could not start @/game.exe\r\n", false}, // 69 wins
    };
    for (bool xvfb : {false, true})
        for (const Case& k : cases) {
            if (xvfb && &k - cases >= 5) break;
            SCOPED_TRACE(k.script);
            LauncherCase c(LAUNCHER_UNDER_TEST, k.game ? GAME_STAND_IN : "", "sp ace\ndq\"uote\\$HOME Ääkkö 漢字");
            if (!k.game) fs::copy_file(GAME_STAND_IN, c.Path("../game.exe"));
            if (k.before == kFile || k.before == kReadOnly) c.Write("tmv.ini", k.ini);
            if (k.before == kReadOnly) fs::permissions(c.Path("tmv.ini"), fs::perms::owner_read);
            if (k.before == kFolder) fs::create_directories(c.Path("tmv.ini"));
            EXPECT_EQ(RunScript(c, k.script, xvfb).status, k.status);
            std::string after = k.after.empty() ? k.ini : k.after, told = k.told;
            std::string folder = fs::canonical(c.Path("")).string();
            EXPECT_EQ(c.Read("tmv.ini"), after);
            EXPECT_EQ(c.Record(), k.started ? folder + std::string("\0001\0-tmv\0ini\0", 12) + after : "");
            if (size_t at = told.find('@'); at != std::string::npos) told.replace(at, 1, folder);
            EXPECT_NE(c.Log().find(told), std::string::npos) << c.Log();
        }
}

// The dialog on either display: the modes largest first with the desktop's selected, and in pixels the
// frame's cut corner, the space between Play and the list, the focus mark on Play, the logo's blue
// between white margins; nothing stored.
TEST(Launcher, TheDialogListsTheModesAndLooksAsLaidOut) {
    for (bool xvfb : {false, true}) {
        LauncherCase c(LAUNCHER_UNDER_TEST, GAME_STAND_IN);
        ASSERT_EQ(RunScript(c, "12 dump v ls_res TEXT\n12 dump v ls_res SELECT\n14 shot shot.png\n", xvfb).status, 0);
        EXPECT_EQ(c.Read("v") + c.Read("tmv.ini"),
                  "ls_res TEXT 1920x1080x32bpp, 60Hz|1600x1200x32bpp, 75Hz|1280x1024x32bpp, 75Hz|1280x1024x32bpp, 60Hz|"
                  "1024x768x32bpp, 60Hz|1024x768x32bpp, 60Hz|640x480x16bpp, 60Hz\nls_res SELECT 3\n");
        ImageRGBA shot;
        ASSERT_TRUE(DecodeImageFile(shot, c.Path("shot.png"), -1));
        ASSERT_EQ(shot.width * 1000 + shot.height, 300500);
        std::vector<uint32_t> pixels;
        for (auto [x, y] : {std::pair(0, 0), {1, 0}, {0, 250}, {42, 120}, {139, 99}, {26, 47}, {273, 47}, {40, 47}}) {
            const uint8_t* p = &shot.pixels[(static_cast<size_t>(y) * shot.width + x) * 4];
            pixels.push_back(static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16));
        }
        EXPECT_GT(pixels[7] >> 16, (pixels[7] & 0xFF) + 40) << std::hex << pixels[7];
        pixels.pop_back();
        EXPECT_EQ(pixels, (std::vector<uint32_t>{0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0xFFFFFF, 0, 0xFFFFFF, 0xFFFFFF}));
    }
}

// The programs as shipped, without a display and with no display mode offered: each shows itself, saves
// a screenshot, prints its path and ends leaving tmv.ini as it was (the launcher after about 3 seconds,
// as its close box would).
TEST(Programs, HeadlessRunsSaveAScreenshotAndStoreNothing) {
    for (auto [program, shot] : {std::pair(TMV_VEDU, "screenshot.png"), {TMV_GAME, "game-screenshot.png"}}) {
        LauncherCase c(program, GAME_STAND_IN);
        c.Write("tmv.ini", kForeignIni);
        ChildResult run = c.Run({"TMV_DISPLAY_MODES=", "TMV_DESKTOP_MODE=1280x1024x32@60"});
        EXPECT_EQ(std::pair(run.status, run.output), std::pair(0, c.Path(shot) + "\n"));
        EXPECT_EQ(c.Read(shot).substr(0, 4) + c.Read("tmv.ini") + c.Record(), "\x89PNG" + kForeignIni);
    }
}

// The launcher and the demo game as whole programs, each run as a child in a fresh folder.
#include "tests/app/launcher_case.h"
#include "tests/app/xvfb_display.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

constexpr char kCustomIni[] = "; my settings\r\n[screen]\r\nresx = 1024\r\nresy=768\r\n\r\n[mine]\r\nkey=value\r\n";

} // namespace

TEST(DemoGame, HeadlessRunSavesAScreenshotAndLeavesTmvIniAlone) {
    LauncherCase c(TMV_GAME, "");
    c.Write("tmv.ini", kCustomIni);
    ChildResult run = c.Run({});
    EXPECT_EQ(run.status, 0);
    ASSERT_EQ(run.output, c.Path("game-screenshot.png") + "\n");
    EXPECT_TRUE(c.Exists("game-screenshot.png"));
    EXPECT_EQ(c.Read("tmv.ini"), kCustomIni);
}

// One launcher case in a fresh folder under the test program's temporary folder.
#include "tests/app/launcher_case.h"

#include "platform/paths.h"
#include "tests/support/headless.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

LauncherCase::LauncherCase(const std::string& launcher, const std::string& game, const std::string& name) {
    root_ = platform::TempDir() + "case-XXXXXX";
    if (!mkdtemp(root_.data())) std::abort();
    folder_ = name.empty() ? root_ : root_ + "/" + name;
    fs::create_directories(folder_);
    fs::copy_file(launcher, Path("tmv-vedu"));
    if (!game.empty()) fs::copy_file(game, Path("game.exe"));
    for (const char* asset : {"menu.png", "tmv.png", "smalfont.bmp"})
        fs::copy_file(std::string(TMV_ASSET_DIR) + "/" + asset, Path(asset));
}

LauncherCase::~LauncherCase() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

void LauncherCase::Write(const std::string& name, const std::string& bytes) const { WriteBytes(Path(name), bytes); }

std::string LauncherCase::Read(const std::string& name) const { return ReadFile(Path(name)); }

ChildResult LauncherCase::Run(const std::vector<std::string>& env, const std::string& display) const {
    // The case's own temporary folder holds its runtime log.
    fs::create_directories(Path("tmp"));
    std::vector<std::string> all = {"TMV_GAME_RECORD=" + Path("game-record.txt"), "TMPDIR=" + Path("tmp/"),
                                    "TMV_UNATTENDED=1", "SDL_AUDIODRIVER=dummy"};
    all.push_back(display.empty() ? "SDL_VIDEODRIVER=offscreen" : "SDL_VIDEODRIVER=x11");
    all.push_back(display.empty() ? "DISPLAY" : "DISPLAY=" + display);
    all.insert(all.end(), env.begin(), env.end());
    return RunChild(Path("tmv-vedu"), {}, folder_, all);
}

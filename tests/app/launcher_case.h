// One launcher case: a fresh folder holding a copy of a launcher build, its pictures (from the build's
// TMV_ASSET_DIR) and a stand-in game.exe; runs it as a child offscreen or in a real X window, and
// reads what it left behind.
#pragma once

#include "tests/app/child_run.h"

#include <string>
#include <vector>

class LauncherCase {
  public:
    // launcher: the program to copy in as "tmv-vedu"; game: what to copy in as "game.exe" ("" for none);
    // name: the case's folder name inside a fresh temporary folder ("" for the fresh folder itself).
    LauncherCase(const std::string& launcher, const std::string& game, const std::string& name = "");
    ~LauncherCase();
    LauncherCase(const LauncherCase&) = delete;
    LauncherCase& operator=(const LauncherCase&) = delete;

    std::string Path(const std::string& name) const { return folder_ + "/" + name; }
    void Write(const std::string& name, const std::string& bytes) const;
    // The file's bytes, "" when there is none.
    std::string Read(const std::string& name) const;

    // Runs tmv-vedu in the case's folder with the given environment changes; display "" is the
    // offscreen driver, else an X display.
    ChildResult Run(const std::vector<std::string>& env, const std::string& display = "") const;
    // What the stand-in game.exe wrote as it started, "" when it did not run.
    std::string Record() const { return Read("game-record.txt"); }
    std::string Log() const { return Read("tmp/ErrorLog.txt"); }

  private:
    std::string root_;
    std::string folder_;
};

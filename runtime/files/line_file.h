// The line-indexed text file: one file held in memory, its lines read and written by number, written
// back when another file is selected and at program end.
#pragma once

#include "runtime/core/rt_string.h"

#include <tmv/files.h>

#include <array>
#include <cstdint>
#include <string>

struct LineFile {
    std::string name;
    // Texts of up to 1023 bytes.
    std::array<std::string, 256> lines;
    int32_t highest = 0;
    bool modified = false;
    // The held name made absolute when selected: the write-back reaches the same file even when the
    // current folder has changed since (program end returns to the program's folder first).
    std::string writePath;
    bool exitHandlerRegistered = false;
};

LineFile& CurrentLineFile();

// Writes a modified file back and empties the object (program end).
void LineFileFlush();

// The program's current INI file: selecting, reading and writing values, written back when another
// file is selected and at program end.
#pragma once

#include "runtime/files/ini_table.h"

#include <tmv/files.h>

#include <string>

struct CurrentIniFile {
    IniTable table;
    // The file name made absolute at selection, so that the write-back at program end (after the
    // runtime has returned to the program's folder) reaches the file that was loaded.
    std::string writePath;
    bool exitHandlerRegistered = false;
};

CurrentIniFile& CurrentIni();

// Writes the table back when it is modified and has a file name (program end). One attempt per
// change: false when it failed (the old file stays, RewriteFailure() says why; the failure is logged).
bool IniFlush();

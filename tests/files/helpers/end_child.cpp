// A program for the program-end tests. It changes an INI value and a line file in the folder it is
// given, then ends as its first argument says: "return" from main, "exit" through exit(0), "end"
// through the end command or "fatal" through an array index outside the array. The last two start
// with RuntimeMain alone, print the default font's character size and whether a packed entry is
// found, note where its copy went, and leave a line in an open channel, buffered text in a global
// stream and work of their own for the exit, with the root folder as the current one.
#include "runtime/runtime.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::string gMode, gDir;
std::ofstream gStream;

void ChangeFiles() {
    IniSelectFile(RtString((gDir + "settings.ini").c_str()));
    IniWriteValue("screen", "width", 800);
    IniWriteValue("", "top", 1);
    LineFileWrite(RtString((gDir + "lines.txt").c_str()), 1, "one");
}

void ProgramMain() {
    ChangeFiles();
    int32_t width = 0, height = 0;
    FontGetSize(width, height);
    RtString packed;
    std::printf("font %dx%d, packed entry %s\n", width, height,
                ArchiveResolve("packed.txt", packed) ? "found" : "missing");
    std::ofstream(gDir + "copy.txt") << packed.c_str();
    FileOpen(0, RtString((gDir + "written.txt").c_str()), false);
    FileWriteLine(0, "kept");
    CurrentDirSet("/");
    gStream.open(gDir + "stream.txt");
    gStream << "buffered";
    std::atexit([] { std::ofstream(gDir + "handler.txt") << "ran"; });
    if (gMode == "fatal") {
        RtArray<double> empty;
        empty(3) = 1;
    }
    EndCommand();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    gMode = argv[1];
    gDir = argv[2];
    if (gMode == "end" || gMode == "fatal") RuntimeMain(argc, argv, "end child", ProgramMain);
    AttachSubsystems();
    RuntimeInit(1, "end child");
    ChangeFiles();
    if (gMode == "exit") std::exit(0);
    return 0;
}

// Stands in for game.exe in the launcher's tests: records its arguments, its working folder and the
// bytes of tmv.ini there as it starts, in the file TMV_GAME_RECORD names, then ends. Each field ends
// with a NUL: a folder or argument may hold line feeds.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

int main(int argc, char** argv) {
    const char* recordPath = std::getenv("TMV_GAME_RECORD");
    if (!recordPath) return 2;
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) return 2;
    std::ifstream ini("tmv.ini", std::ios::binary);
    std::stringstream bytes;
    bytes << ini.rdbuf();
    std::ofstream record(recordPath, std::ios::binary);
    record << cwd << '\0' << argc - 1 << '\0';
    for (int i = 1; i < argc; ++i) record << argv[i] << '\0';
    record << (ini ? "ini" : "no ini") << '\0' << bytes.str();
    return record ? 0 : 2;
}

// Stands in for game.exe in the launcher's tests: records its arguments, its working folder and the
// bytes of tmv.ini there as it starts, in the file TMV_GAME_RECORD names, then ends. Each field ends
// with a NUL: a folder or argument may hold line feeds.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

int main(int argc, char** argv) {
    std::ifstream ini("tmv.ini", std::ios::binary);
    std::stringstream bytes;
    bytes << ini.rdbuf();
    std::ofstream record(std::getenv("TMV_GAME_RECORD"), std::ios::binary);
    record << std::filesystem::current_path().string() << '\0' << argc - 1 << '\0';
    for (int i = 1; i < argc; ++i) record << argv[i] << '\0';
    record << (ini ? "ini" : "no ini") << '\0' << bytes.str();
    return record ? 0 : 2;
}

// A program for the process tests: writes its working folder, then each further argument, one a line,
// into the file its first argument names.
#include <fstream>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::ofstream out(argv[1]);
    char cwd[4096];
    out << (getcwd(cwd, sizeof cwd) ? cwd : "?") << "\n";
    for (int i = 2; i < argc; ++i) out << argv[i] << "\n";
    return 0;
}

// A program for the process tests: ends with the status its argument names, or by SIGKILL for "kill".
#include <csignal>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "kill") == 0) std::raise(SIGKILL);
    return argc > 1 ? std::atoi(argv[1]) : 0;
}

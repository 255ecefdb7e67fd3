// Starting other programs with posix_spawn, and reaping those nobody waits for.
#include "platform/process.h"

#include "platform/paths.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {

namespace {

// Programs started without waiting, reaped later so they do not linger as zombies.
struct ProcessTable {
    std::vector<pid_t> unwaited;
};

ProcessTable& Processes() {
    static ProcessTable* table = new ProcessTable;
    return *table;
}

void ReapFinished() {
    std::vector<pid_t>& pids = Processes().unwaited;
    std::erase_if(pids, [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
}

bool IsExecutable(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

int WaitForExit(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return WEXITSTATUS(status);
}

// Quoted sections toggle with '"'; 2n backslashes before a quote give n and the quote acts, 2n + 1
// give n and a literal quote; "" inside quotes is a literal quote.
void SplitArguments(const std::string& line, size_t i, std::vector<std::string>& args) {
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i == line.size()) break;
        std::string arg;
        bool quoted = false;
        for (; i < line.size(); ++i) {
            char c = line[i];
            if (!quoted && (c == ' ' || c == '\t')) break;
            if (c == '\\') {
                size_t n = 0;
                while (i < line.size() && line[i] == '\\') ++n, ++i;
                if (i < line.size() && line[i] == '"') {
                    arg.append(n / 2, '\\');
                    if (n % 2)
                        arg += '"';
                    else
                        --i; // the quote acts on the next pass
                } else {
                    arg.append(n, '\\');
                    --i;
                }
            } else if (c == '"') {
                if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    arg += '"';
                    ++i;
                } else {
                    quoted = !quoted;
                }
            } else {
                arg += c;
            }
        }
        args.push_back(arg);
    }
}

bool Spawn(const std::string& path, const std::vector<std::string>& args, int outputFd, pid_t& pid) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outputFd >= 0) posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    int failed = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) errno = failed; // the reason, for whoever tells the user
    return failed == 0;
}

} // namespace

std::vector<std::string> SplitCommandLine(const std::string& line) {
    std::vector<std::string> args;
    size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos) return args;
    std::string program;
    if (line[i] == '"') {
        size_t end = line.find('"', i + 1);
        program = line.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
        i = end == std::string::npos ? line.size() : end + 1;
    } else {
        size_t end = line.find_first_of(" \t", i);
        program = line.substr(i, end == std::string::npos ? std::string::npos : end - i);
        i = end == std::string::npos ? line.size() : end;
    }
    args.push_back(program);
    SplitArguments(line, i, args);
    return args;
}

std::string FindOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    for (;;) {
        size_t end = dirs.find(':', start);
        std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
        if (IsExecutable(candidate)) return candidate;
        if (end == std::string::npos) return {};
        start = end + 1;
    }
}

std::string FindProgram(const std::string& name) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return IsExecutable(name) ? name : std::string();
    for (const std::string& dir : {ProgramDir(), CurrentDir()}) {
        std::string candidate = dir + "/" + name;
        if (IsExecutable(candidate)) return candidate;
    }
    return FindOnPath(name);
}

bool StartProcess(const std::string& path, const std::vector<std::string>& args, bool wait, int& exitCode) {
    ReapFinished();
    pid_t pid;
    if (!Spawn(path, args, -1, pid)) return false;
    if (wait)
        exitCode = WaitForExit(pid);
    else
        Processes().unwaited.push_back(pid);
    return true;
}

bool RunForOutput(const std::string& path, const std::vector<std::string>& args, std::string& output, int& exitCode) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    pid_t pid;
    bool started = Spawn(path, args, fds[1], pid);
    close(fds[1]);
    if (started) {
        char buffer[4096];
        ssize_t n;
        while ((n = read(fds[0], buffer, sizeof buffer)) != 0) {
            if (n > 0)
                output.append(buffer, static_cast<size_t>(n));
            else if (errno != EINTR)
                break;
        }
        exitCode = WaitForExit(pid);
    }
    close(fds[0]);
    return started;
}

} // namespace platform

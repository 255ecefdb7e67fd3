// Running a program as a child of a test, over posix_spawn and env(1), which changes the folder and the
// environment; its output is read through a pipe.
#include "tests/app/child_run.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

ChildResult RunChild(const std::string& program, const std::vector<std::string>& args, const std::string& folder,
                     const std::vector<std::string>& env, int timeoutSeconds) {
    ChildResult result;
    std::vector<std::string> texts = {"env", "-C", folder};
    for (const std::string& change : env) // env takes its options before the settings
        if (change.find('=') == std::string::npos)
            texts.insert(texts.begin() + 3, {"-u", change});
        else
            texts.push_back(change);
    texts.push_back(std::filesystem::weakly_canonical(program).string()); // env would read its own /proc/self/exe
    texts.insert(texts.end(), args.begin(), args.end());
    std::vector<char*> argv(texts.size() + 1); // ends in a null pointer
    for (size_t i = 0; i < texts.size(); ++i) argv[i] = texts[i].data();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    pid_t pid = -1;
    int spawned = posix_spawn(&pid, "/usr/bin/env", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    bool timedOut = false;
    char buffer[4096];
    for (ssize_t n = 1; spawned == 0 && n > 0;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd p{fds[0], POLLIN, 0};
        timedOut = left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) == 0;
        n = timedOut ? 0 : read(fds[0], buffer, sizeof buffer);
        if (n > 0) result.output.append(buffer, static_cast<size_t>(n));
    }
    close(fds[0]);
    if (spawned != 0) return result;
    if (timedOut) kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    result.peakRssKb = usage.ru_maxrss;
    result.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                        static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    if (!timedOut) result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

// Starting the peer program, asking it over pipes, ending it.
#include "bench/net/peer_process.h"

#include "tests/net/net_test_support.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

Peer::Peer() {
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    char program[] = NET_PEER_PATH;
    char* argv[] = {program, nullptr};
    if (posix_spawn(&pid_, program, &actions, nullptr, argv, environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    toPeer_ = in[1];
    fromPeer_ = out[0];
}

Peer::~Peer() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (toPeer_ >= 0) close(toPeer_);
    if (fromPeer_ >= 0) close(fromPeer_);
}

std::string Peer::Ask(const std::string& command) {
    std::string line = command + "\n";
    if (write(toPeer_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) return "TIMEOUT";
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (;;) {
        size_t end = pending_.find('\n');
        if (end != std::string::npos) {
            std::string answer = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return answer;
        }
        int left = static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count());
        pollfd readable{fromPeer_, POLLIN, 0};
        if (left <= 0 || poll(&readable, 1, left) <= 0) return "TIMEOUT";
        char buffer[4096];
        ssize_t n = read(fromPeer_, buffer, sizeof buffer);
        if (n <= 0) return "TIMEOUT";
        pending_.append(buffer, static_cast<size_t>(n));
    }
}

int Peer::Quit() {
    Ask("quit");
    int status = -1;
    // The peer ends by itself after "quit"; a hung one is killed by the destructor.
    if (WaitFor([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, 10000)) pid_ = -1;
    return status;
}

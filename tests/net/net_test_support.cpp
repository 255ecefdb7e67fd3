// Raw loopback sockets, the peer program and bounded waits for the network tests.
#include "tests/net/net_test_support.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

sockaddr_in Loopback(uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sa.sin_port = htons(port);
    return sa;
}

bool Readable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, timeoutMs) > 0;
}

} // namespace

uint16_t FreePort() {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa = Loopback(0);
    bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    socklen_t len = sizeof sa;
    getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
    close(fd);
    return ntohs(sa.sin_port);
}

RawSocket::RawSocket(uint16_t port, int receiveBuffer) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    if (receiveBuffer > 0) setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    int on = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    sockaddr_in sa = Loopback(port);
    if (connect(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
        close(fd_);
        fd_ = -1;
    }
}

RawSocket::~RawSocket() {
    if (fd_ >= 0) close(fd_);
}

RawSocket& RawSocket::operator=(RawSocket&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

void RawSocket::Send(const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t n = send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<size_t>(n);
    }
}

void RawSocket::SendPacket(const std::string& body) {
    std::string header = {'N', 'L', static_cast<char>(body.size() >> 8), static_cast<char>(body.size() & 255)};
    Send(header + body);
}

std::string RawSocket::Receive(size_t count, int timeoutMs) {
    std::string bytes;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (bytes.size() < count) {
        int left = static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count());
        if (left <= 0 || !Readable(fd_, left)) break;
        char buffer[65536];
        ssize_t n = recv(fd_, buffer, std::min(sizeof buffer, count - bytes.size()), 0);
        if (n <= 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return bytes;
}

std::string RawSocket::ReceivePacket(int timeoutMs) {
    std::string header = Receive(4, timeoutMs);
    if (header.size() < 4) return "";
    size_t length = static_cast<uint8_t>(header[2]) << 8 | static_cast<uint8_t>(header[3]);
    return Receive(length, timeoutMs);
}

bool RawSocket::ClosedByPeer(int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int left = static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count());
        if (left <= 0 || !Readable(fd_, left)) return false;
        char buffer[65536];
        if (recv(fd_, buffer, sizeof buffer, 0) <= 0) return true;
    }
}

void RawSocket::Reset() {
    linger hard{1, 0};
    setsockopt(fd_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    close(fd_);
    fd_ = -1;
}

RawListener::RawListener() {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa = Loopback(0);
    bind(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    listen(fd_, 16);
    socklen_t len = sizeof sa;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&sa), &len);
    port_ = ntohs(sa.sin_port);
}

RawListener::~RawListener() { close(fd_); }

RawSocket RawListener::Accept(int timeoutMs) {
    if (!Readable(fd_, timeoutMs)) return RawSocket(-1);
    return RawSocket(accept(fd_, nullptr, nullptr));
}

std::string LittleEndian(int32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<size_t>(i)] = static_cast<char>(static_cast<uint32_t>(value) >> (8 * i));
    return bytes;
}

std::string Rvln(uint8_t type, int32_t to, int32_t from, const std::string& payload) {
    return "RVLN" + std::string(1, static_cast<char>(type)) + LittleEndian(static_cast<int32_t>(payload.size())) +
           LittleEndian(to) + LittleEndian(from) + payload;
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

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
        if (left <= 0 || !Readable(fromPeer_, left)) return "TIMEOUT";
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

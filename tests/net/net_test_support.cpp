// Raw loopback sockets, packets as bytes and bounded waits for the network tests.
#include "tests/net/net_test_support.h"

#include "runtime/net/net.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

sockaddr_in Loopback(uint16_t port) { return {AF_INET, htons(port), {htonl(INADDR_LOOPBACK)}, {}}; }

// Data, an end or an error is waiting before the deadline.
bool Readable(int fd, std::chrono::steady_clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, static_cast<int>(std::max<int64_t>(left.count(), 0))) > 0;
}

std::chrono::steady_clock::time_point In(int ms) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
}

} // namespace

uint16_t FreePort() { return RawListener().port(); }

RawSocket::RawSocket(uint16_t port, int receiveBuffer) : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    if (receiveBuffer > 0) setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    int on = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    Connect(port);
}

void RawSocket::Connect(uint16_t port) {
    sockaddr_in sa = Loopback(port);
    if (connect(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) Close();
}

void RawSocket::Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

void RawSocket::Reset() {
    linger hard{1, 0};
    setsockopt(fd_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    Close();
}

bool RawSocket::Send(const std::string& bytes) {
    for (size_t sent = 0; sent < bytes.size();) {
        ssize_t n = send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

std::string RawSocket::Nl(const std::string& body) {
    return "NL" + std::string{static_cast<char>(body.size() >> 8), static_cast<char>(body.size() & 255)} + body;
}

std::string RawSocket::Receive(size_t count, int timeoutMs) {
    std::string bytes;
    for (auto deadline = In(timeoutMs); bytes.size() < count && Readable(fd_, deadline);) {
        char buffer[65536];
        ssize_t n = recv(fd_, buffer, std::min(sizeof buffer, count - bytes.size()), 0);
        if (n <= 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return bytes;
}

std::string RawSocket::ReceivePacket(int timeoutMs) {
    std::string header = Receive(4, timeoutMs);
    return header.size() < 4 ? "" : Receive(uint8_t(header[2]) << 8 | uint8_t(header[3]), timeoutMs);
}

bool RawSocket::ClosedByPeer(int timeoutMs) {
    for (auto deadline = In(timeoutMs); Readable(fd_, deadline);) {
        char buffer[65536];
        if (recv(fd_, buffer, sizeof buffer, 0) <= 0) return true;
    }
    return false;
}

int32_t RawSocket::Register(const std::string& name) {
    SendPacket(Rvln(1, 0, -1, CreatePayload(name)));
    std::string answer = ReceivePacket();
    if (answer.size() != 17 || answer[4] != 2) return 0;
    return static_cast<int32_t>(static_cast<uint8_t>(answer[9]) | static_cast<uint8_t>(answer[10]) << 8);
}

RawListener::RawListener(int backlog) : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in sa = Loopback(0);
    bind(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    listen(fd_, backlog);
    socklen_t len = sizeof sa;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&sa), &len);
    port_ = ntohs(sa.sin_port);
}

RawListener::~RawListener() { close(fd_); }

RawSocket RawListener::Accept(int timeoutMs) {
    return RawSocket(Readable(fd_, In(timeoutMs)) ? accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC) : -1);
}

// The machines we build for are little-endian: a number's bytes in memory are its bytes on the wire.
std::string LittleEndian(int32_t value) { return std::string(reinterpret_cast<const char*>(&value), 4); }

std::string Rvln(uint8_t type, int32_t to, int32_t from, const std::string& payload) {
    return "RVLN" + std::string(1, static_cast<char>(type)) + LittleEndian(static_cast<int32_t>(payload.size())) +
           LittleEndian(to) + LittleEndian(from) + payload;
}

std::string CreatePayload(const std::string& name, bool hidden) {
    std::string payload = LittleEndian(-1) + LittleEndian(-1) + std::string{static_cast<char>(hidden), '\0'} + name;
    payload.resize(152, '\0');
    return payload;
}

std::string NextMessage(const char* id) {
    std::string text;
    WaitFor([&] { return !(text = NetReceiveMessage(id).c_str()).empty(); });
    return text;
}

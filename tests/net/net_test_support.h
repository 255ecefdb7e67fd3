// What the network tests share: raw POSIX sockets on loopback (so that the layer is checked from
// outside), a free port, the peer program driven over pipes, and waits that always end.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// A port nobody listens on right now.
uint16_t FreePort();

// A plain TCP connection to 127.0.0.1, closed when it goes out of scope.
class RawSocket {
  public:
    explicit RawSocket(uint16_t port, int receiveBuffer = 0);
    explicit RawSocket(int fd) : fd_(fd) {}
    ~RawSocket();
    RawSocket(RawSocket&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    RawSocket& operator=(RawSocket&& other) noexcept;
    RawSocket(const RawSocket&) = delete;
    RawSocket& operator=(const RawSocket&) = delete;

    bool Connected() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    void Send(const std::string& bytes);
    // Sends bytes inside a HawkNL packet header.
    void SendPacket(const std::string& body);
    // Up to count bytes within timeoutMs; fewer when the peer closed or time ran out.
    std::string Receive(size_t count, int timeoutMs = 5000);
    // One HawkNL packet's body, or "" on timeout or close.
    std::string ReceivePacket(int timeoutMs = 5000);
    // True when the peer has closed or reset the connection within timeoutMs (data read on the way is dropped).
    bool ClosedByPeer(int timeoutMs = 5000);
    // Ends with a reset instead of a clean close.
    void Reset();

  private:
    int fd_ = -1;
};

// A listening plain TCP socket on 127.0.0.1.
class RawListener {
  public:
    RawListener();
    ~RawListener();
    RawListener(const RawListener&) = delete;
    RawListener& operator=(const RawListener&) = delete;
    uint16_t port() const { return port_; }
    int fd() const { return fd_; }
    // The next connection within timeoutMs, or an unconnected socket.
    RawSocket Accept(int timeoutMs = 5000);

  private:
    int fd_ = -1;
    uint16_t port_ = 0;
};

// An "RVLN" packet as bytes.
std::string Rvln(uint8_t type, int32_t to, int32_t from, const std::string& payload);
std::string LittleEndian(int32_t value);

// Checks condition every millisecond until it holds or timeoutMs pass.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000);

// The peer program, one command a line on its input, one answer a line on its output.
class Peer {
  public:
    Peer();
    ~Peer();
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;
    // The answer line, or "TIMEOUT" when none came within 20 s.
    std::string Ask(const std::string& command);
    int pid() const { return pid_; }
    // Ends the peer and waits for it; its exit status.
    int Quit();

  private:
    int pid_ = -1;
    int toPeer_ = -1;
    int fromPeer_ = -1;
    std::string pending_;
};

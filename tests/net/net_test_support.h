// What the network tests share: raw POSIX sockets on loopback (so that the layer and the host are
// checked from outside), "RVLN" packets as bytes, a free port and waits that always end.
#pragma once

#include "tests/support/headless.h"

#include <cstdint>
#include <string>

// A port nobody listens on right now.
uint16_t FreePort();

// A plain TCP connection to 127.0.0.1, closed when it goes out of scope.
class RawSocket {
  public:
    explicit RawSocket(uint16_t port, int receiveBuffer = 0);
    explicit RawSocket(int fd) : fd_(fd) {}
    RawSocket(RawSocket&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    ~RawSocket() { Close(); }

    int fd() const { return fd_; }
    // For a socket made unconnected; closed when nothing answers.
    void Connect(uint16_t port);
    void Close();
    // Ends with a reset instead of a clean close.
    void Reset();
    // False when the peer is gone.
    bool Send(const std::string& bytes);
    // Sends bytes inside a HawkNL packet header.
    void SendPacket(const std::string& body) { Send(Nl(body)); }
    // Up to count bytes within timeoutMs; fewer when the peer closed or time ran out.
    std::string Receive(size_t count, int timeoutMs = 5000);
    // One HawkNL packet's body, or "" on timeout or close.
    std::string ReceivePacket(int timeoutMs = 5000);
    // True when the peer has closed or reset the connection within timeoutMs (data on the way is dropped).
    bool ClosedByPeer(int timeoutMs = 5000);
    // Creates a player on the host this socket is connected to; its id, or 0 when none came.
    int32_t Register(const std::string& name);

    static std::string Nl(const std::string& body);

  private:
    int fd_ = -1;
};

// A listening plain TCP socket on 127.0.0.1, on a free port, that queues backlog connections.
class RawListener {
  public:
    explicit RawListener(int backlog = 16);
    ~RawListener();
    uint16_t port() const { return port_; }
    // For the benchmarks' polls.
    int fd() const { return fd_; }
    // The next connection within timeoutMs, or an unconnected socket.
    RawSocket Accept(int timeoutMs = 5000);

  private:
    int fd_ = -1;
    uint16_t port_ = 0;
};

std::string LittleEndian(int32_t value);
// An "RVLN" packet as bytes, and the payload of a player's creation.
std::string Rvln(uint8_t type, int32_t to, int32_t from, const std::string& payload = "");
std::string CreatePayload(const std::string& name, bool hidden = false);

// The next message of one of this process's players, waiting for it to arrive; "" after 5 s.
std::string NextMessage(const char* id);

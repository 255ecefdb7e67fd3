// The peer program of the network benchmarks, run as a child and driven over pipes.
#pragma once

#include <string>

// One command a line on its input, one answer a line on its output.
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

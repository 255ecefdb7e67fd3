// A session host under a hostile mix for a fixed time beside one well-behaved client: peers that
// never read, connections of 64 players broadcasting, half-header connections up to the cap and a
// ping flood. Reports the good client's count-query round trips, the host's peak memory and the
// packets relayed to the attackers; without attackers for the peer figures.
#include "runtime/net/net.h"
#include "bench/net/peer_process.h"
#include "tests/net/net_test_support.h"

#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kRunTime = std::chrono::seconds(5);

long PeakRssKb(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("VmHWM:")) return std::stol(line.substr(6));
    return -1;
}

std::string Framed(const std::string& body) {
    return std::string{'N', 'L', static_cast<char>(body.size() >> 8), static_cast<char>(body.size() & 255)} + body;
}

std::string Create(bool hidden) {
    std::string payload = LittleEndian(-1) + LittleEndian(-1) + std::string(1, hidden ? '\1' : '\0') + '\0' + "p";
    payload.resize(152, '\0');
    return Framed(Rvln(1, 0, -1, payload));
}

int32_t Int32At(const std::string& body, size_t offset) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value |= static_cast<uint32_t>(static_cast<uint8_t>(body[offset + i])) << (8 * i);
    return static_cast<int32_t>(value);
}

// One attacking connection, non-blocking, reopened a while after the host drops or refuses it.
struct Attacker {
    enum class Kind { NonReader, Broadcaster, HalfHeader, Flood };
    explicit Attacker(Kind k) : kind(k) {}
    Kind kind;
    int fd = -1;
    Clock::time_point reopen{};
    std::string in;
    std::vector<int32_t> ids;
    size_t next = 0;
};

class HostileMix {
  public:
    explicit HostileMix(uint16_t port) : port_(port) {
        for (int i = 0; i < 20; ++i) attackers_.emplace_back(Attacker::Kind::NonReader);
        for (int i = 0; i < 100; ++i) attackers_.emplace_back(Attacker::Kind::Broadcaster);
        attackers_.emplace_back(Attacker::Kind::Flood);
        for (int i = 0; i < kNetMaxConnections; ++i) attackers_.emplace_back(Attacker::Kind::HalfHeader);
    }
    ~HostileMix() {
        for (Attacker& a : attackers_)
            if (a.fd >= 0) close(a.fd);
    }
    int64_t relayed() const { return relayed_; }

    // One round over every attacker: open, send, read (all but the non-readers), notice drops.
    void Step() {
        auto now = Clock::now();
        for (Attacker& a : attackers_) {
            if (a.fd < 0) {
                if (now >= a.reopen) Open(a);
                continue;
            }
            bool gone = false;
            if (a.kind == Attacker::Kind::NonReader || a.kind == Attacker::Kind::HalfHeader) {
                pollfd p{a.fd, POLLRDHUP, 0};
                gone = poll(&p, 1, 0) > 0;
            } else {
                gone = !Drain(a) || !Send(a);
            }
            if (gone) {
                close(a.fd);
                a = Attacker(a.kind);
                a.reopen = now + std::chrono::milliseconds(100);
            }
        }
    }

  private:
    void Open(Attacker& a) {
        a.fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int small = 2048;
        if (a.kind == Attacker::Kind::NonReader) setsockopt(a.fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
        sockaddr_in host{};
        host.sin_family = AF_INET;
        host.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        host.sin_port = htons(port_);
        if (connect(a.fd, reinterpret_cast<sockaddr*>(&host), sizeof host) != 0) {
            close(a.fd);
            a.fd = -1;
            return;
        }
        fcntl(a.fd, F_SETFL, fcntl(a.fd, F_GETFL) | O_NONBLOCK);
        std::string hello;
        switch (a.kind) {
        case Attacker::Kind::NonReader:
            hello = Create(false);
            break;
        case Attacker::Kind::Broadcaster:
            for (int i = 0; i < 64; ++i) hello += Create(false);
            break;
        case Attacker::Kind::HalfHeader:
            hello = "NL\0";
            hello.resize(3);
            break;
        case Attacker::Kind::Flood:
            hello = Create(true);
            break;
        }
        send(a.fd, hello.data(), hello.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    }

    // Reads what arrived, learning ids and counting messages; false when the host has gone.
    bool Drain(Attacker& a) {
        char buffer[65536];
        for (;;) {
            ssize_t n = recv(a.fd, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n == 0) return false;
            if (n < 0) break;
            a.in.append(buffer, static_cast<size_t>(n));
        }
        size_t at = 0;
        while (a.in.size() - at >= 4) {
            size_t length = static_cast<uint8_t>(a.in[at + 2]) << 8 | static_cast<uint8_t>(a.in[at + 3]);
            if (a.in.size() - at < 4 + length) break;
            std::string body = a.in.substr(at + 4, length);
            at += 4 + length;
            if (body.size() < 17) continue;
            if (body[4] == 2) a.ids.push_back(Int32At(body, 9));
            if (body[4] == 3) ++relayed_;
        }
        a.in.erase(0, at);
        return true;
    }

    // The next broadcast or ping, when the socket takes it; false when the host has gone.
    bool Send(Attacker& a) {
        if (a.ids.empty()) return true;
        int32_t from = a.ids[a.next++ % a.ids.size()];
        std::string packet = a.kind == Attacker::Kind::Broadcaster ? Framed(Rvln(3, -1, from, std::string(1000, 'b')))
                                                                   : Framed(Rvln(104, 0, from, ""));
        ssize_t n = send(a.fd, packet.data(), packet.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        // A packet cut short would break the framing: the rest follows at once.
        if (n > 0 && static_cast<size_t>(n) < packet.size()) {
            pollfd p{a.fd, POLLOUT, 0};
            for (size_t sent = static_cast<size_t>(n); sent < packet.size() && poll(&p, 1, 1000) > 0;) {
                ssize_t more = send(a.fd, packet.data() + sent, packet.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
                if (more < 0 && errno != EAGAIN) return false;
                if (more > 0) sent += static_cast<size_t>(more);
            }
        }
        return n >= 0 || errno == EAGAIN;
    }

    uint16_t port_;
    std::vector<Attacker> attackers_;
    int64_t relayed_ = 0;
};

// Arg: 1 with the attackers, 0 without.
void BM_HostUnderAttack(benchmark::State& state) {
    Peer host;
    uint16_t port = FreePort();
    host.Ask("host " + std::to_string(port));
    RawSocket good(port);
    good.Send(Create(true));
    std::string created = good.ReceivePacket();
    int32_t id = created.size() == 17 ? Int32At(created, 9) : 0;
    std::vector<double> millis;
    int64_t timeouts = 0, relayed = 0;
    for (auto _ : state) {
        std::atomic<bool> stop = false;
        std::thread attack([&] {
            if (!state.range(0)) return;
            HostileMix mix(port);
            while (!stop) {
                mix.Step();
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            relayed = mix.relayed();
        });
        for (auto end = Clock::now() + kRunTime; Clock::now() < end;) {
            auto sent = Clock::now();
            good.SendPacket(Rvln(101, 0, id, ""));
            if (good.ReceivePacket(5000).empty())
                ++timeouts;
            else
                millis.push_back(std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        stop = true;
        attack.join();
    }
    std::sort(millis.begin(), millis.end());
    if (!millis.empty()) {
        state.counters["p50_ms"] = millis[millis.size() / 2];
        state.counters["p99_ms"] = millis[std::min(millis.size() - 1, millis.size() * 99 / 100)];
    }
    state.counters["queries"] = static_cast<double>(millis.size());
    state.counters["timeouts"] = static_cast<double>(timeouts);
    state.counters["host_peak_rss_mb"] = static_cast<double>(PeakRssKb(host.pid())) / 1024.0;
    state.counters["relayed"] = static_cast<double>(relayed);
    host.Quit();
}
BENCHMARK(BM_HostUnderAttack)->Arg(0)->Arg(1)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

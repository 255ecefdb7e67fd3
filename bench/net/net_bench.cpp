// Sessions over loopback: round trips through a host in another process with 1, 10 and 100 clients,
// the host's memory per client, beside a plain TCP echo over the same loopback and message size; and
// the HTTP download's throughput.
#include "runtime/files/system_services.h"
#include "runtime/net/net.h"
#include "runtime/net/net_session.h"
#include "bench/net/peer_process.h"
#include "tests/net/net_test_support.h"

#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr size_t kMessageSize = 64;

std::string Framed(const std::string& body) {
    return std::string{'N', 'L', static_cast<char>(body.size() >> 8), static_cast<char>(body.size() & 255)} + body;
}

long RssKb(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("VmRSS:")) return std::stol(line.substr(6));
    return -1;
}

// Sends one request on every connection, waits for every answer; the round trip of each in ms.
void RoundTrips(std::vector<RawSocket>& links, const std::vector<std::string>& requests, size_t answerSize,
                std::vector<double>& millis) {
    std::vector<Clock::time_point> sent(links.size());
    std::vector<size_t> got(links.size(), 0);
    std::vector<pollfd> fds;
    for (size_t i = 0; i < links.size(); ++i) {
        sent[i] = Clock::now();
        links[i].Send(requests[i]);
        fds.push_back({links[i].fd(), POLLIN, 0});
    }
    size_t done = 0;
    auto deadline = Clock::now() + std::chrono::seconds(10);
    while (done < links.size() && Clock::now() < deadline) {
        if (poll(fds.data(), fds.size(), 100) <= 0) continue;
        for (size_t i = 0; i < fds.size(); ++i) {
            if (!(fds[i].revents & POLLIN)) continue;
            char buffer[4096];
            ssize_t n = recv(fds[i].fd, buffer, sizeof buffer, 0);
            if (n <= 0) continue;
            got[i] += static_cast<size_t>(n);
            if (got[i] >= answerSize && fds[i].events) {
                millis.push_back(std::chrono::duration<double, std::milli>(Clock::now() - sent[i]).count());
                got[i] -= answerSize;
                fds[i].events = 0;
                fds[i].fd = -1;
                ++done;
            }
        }
    }
}

// Round trips in ms (to the last answer of a burst); messages each round trip carried.
void Report(benchmark::State& state, std::vector<double>& millis, int64_t perTrip = 1) {
    std::sort(millis.begin(), millis.end());
    if (millis.empty()) return;
    state.counters["median_ms"] = millis[millis.size() / 2];
    state.counters["p99_ms"] = millis[std::min(millis.size() - 1, millis.size() * 99 / 100)];
    state.counters["msgs_per_s"] = benchmark::Counter(static_cast<double>(millis.size()) * static_cast<double>(perTrip),
                                                      benchmark::Counter::kIsRate);
}

// A host in the peer program with load connections that each registered a player.
struct LoadedHost {
    explicit LoadedHost(int clients, int passMs = 10, int burst = 1) {
        port = FreePort();
        peer.Ask("pass " + std::to_string(passMs));
        peer.Ask("host " + std::to_string(port));
        std::string payload = LittleEndian(-1) + LittleEndian(-1) + std::string(2, '\0') + "load";
        payload.resize(152, '\0');
        for (int i = 0; i < clients; ++i) links.emplace_back(port).SendPacket(Rvln(1, 0, -1, payload));
        for (RawSocket& link : links) {
            std::string answer = link.ReceivePacket();
            int32_t id =
                answer.size() == 17 ? static_cast<uint8_t>(answer[9]) | static_cast<uint8_t>(answer[10]) << 8 : 0;
            // Each connection messages its own player through the host.
            std::string one = Framed(Rvln(3, id, id, std::string(kMessageSize, 'm')));
            answerSize = one.size() * static_cast<size_t>(burst);
            std::string request;
            for (int i = 0; i < burst; ++i) request += one;
            requests.push_back(request);
        }
    }
    Peer peer;
    uint16_t port = 0;
    std::vector<RawSocket> links;
    std::vector<std::string> requests;
    size_t answerSize = 0;
};

// Args: clients, the host's pass sleep in ms (the session uses 10), messages each client sends at once.
// The burst shows the cost of reading one packet per client per pass.
void BM_SessionRoundTrip(benchmark::State& state) {
    LoadedHost host(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                    static_cast<int>(state.range(2)));
    std::vector<double> millis;
    for (auto _ : state) RoundTrips(host.links, host.requests, host.answerSize, millis);
    Report(state, millis, state.range(2));
    host.peer.Quit();
}
BENCHMARK(BM_SessionRoundTrip)
    ->ArgsProduct({{1, 10, 100}, {10, 1}, {1}})
    ->Args({10, 10, 20})
    ->Args({10, 1, 20})
    ->Iterations(100)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The same with one real joined session beside the load: its player messages itself.
void BM_JoinedClientRoundTrip(benchmark::State& state) {
    LoadedHost host(static_cast<int>(state.range(0)));
    NetworkCreate();
    NetJoinSession("127.0.0.1", host.port);
    RtString id = NetCreatePlayer("bench");
    std::string text(kMessageSize, 'j');
    std::vector<double> millis;
    for (auto _ : state) {
        auto start = Clock::now();
        NetSendMessage(id, id, RtString(text));
        auto deadline = start + std::chrono::seconds(5);
        while (NetReceiveMessage(id).Length() == 0 && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        millis.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    Report(state, millis);
    NetworkDestroy();
    host.peer.Quit();
}
BENCHMARK(BM_JoinedClientRoundTrip)
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->Iterations(100)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The physical reference: a plain TCP echo server, one poll loop, the same framed message size.
class EchoServer {
  public:
    EchoServer() {
        thread_ = std::thread([this] {
            std::vector<RawSocket> clients;
            while (!stop_) {
                std::vector<pollfd> fds{{listener_.fd(), POLLIN, 0}};
                for (RawSocket& c : clients) fds.push_back({c.fd(), POLLIN, 0});
                if (poll(fds.data(), fds.size(), 50) <= 0) continue;
                if (fds[0].revents & POLLIN) clients.push_back(listener_.Accept(0));
                for (size_t i = 1; i < fds.size(); ++i) {
                    if (!(fds[i].revents & POLLIN)) continue;
                    char buffer[4096];
                    ssize_t n = recv(fds[i].fd, buffer, sizeof buffer, 0);
                    if (n > 0) clients[i - 1].Send(std::string(buffer, static_cast<size_t>(n)));
                }
            }
        });
    }
    ~EchoServer() {
        stop_ = true;
        thread_.join();
    }
    uint16_t port() const { return listener_.port(); }

  private:
    RawListener listener_;
    std::atomic<bool> stop_ = false;
    std::thread thread_;
};

// Args: clients, messages each client sends at once.
void BM_TcpEchoRoundTrip(benchmark::State& state) {
    EchoServer server;
    std::vector<RawSocket> links;
    std::vector<std::string> requests;
    std::string one = Framed(Rvln(3, 101, 101, std::string(kMessageSize, 'm')));
    std::string request;
    for (int i = 0; i < state.range(1); ++i) request += one;
    for (int i = 0; i < state.range(0); ++i) {
        links.emplace_back(server.port());
        requests.push_back(request);
    }
    std::vector<double> millis;
    for (auto _ : state) RoundTrips(links, requests, request.size(), millis);
    Report(state, millis, state.range(1));
}
BENCHMARK(BM_TcpEchoRoundTrip)
    ->Args({1, 1})
    ->Args({10, 1})
    ->Args({100, 1})
    ->Args({10, 20})
    ->Iterations(100)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_HostMemory(benchmark::State& state) {
    for (auto _ : state) {
        LoadedHost host(static_cast<int>(state.range(0)));
        // Every player is registered: the host answered each connection.
        state.counters["host_rss_kB"] = static_cast<double>(RssKb(host.peer.pid()));
        host.peer.Quit();
    }
}
BENCHMARK(BM_HostMemory)->Arg(0)->Arg(100)->Arg(1000)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_HttpDownload100MB(benchmark::State& state) {
    constexpr size_t kBody = 100u << 20;
    std::string block(1 << 20, 'h');
    std::string target =
        (access("/dev/shm", W_OK) == 0 ? std::string("/dev/shm") : std::string("/tmp")) + "/tmv_http_bench.bin";
    for (auto _ : state) {
        RawListener listener;
        std::thread server([&] {
            RawSocket client = listener.Accept();
            std::string request;
            while (request.find("\r\n\r\n") == std::string::npos) {
                std::string more = client.Receive(1);
                if (more.empty()) return;
                request += more;
            }
            client.Send("HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(kBody) + "\r\n\r\n");
            for (size_t sent = 0; sent < kBody; sent += block.size()) client.Send(block);
        });
        double ok = HttpGetToFile("127.0.0.1", "/big", listener.port(), RtString(target.c_str()));
        server.join();
        if (ok != 1) state.SkipWithError("download failed");
    }
    std::remove(target.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBody));
}
BENCHMARK(BM_HttpDownload100MB)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

// The reference: the same body read with plain recv into the same 4095 bytes and written to a file.
void BM_PlainDownload100MB(benchmark::State& state) {
    constexpr size_t kBody = 100u << 20;
    std::string block(1 << 20, 'h');
    std::string target =
        (access("/dev/shm", W_OK) == 0 ? std::string("/dev/shm") : std::string("/tmp")) + "/tmv_plain_bench.bin";
    for (auto _ : state) {
        RawListener listener;
        std::thread server([&] {
            RawSocket client = listener.Accept();
            for (size_t sent = 0; sent < kBody; sent += block.size()) client.Send(block);
        });
        RawSocket link(listener.port());
        FILE* file = std::fopen(target.c_str(), "wb");
        char buffer[4095];
        ssize_t n;
        while ((n = recv(link.fd(), buffer, sizeof buffer, 0)) > 0)
            if (write(fileno(file), buffer, static_cast<size_t>(n)) != n) break;
        fsync(fileno(file));
        std::fclose(file);
        server.join();
    }
    std::remove(target.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBody));
}
BENCHMARK(BM_PlainDownload100MB)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

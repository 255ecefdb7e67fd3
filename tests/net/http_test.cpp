// HttpGetToFile against a small server in the test: the request it sends, headers with and without
// CR, bodies by length, chunks or the stream's end stored exactly, and every failure, hostile servers
// included, leaving the old file whole and no temporary file.
#include "runtime/files/system_services.h"
#include "tests/net/net_test_support.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <thread>

namespace fs = std::filesystem;

namespace {

// Serves one connection: reads the request, then sends the answer, or stays silent until the client
// leaves.
struct OneShotServer {
    enum class Mode { Whole, Silent };
    OneShotServer(const std::string& answer, Mode mode) : thread([this, answer, mode] { Serve(answer, mode); }) {}
    ~OneShotServer() { thread.join(); }

    void Serve(const std::string& answer, Mode mode) {
        RawSocket client = listener.Accept();
        while (request.find("\r\n\r\n") == std::string::npos) {
            std::string more = client.Receive(1);
            if (more.empty()) return;
            request += more;
        }
        if (mode == Mode::Silent) return void(client.ClosedByPeer(10000));
        client.Send(answer);
    }

    RawListener listener;
    std::string request;
    std::thread thread; // last: it starts once the listener is there
};

TEST(Http, StoresTheBodyOfA2xxAnswerAndNothingElseKeepingTheOldFile) {
    using Mode = OneShotServer::Mode;
    const fs::path folder = fs::path(testing::TempDir()) / ("http_" + std::to_string(getpid()));
    const std::string target = (folder / "download.bin").string();
    fs::remove_all(folder);
    fs::create_directories(folder);
    HttpLimits() = {300, 500, 1 << 20};
    auto get = [&](const char* path, double port) { return HttpGetToFile("127.0.0.1", path, port, target.c_str()); };
    // The target holds expected, and no other file is left in its folder.
    auto expectTarget = [&](const std::string& expected) {
        EXPECT_TRUE(ReadFile(target) == expected);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);
    };
    std::string binary(1 << 20, '\0'); // every byte value, in no simple order
    for (size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 2654435761u >> 13);
    std::string ok = "HTTP/1.0 200 OK\r\n";
    std::string chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    struct Case {
        const char* what;
        std::string answer;
        std::optional<std::string> body; // none: the download fails
        Mode mode = Mode::Whole;
    } cases[] = {
        {"CR LF header", ok + "Content-Length: 5\r\n\r\nhello", "hello"},
        {"LF-only header", "HTTP/1.1 200 OK\nServer: x\n\nhello\r\n\n", "hello\r\n\n"},
        {"1 MiB binary body, the limit", ok + "Content-Length: 1048576\r\n\r\n" + binary, binary},
        {"chunked",
         "HTTP/1.1 299 OK\r\nTransfer-Encoding: Chunked\r\n\r\n5;x=y\r\nhello\r\n1\r\n \r\nA\r\n0123456789\r\n"
         "0\r\nX-Trailer: t\r\n\r\n",
         "hello 0123456789"},
        {"301 (not followed)", "HTTP/1.0 301 Moved\r\nLocation: /y\r\n\r\n", {}},
        {"199", "HTTP/1.0 199 Odd\r\n\r\nx", {}},
        {"close before the Content-Length", ok + "Content-Length: 10\r\n\r\nhello", {}},
        {"more than the Content-Length", ok + "Content-Length: 5\r\n\r\nhello!", {}},
        {"a length repeated", ok + "Content-Length: 5\r\ncontent-length: 5\r\n\r\nhello", "hello"},
        {"lengths that differ", ok + "Content-Length: 5\r\nContent-Length: 6\r\n\r\nhello!", {}},
        {"unparsable length", ok + "Content-Length: 5x\r\n\r\nhello", {}},
        {"length and chunks", ok + "Content-Length: 8\r\nTransfer-Encoding: chunked\r\n\r\n1\r\na\r\n0\r\n\r\n", {}},
        {"bad chunk size", chunked + "zz\r\nhello\r\n0\r\n\r\n", {}},
        {"chunk longer than its size", chunked + "2\r\nhello\r\n0\r\n\r\n", {}},
        {"no last chunk", chunked + "5\r\nhello\r\n", {}},
        {"bytes after the last chunk", chunked + "5\r\nhello\r\n0\r\n\r\nmore", {}},
        {"length over the limit", ok + "Content-Length: 1048577\r\n\r\n", {}},
        {"body over the limit", ok + "\r\n" + binary + "b", {}},
        {"chunks over the limit", chunked + "100000\r\n" + binary + "\r\n1\r\nb\r\n0\r\n\r\n", {}},
        {"a silent server", "", {}, Mode::Silent},
    };
    for (const Case& c : cases) {
        std::ofstream(target) << "old";
        OneShotServer server(c.answer, c.mode);
        EXPECT_EQ(get("/x?y=1", server.listener.port()), c.body ? 1 : 0) << c.what;
        expectTarget(c.body.value_or("old"));
        EXPECT_EQ(server.request,
                  "GET /x?y=1 HTTP/1.0\r\nHost:127.0.0.1\r\nAccept: */*\r\nUser-Agent: Ravlin game\r\n\r\n");
    }

    // Requests that cannot be made keep the old file too.
    std::ofstream(target) << "old";
    for (double port : {double(FreePort()), 0.0, 65536.0}) EXPECT_EQ(get("/", port), 0); // refused, then out of range
    RawListener unread; // a path with a line break must not reach even a server that takes the connection
    for (const char* path : {"/a\r\nX: y", "/a\nb"}) EXPECT_EQ(get(path, unread.port()), 0);
    EXPECT_EQ(unread.Accept(0).fd(), -1);
    EXPECT_EQ(HttpGetToFile("127.0.0.1", "/", 80, ""), 0);
    expectTarget("old");
    HttpLimits() = {};
    fs::remove_all(folder);
}

} // namespace

// HttpGetToFile against a small server in the test: the request it sends, headers with and without
// CR, bodies stored exactly, and every failure leaving the old file whole and no temporary file.
#include "runtime/files/system_services.h"
#include "tests/net/net_test_support.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sys/socket.h>
#include <thread>

namespace fs = std::filesystem;

namespace {

// Serves one connection: reads the request, then sends the answer whole or a byte at a time, or
// stays silent until the client leaves.
class OneShotServer {
  public:
    enum class Mode { Whole, ByteByByte, Silent };
    OneShotServer(std::string answer, Mode mode) {
        thread_ = std::thread([this, answer = std::move(answer), mode] {
            RawSocket client = listener_.Accept();
            if (!client.Connected()) return;
            while (request_.find("\r\n\r\n") == std::string::npos) {
                std::string more = client.Receive(1);
                if (more.empty()) return;
                request_ += more;
            }
            if (mode == Mode::Silent) {
                client.ClosedByPeer(10000);
            } else if (mode == Mode::ByteByByte) {
                for (char byte : answer) {
                    client.Send(std::string(1, byte));
                    std::this_thread::sleep_for(std::chrono::milliseconds(1)); // one read each
                }
            } else {
                client.Send(answer);
            }
        });
    }
    ~OneShotServer() { thread_.join(); }
    uint16_t port() const { return listener_.port(); }
    const std::string& request() const { return request_; }

  private:
    RawListener listener_;
    std::string request_;
    std::thread thread_;
};

class HttpTest : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::path(testing::TempDir()) / ("http_" + std::to_string(getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        target_ = (folder_ / "download.bin").string();
        std::ofstream(target_) << "old";
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Target() const { return ReadFile(target_); }
    size_t FilesInFolder() const { return static_cast<size_t>(std::distance(fs::directory_iterator(folder_), {})); }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path folder_;
    std::string target_;
};

TEST_F(HttpTest, StoresTheBodyOfA2xxAnswer) {
    std::string binary(1 << 20, '\0');
    std::mt19937 random(7);
    for (char& byte : binary) byte = static_cast<char>(random());
    struct Case {
        const char* what;
        std::string answer;
        OneShotServer::Mode mode;
        std::string body;
    } cases[] = {
        {"CR LF header", "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhello", OneShotServer::Mode::Whole, "hello"},
        {"LF-only header", "HTTP/1.1 200 OK\nServer: x\n\nhello\r\n\n", OneShotServer::Mode::Whole, "hello\r\n\n"},
        {"header one byte per read", "HTTP/1.0 204 No Content\r\nX: y\r\n\r\nab", OneShotServer::Mode::ByteByByte,
         "ab"},
        {"1 MB binary body", "HTTP/1.0 200 OK\r\nContent-Length: 1048576\r\n\r\n" + binary, OneShotServer::Mode::Whole,
         binary},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OneShotServer server(c.answer, c.mode);
        EXPECT_EQ(HttpGetToFile("127.0.0.1", "/files/a b.bin", server.port(), RtString(target_.c_str())), 1);
        EXPECT_TRUE(Target() == c.body);
        EXPECT_EQ(FilesInFolder(), 1u);
    }
    OneShotServer server("HTTP/1.0 200 OK\r\n\r\n", OneShotServer::Mode::Whole);
    EXPECT_EQ(HttpGetToFile("127.0.0.1", "/x?y=1", server.port(), RtString(target_.c_str())), 1);
    EXPECT_EQ(server.request(),
              "GET /x?y=1 HTTP/1.0\r\nHost:127.0.0.1\r\nAccept: */*\r\nUser-Agent: Ravlin game\r\n\r\n");
    EXPECT_EQ(Target(), "");
}

TEST_F(HttpTest, FailuresKeepTheOldFile) {
    HttpLimits().receiveMs = 300;
    struct Case {
        const char* what;
        std::string answer;
        OneShotServer::Mode mode;
    } cases[] = {
        {"404", "HTTP/1.0 404 Not Found\r\n\r\nmissing", OneShotServer::Mode::Whole},
        {"301 (not followed)", "HTTP/1.0 301 Moved\r\nLocation: /y\r\n\r\n", OneShotServer::Mode::Whole},
        {"close before the Content-Length", "HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nhello",
         OneShotServer::Mode::Whole},
        {"no header end", "HTTP/1.0 200 OK\r\nX: y\r\n", OneShotServer::Mode::Whole},
        {"a silent server", "", OneShotServer::Mode::Silent},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OneShotServer server(c.answer, c.mode);
        EXPECT_EQ(HttpGetToFile("127.0.0.1", "/", server.port(), RtString(target_.c_str())), 0);
        EXPECT_EQ(Target(), "old");
        EXPECT_EQ(FilesInFolder(), 1u);
    }
    {
        OneShotServer server("HTTP/1.0 200 OK\r\n\r\nbody", OneShotServer::Mode::Whole);
        std::string underAFile = target_ + "/inside.bin";
        EXPECT_EQ(HttpGetToFile("127.0.0.1", "/", server.port(), RtString(underAFile.c_str())), 0);
        // The server is left waiting for a request that never comes: let it go.
        RawSocket(server.port());
    }
    EXPECT_EQ(HttpGetToFile("127.0.0.1", "/", FreePort(), RtString(target_.c_str())), 0); // refused
    for (const char* path : {"/a\r\nX: y", "/a\nb"})
        EXPECT_EQ(HttpGetToFile("127.0.0.1", path, 80, RtString(target_.c_str())), 0);
    EXPECT_EQ(HttpGetToFile("127.0.0.1", "/", 0, RtString(target_.c_str())), 0);
    EXPECT_EQ(HttpGetToFile("127.0.0.1", "/", 65536, RtString(target_.c_str())), 0);
    EXPECT_EQ(Target(), "old");
    HttpLimits().receiveMs = 30000;
}

} // namespace

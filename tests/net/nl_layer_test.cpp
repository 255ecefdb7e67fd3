// Our HawkNL layer seen from a plain socket: the packet framing on the wire, partial and queued
// packets, the ends of a stream, lost framing, accept errors, polling and address texts.
#include "platform/nl.h"
#include "tests/net/net_test_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

class NlLayer : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(nlInit());
        ASSERT_TRUE(nlSelectNetwork(NL_IP));
        port_ = FreePort();
        listener_ = nlOpen(port_, NL_RELIABLE_PACKETS);
        ASSERT_NE(listener_, NL_INVALID);
        ASSERT_TRUE(nlListen(listener_));
    }
    void TearDown() override { nlShutdown(); }

    // A raw client and the layer's end of it.
    std::pair<RawSocket, NLsocket> Connect() {
        RawSocket raw(port_);
        NLsocket accepted = NL_INVALID;
        WaitFor([&] { return (accepted = nlAcceptConnection(listener_)) != NL_INVALID; });
        return {std::move(raw), accepted};
    }
    NLint Read(NLsocket socket, std::string& out, NLint size = NL_MAX_PACKET_LENGTH) {
        std::vector<char> buffer(static_cast<size_t>(size) + 1);
        NLint n = nlRead(socket, buffer.data(), size);
        out.assign(buffer.data(), n > 0 ? static_cast<size_t>(n) : 0);
        return n;
    }
    // Reads until a packet, an error or 5 s.
    NLint ReadWhole(NLsocket socket, std::string& out, NLint size = NL_MAX_PACKET_LENGTH) {
        NLint n = 0;
        WaitFor([&] { return (n = Read(socket, out, size)) != 0; });
        return n;
    }

    NLsocket listener_ = NL_INVALID;
    uint16_t port_ = 0;
};

TEST_F(NlLayer, FramingOnTheWire) {
    auto [raw, socket] = Connect();
    ASSERT_NE(socket, NL_INVALID);
    EXPECT_EQ(nlWrite(socket, "abc", 3), 3);
    EXPECT_EQ(raw.Receive(7), std::string("NL\0\3abc", 7));
    EXPECT_EQ(nlWrite(socket, "", 0), 0); // a zero-length packet is a bare header
    EXPECT_EQ(raw.Receive(4), std::string("NL\0\0", 4));
    const void* packets[] = {"ab", "", "c"};
    NLint sizes[] = {2, 0, 1};
    EXPECT_EQ(nlWritePackets(socket, packets, sizes, 3), 3);
    EXPECT_EQ(raw.Receive(15), std::string("NL\0\2abNL\0\0NL\0\1c", 15));
    std::string big(NL_MAX_PACKET_LENGTH, 'b');
    EXPECT_EQ(nlWrite(socket, big.data(), NL_MAX_PACKET_LENGTH + 1), NL_INVALID);
    EXPECT_EQ(nlGetError(), NL_PACKET_SIZE);
    EXPECT_EQ(nlWrite(socket, big.data(), NL_MAX_PACKET_LENGTH), NL_MAX_PACKET_LENGTH);
    EXPECT_EQ(raw.Receive(4 + big.size()), "NL\x40" + std::string(1, '\0') + big);
}

TEST_F(NlLayer, PartialQueuedAndOversizedPackets) {
    auto [raw, socket] = Connect();
    std::string got;
    raw.Send(std::string("NL\0\5hel", 7));
    // A partial packet, whatever waits we give it, reads as nothing and no error.
    EXPECT_FALSE(WaitFor([&] { return Read(socket, got) != 0; }, 50));
    raw.Send(std::string("loNL\0\2xyNL\0", 11));
    EXPECT_EQ(ReadWhole(socket, got), 5);
    EXPECT_EQ(got, "hello");
    EXPECT_EQ(Read(socket, got, 1), NL_INVALID); // too small: the packet stays queued
    EXPECT_EQ(nlGetError(), NL_BUFFER_SIZE);
    EXPECT_EQ(Read(socket, got, 2), 2);
    EXPECT_EQ(got, "xy");
    EXPECT_EQ(Read(socket, got), 0); // the next header is incomplete
    raw.Send(std::string("\0", 1));
    raw = RawSocket(-1);
    EXPECT_EQ(Read(socket, got), 0); // the zero-length packet
    EXPECT_EQ(ReadWhole(socket, got), NL_INVALID);
    EXPECT_EQ(nlGetError(), NL_MESSAGE_END);
}

TEST_F(NlLayer, EndsOfTheStream) {
    struct Case {
        const char* what;
        std::string bytes;
        bool reset;
        NLenum error;
    } cases[] = {
        {"clean close after a packet", std::string("NL\0\1z", 5), false, NL_MESSAGE_END},
        {"close inside a packet", std::string("NL\0\7abc", 7), false, NL_MESSAGE_END},
        {"reset", "", true, NL_SOCK_DISCONNECT},
        {"another header", "XX\0\1z", false, NL_PACKET_SYNC},
        {"a length above 16384", std::string("NL\x40\x01", 4), false, NL_PACKET_SYNC},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto [raw, socket] = Connect();
        std::string got;
        raw.Send(c.bytes);
        if (c.bytes == std::string("NL\0\1z", 5)) {
            EXPECT_EQ(ReadWhole(socket, got), 1); // what arrived before the close is still read
        }
        if (c.reset)
            raw.Reset();
        else if (c.error != NL_PACKET_SYNC)
            raw = RawSocket(-1);
        EXPECT_EQ(ReadWhole(socket, got), NL_INVALID);
        EXPECT_EQ(nlGetError(), c.error);
        EXPECT_EQ(Read(socket, got), NL_INVALID); // and it stays so
        EXPECT_EQ(nlGetError(), c.error);
        nlClose(socket);
    }
}

TEST_F(NlLayer, WritesToAGonePeerFailWithoutSignal) {
    auto [raw, socket] = Connect();
    raw.Reset();
    std::string bytes(1000, 'w');
    NLint result = 0;
    EXPECT_TRUE(WaitFor([&] { return (result = nlWrite(socket, bytes.data(), 1000)) == NL_INVALID; }));
    EXPECT_TRUE(nlGetError() == NL_SOCK_DISCONNECT || nlGetError() == NL_SYSTEM_ERROR);
}

TEST_F(NlLayer, AcceptErrors) {
    EXPECT_EQ(nlAcceptConnection(listener_), NL_INVALID);
    EXPECT_EQ(nlGetError(), NL_NO_PENDING);
    NLsocket plain = nlOpen(0, NL_RELIABLE_PACKETS);
    EXPECT_EQ(nlAcceptConnection(plain), NL_INVALID);
    EXPECT_EQ(nlGetError(), NL_NOT_LISTEN);

    // No descriptor to spare: the connection waits and is taken once one is free.
    RawSocket raw(port_);
    rlimit old{};
    getrlimit(RLIMIT_NOFILE, &old);
    std::vector<int> filler;
    for (int fd; (fd = open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) {
        filler.push_back(fd);
        if (filler.size() > 100000) break;
    }
    rlimit tight = old;
    tight.rlim_cur = static_cast<rlim_t>(filler.empty() ? 0 : filler.back() + 1);
    setrlimit(RLIMIT_NOFILE, &tight);
    NLsocket refused = nlAcceptConnection(listener_);
    NLenum error = nlGetError();
    NLint system = nlGetSystemError();
    for (int fd : filler) close(fd);
    setrlimit(RLIMIT_NOFILE, &old);
    EXPECT_EQ(refused, NL_INVALID);
    EXPECT_EQ(error, NL_SYSTEM_ERROR);
    EXPECT_EQ(system, EMFILE);
    NLsocket later = NL_INVALID;
    EXPECT_TRUE(WaitFor([&] { return (later = nlAcceptConnection(listener_)) != NL_INVALID; }));
}

TEST_F(NlLayer, PollCountsOnlyWholePacketsAndNeverOverfillsTheArray) {
    NLint group = nlGroupCreate();
    std::vector<std::pair<RawSocket, NLsocket>> links;
    for (int i = 0; i < 3; ++i) {
        links.push_back(Connect());
        ASSERT_TRUE(nlGroupAddSocket(group, links.back().second));
    }
    NLsocket ready[3] = {-7, -7, -7};
    links[0].first.Send(std::string("NL\0\2a", 5)); // partial: not ready
    EXPECT_EQ(nlPollGroup(group, NL_READ_STATUS, ready, 3, 50), 0);
    links[0].first.Send("b");
    EXPECT_EQ(nlPollGroup(group, NL_READ_STATUS, ready, 3, 5000), 1);
    EXPECT_EQ(ready[0], links[0].second);
    links[1].first.Send(std::string("NL\0\0", 4));
    links[2].first = RawSocket(-1); // an end counts as ready
    EXPECT_TRUE(WaitFor([&] { return nlPollGroup(group, NL_READ_STATUS, ready, 3, 0) == 3; }));
    ready[2] = -7;
    EXPECT_EQ(nlPollGroup(group, NL_READ_STATUS, ready, 2, 0), NL_INVALID);
    EXPECT_EQ(nlGetError(), NL_BUFFER_SIZE);
    EXPECT_EQ(ready[2], -7);
    EXPECT_TRUE(nlGroupDestroy(group));
}

TEST_F(NlLayer, ConnectsReportTheirState) {
    NLsocket client = nlOpen(0, NL_RELIABLE_PACKETS);
    NLaddress address;
    ASSERT_TRUE(nlStringToAddr("127.0.0.1", &address));
    nlSetAddrPort(&address, port_);
    ASSERT_TRUE(nlConnect(client, &address));
    NLsocket accepted = NL_INVALID;
    ASSERT_TRUE(WaitFor([&] { return (accepted = nlAcceptConnection(listener_)) != NL_INVALID; }));
    EXPECT_TRUE(WaitFor([&] { return nlWrite(client, "hi", 2) == 2; }));
    EXPECT_FALSE(nlConnect(client, &address));
    EXPECT_EQ(nlGetError(), NL_CONNECTED);
    std::string got;
    EXPECT_EQ(ReadWhole(accepted, got), 2);

    NLsocket refused = nlOpen(0, NL_RELIABLE_PACKETS);
    nlSetAddrPort(&address, FreePort());
    // Loopback refuses at once or on the first read; either way the refusal is reported.
    if (nlConnect(refused, &address)) {
        EXPECT_EQ(ReadWhole(refused, got), NL_INVALID);
    }
    EXPECT_EQ(nlGetError(), NL_CON_REFUSED);
}

TEST(NlAddresses, TextsAndCounting) {
    NLaddress address;
    char text[NL_MAX_STRING_LENGTH];
    struct Case {
        const char* in;
        bool ok;
        const char* out;
    } cases[] = {
        {"1.2.3.4:80", true, "1.2.3.4:80"}, {"10.0.0.255", true, "10.0.0.255"},
        {"1.2.3.4:0", true, "1.2.3.4"},     {"1.2.3.4:65535", true, "1.2.3.4:65535"},
        {"1.2.3.4:65536", false, ""},       {"1.2.3", false, ""},
        {"localhost:80", false, ""},        {"1.2.3.4:", false, ""},
        {"1.2.3.4:-1", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(nlStringToAddr(c.in, &address), c.ok);
        if (c.ok) {
            EXPECT_STREQ(nlAddrToString(&address, text), c.out);
        }
    }
    ASSERT_TRUE(nlInit());
    NLsocket listening = nlOpen(0, NL_RELIABLE_PACKETS);
    ASSERT_TRUE(nlListen(listening));
    ASSERT_TRUE(nlGetLocalAddr(listening, &address));
    EXPECT_EQ(address.port, 0); // bound by nlListen, still port 0
    nlShutdown();
    NLint count = 0;
    NLaddress* all = nlGetAllLocalAddr(&count);
    ASSERT_GE(count, 1);
    EXPECT_EQ(all[0].port, 0);

    // A shut-down before any start never leaves the count below zero.
    nlShutdown();
    ASSERT_TRUE(nlInit());
    EXPECT_NE(nlOpen(0, NL_RELIABLE), NL_INVALID);
    nlShutdown();
    EXPECT_EQ(nlOpen(0, NL_RELIABLE), NL_INVALID);
    EXPECT_EQ(nlGetError(), NL_NO_NETWORK);
}

} // namespace

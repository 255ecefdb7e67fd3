// Our HawkNL layer seen from a plain socket: the packet framing on the wire, batches cut short,
// partial and queued packets, the ends of a stream, lost framing, polling, connecting, address texts
// and refused arguments.
#include "platform/nl.h"
#include "tests/net/net_test_support.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <tuple>
#include <vector>

namespace {

// The error a call left when it failed (NL_INVALID, or false), NL_NO_ERROR when it did not.
NLenum ErrorOf(NLint result) { return result == NL_INVALID ? nlGetError() : NL_NO_ERROR; }
NLenum ErrorOf(NLboolean ok) { return ok ? NL_NO_ERROR : nlGetError(); }

class NlLayer : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(nlInit());
        port_ = FreePort();
        listener_ = nlOpen(port_, NL_RELIABLE_PACKETS);
        ASSERT_TRUE(nlListen(listener_));
    }
    void TearDown() override { nlShutdown(); }

    // A raw client and the layer's end of it.
    std::pair<RawSocket, NLsocket> Connect(int receiveBuffer = 0) {
        RawSocket raw(port_, receiveBuffer);
        NLsocket accepted = NL_INVALID;
        WaitFor([&] { return (accepted = nlAcceptConnection(listener_)) != NL_INVALID; });
        return {std::move(raw), accepted};
    }
    static NLint Read(NLsocket socket, std::string& out, NLint size = NL_MAX_PACKET_LENGTH) {
        out.assign(static_cast<size_t>(size), '\0');
        NLint n = nlRead(socket, out.data(), size);
        out.resize(n > 0 ? static_cast<size_t>(n) : 0);
        return n;
    }
    // Reads until a packet, an error or 5 s.
    static NLint ReadWhole(NLsocket socket, std::string& out) {
        NLint n = 0;
        WaitFor([&] { return (n = Read(socket, out)) != 0; });
        return n;
    }

    NLsocket listener_ = NL_INVALID;
    uint16_t port_ = 0;
};

TEST_F(NlLayer, FramingBatchesCutShortPartialQueuedAndOversizedPackets) {
    auto [raw, socket] = Connect(2048);
    EXPECT_EQ(nlWrite(socket, "abc", 3), 3);
    EXPECT_EQ(nlWrite(socket, "", 0), 0); // a zero-length packet is a bare header
    EXPECT_EQ(raw.Receive(11), std::string("NL\0\3abcNL\0\0", 11));
    std::string big(NL_MAX_PACKET_LENGTH + 1, 'b');
    EXPECT_EQ(ErrorOf(nlWrite(socket, big.data(), NL_MAX_PACKET_LENGTH + 1)), NL_PACKET_SIZE);
    big.pop_back();
    const void* start = big.data();
    NLint size = NL_MAX_PACKET_LENGTH;
    EXPECT_EQ(nlWrite(socket, start, size) + nlWritePackets(socket, &start, &size, 1), NL_MAX_PACKET_LENGTH + 1);
    const void* none = nullptr;
    NLint negative = -1;
    EXPECT_EQ(ErrorOf(nlWritePackets(socket, &none, &size, 1)), NL_NULL_POINTER);
    EXPECT_EQ(ErrorOf(nlWritePackets(socket, &start, &negative, 1)), NL_NULL_POINTER);
    EXPECT_EQ(nlWritePackets(socket, &start, &size, 0), 0); // an empty batch
    EXPECT_EQ(ErrorOf(nlWritePackets(socket, &start, &size, -1)), NL_NULL_POINTER);
    EXPECT_TRUE(raw.Receive(8 + 2 * big.size()) == RawSocket::Nl(big) + RawSocket::Nl(big));

    // Batches into a peer that does not read: what each call counts as taken reaches it whole, in order.
    std::string wire, got, bodies[64];
    const void* starts[64];
    std::vector<NLint> sizes(64, 1003);
    for (NLint batch = 0, took = 64; took == 64; ++batch) {
        for (int i = 0; i < 64; ++i) bodies[i] = std::to_string(100000 + batch * 64 + i) + std::string(997, 'x');
        for (int i = 0; i < 64; ++i) starts[i] = bodies[i].data();
        took = nlWritePackets(socket, starts, sizes.data(), 64);
        for (int i = 0; i < took; ++i) wire += RawSocket::Nl(bodies[i]);
        EXPECT_TRUE(took == 64 || nlWritePackets(socket, starts, sizes.data(), 64) == 0); // none while one is cut
    }
    wire += RawSocket::Nl("end");
    bool ended = false;
    EXPECT_TRUE(WaitFor([&] {
        ended = ended || nlWrite(socket, "end", 3) == 3; // taken once the cut packet is out
        got += raw.Receive(wire.size() - got.size(), 1);
        return got.size() == wire.size();
    }));
    EXPECT_TRUE(got == wire);

    // The largest, partial, queued and oversized packets coming in.
    raw.Send(RawSocket::Nl(big));
    EXPECT_EQ(ReadWhole(socket, got), NL_MAX_PACKET_LENGTH);
    raw.Send(std::string("NL\0\5hel", 7));
    // A partial packet, whatever waits we give it, reads as nothing and no error.
    EXPECT_FALSE(WaitFor([&] { return Read(socket, got) != 0; }, 50));
    EXPECT_TRUE(nlPartialPacket(socket));
    raw.Send(std::string("loNL\0\2xyNL\0", 11)); // one segment: it arrives whole
    EXPECT_EQ(ReadWhole(socket, got), 5);
    EXPECT_EQ(ErrorOf(Read(socket, got, 1)), NL_BUFFER_SIZE); // too small: the packet stays queued
    EXPECT_EQ(Read(socket, got, 2), 2);
    EXPECT_EQ(got, "xy");
    EXPECT_EQ(Read(socket, got), 0); // the next header is incomplete
    raw.Send(std::string("\0", 1));
    raw.Close();
    EXPECT_EQ(Read(socket, got, 0), 0); // the zero-length packet fits none
    EXPECT_EQ(ErrorOf(ReadWhole(socket, got)), NL_MESSAGE_END);
}

TEST_F(NlLayer, PollCountsOnlyWholePacketsAndNeverOverfillsTheArray) {
    NLint group = nlGroupCreate();
    std::vector<std::pair<RawSocket, NLsocket>> links;
    for (int i = 0; i < 3; ++i) links.push_back(Connect());
    for (auto& link : links) ASSERT_TRUE(nlGroupAddSocket(group, link.second));
    NLsocket ready[3] = {-7, -7, -7};
    links[0].first.Send(std::string("NL\0\2a", 5)); // partial: not ready
    EXPECT_EQ(nlPollGroup(group, NL_READ_STATUS, nullptr, 0, 50), 0); // no array is needed for none
    links[0].first.Send("b");
    EXPECT_EQ(nlPollGroup(group, NL_READ_STATUS, ready, 3, 5000), 1);
    EXPECT_EQ(ready[0], links[0].second);
    links[1].first.Send(std::string("NL\0\0", 4));
    links[2].first.Close(); // an end counts as ready
    EXPECT_TRUE(WaitFor([&] { return nlPollGroup(group, NL_READ_STATUS, ready, 3, 0) == 3; }));
    ready[2] = -7;
    EXPECT_EQ(ErrorOf(nlPollGroup(group, NL_READ_STATUS, ready, 2, 0)), NL_BUFFER_SIZE);
    EXPECT_EQ(ready[2], -7);
    links[1].first.Reset(); // an error counts; every link is ready for writing
    EXPECT_TRUE(WaitFor([&] { return nlPollGroup(group, NL_ERROR_STATUS, ready, 3, 0) == 1; }));
    EXPECT_EQ(nlPollGroup(group, NL_WRITE_STATUS, ready, 3, 0), 3);

    rlimit files{NL_MAX_GROUP_SOCKETS + 100, NL_MAX_GROUP_SOCKETS + 100};
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &files), 0) << "a group's worth of sockets";
    NLint full = nlGroupCreate();
    for (int i = 0; i < NL_MAX_GROUP_SOCKETS; ++i) ASSERT_TRUE(nlGroupAddSocket(full, nlOpen(0, NL_RELIABLE)));
    EXPECT_EQ(ErrorOf(nlGroupAddSocket(full, listener_)), NL_OUT_OF_GROUP_SOCKETS);
}

TEST_F(NlLayer, ConnectsAcceptsAndEndsReportTheirState) {
    NLsocket client = nlOpen(0, NL_RELIABLE_PACKETS);
    NLaddress address;
    ASSERT_TRUE(nlStringToAddr(("127.0.0.1:" + std::to_string(port_)).c_str(), &address));
    ASSERT_TRUE(nlConnect(client, &address));
    NLsocket accepted = NL_INVALID;
    ASSERT_TRUE(WaitFor([&] { return (accepted = nlAcceptConnection(listener_)) != NL_INVALID; }));
    EXPECT_TRUE(WaitFor([&] { return nlWrite(client, "hi", 2) == 2; }));
    // Both ends name the listener's address: the accepted socket as its own, the client as its peer.
    NLaddress local, remote;
    char text[2][NL_MAX_STRING_LENGTH];
    ASSERT_TRUE(nlGetLocalAddr(accepted, &local) && nlGetRemoteAddr(client, &remote));
    EXPECT_EQ(std::string(nlAddrToString(&local, text[0])) + " " + nlAddrToString(&remote, text[1]),
              "127.0.0.1:" + std::to_string(port_) + " 127.0.0.1:" + std::to_string(port_));
    EXPECT_EQ(ErrorOf(nlConnect(client, &address)), NL_CONNECTED);

    // A listener whose queue is full drops further connects: they stay pending, and say so.
    RawListener full(0);
    nlSetAddrPort(&address, full.port());
    NLsocket pending = NL_INVALID;
    for (int i = 0; i < 4; ++i) nlConnect(pending = nlOpen(0, NL_RELIABLE_PACKETS), &address);
    EXPECT_EQ(ErrorOf(nlWrite(pending, "x", 1)), NL_CON_PENDING);
    EXPECT_EQ(ErrorOf(nlConnect(pending, &address)), NL_CON_PENDING);
    // One to a port where nothing listens: the writes after it say it was refused.
    nlSetAddrPort(&address, FreePort());
    ASSERT_TRUE(nlConnect(pending = nlOpen(0, NL_RELIABLE_PACKETS), &address));
    EXPECT_TRUE(WaitFor([&] { return ErrorOf(nlWrite(pending, "x", 1)) == NL_CON_REFUSED; }));
    // A stream its peer does not read takes what fits, then nothing: 0, which is no error.
    RawListener quiet;
    nlSetAddrPort(&address, quiet.port());
    ASSERT_TRUE(nlConnect(pending = nlOpen(0, NL_RELIABLE), &address));
    RawSocket unread = quiet.Accept();
    std::string flood(1 << 20, 's');
    EXPECT_TRUE(WaitFor([&] { return nlWrite(pending, flood.data(), NLint(flood.size())) == 0; }));

    // How a stream ends, or loses its framing, is what reads report.
    enum End { Close, Reset, StayOpen };
    const std::tuple<std::string, End, NLenum> cases[] = {
        {std::string("NL\0\7abc", 7), Close, NL_MESSAGE_END}, // closed inside a packet
        {"", Reset, NL_SOCK_DISCONNECT},
        {std::string("XX\0\1z", 5), StayOpen, NL_PACKET_SYNC},    // another header
        {std::string("NL\x40\x01", 4), StayOpen, NL_PACKET_SYNC}, // a length above 16384
    };
    for (const auto& [bytes, end, error] : cases) {
        auto [raw, socket] = Connect();
        std::string got;
        raw.Send(bytes);
        if (end == Reset) raw.Reset();
        if (end == Close) raw.Close();
        EXPECT_EQ(ErrorOf(ReadWhole(socket, got)), error) << testing::PrintToString(bytes);
        EXPECT_TRUE(nlClose(socket));
    }
    // A peer that resets while a packet is still cut fails the writes after it.
    auto [stuck, socket] = Connect(2048);
    std::string block(NL_MAX_PACKET_LENGTH, 'q');
    ASSERT_TRUE(WaitFor([&] { return nlWrite(socket, block.data(), NL_MAX_PACKET_LENGTH) == 0; }));
    stuck.Reset();
    EXPECT_TRUE(WaitFor([&] { return nlWrite(socket, "x", 1) == NL_INVALID; }, 2000));
    // Connections this side closed first hold the port in TIME_WAIT; a listener takes it again at once.
    nlClose(listener_);
    EXPECT_NE(nlOpen(port_, NL_RELIABLE_PACKETS), NL_INVALID);
}

TEST(NlCalls, AddressTextsRefusedArgumentsAndCounting) {
    NLaddress address;
    char text[NL_MAX_STRING_LENGTH];
    // Texts in, texts out; "" when refused.
    const std::pair<const char*, const char*> cases[] = {
        {"1.2.3.4:80", "1.2.3.4:80"}, {"10.0.0.255", "10.0.0.255"},
        {"1.2.3.4:0", "1.2.3.4"},     {"255.254.253.1:65535", "255.254.253.1:65535"},
        {"1.2.3.4:65536", ""},        {"1.2.3", ""},
        {"1.2.3.4:", ""},             {"1.2.3.4:+1", ""},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(nlStringToAddr(in, &address), *out != 0) << in;
        EXPECT_STREQ(*out ? nlAddrToString(&address, text) : "", out);
    }

    // Null arguments and unknown names are refused, not followed.
    const void* packet = text;
    EXPECT_EQ(ErrorOf(nlWritePackets(0, &packet, nullptr, 1)), NL_NULL_POINTER);
    EXPECT_EQ(ErrorOf(nlRead(0, nullptr, 1)), NL_NULL_POINTER);
    EXPECT_EQ(ErrorOf(nlWrite(0, nullptr, 1)), NL_NULL_POINTER);
    EXPECT_EQ(ErrorOf(nlPollGroup(0, NL_READ_STATUS, nullptr, 1, 0)), NL_NULL_POINTER);
    EXPECT_EQ(ErrorOf(nlSelectNetwork(7) || nlEnable(7) || nlDisable(7)), NL_INVALID_ENUM);
    NLmutex mutex = nullptr;
    EXPECT_FALSE(nlAddrToString(&address, nullptr) || nlAddrToString(nullptr, text) ||
                 nlStringToAddr(nullptr, &address));
    EXPECT_FALSE(nlStringToAddr("1.2.3.4", nullptr) || nlGetAddrFromName(nullptr, &address) || nlMutexLock(&mutex));
    EXPECT_FALSE(nlGetAddrFromName("1.2.3.4", nullptr) || nlMutexUnlock(&mutex) || nlMutexDestroy(&mutex));
    EXPECT_FALSE(nlThreadJoin(nullptr, nullptr));

    nlShutdown(); // before any start: the count stays at zero, and the next start works
    NLsocket opened = nlInit() ? nlOpen(0, NL_RELIABLE) : NL_INVALID;
    ASSERT_NE(opened, NL_INVALID);
    nlShutdown(); // the last one closes every socket
    EXPECT_EQ(ErrorOf(nlClose(opened)), NL_INVALID_SOCKET);
}

} // namespace

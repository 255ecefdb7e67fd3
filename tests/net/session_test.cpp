// The host seen from raw sockets: players, messages, queries, and hostile peers within its bounds;
// a joining client against a hand-made host: its first bytes, late or stray answers, a host gone.
#include "runtime/net/net.h"
#include "runtime/net/net_session.h"
#include "tests/net/net_test_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <regex>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

// Lets the process open `spare` more descriptors from the lowest free one on; returns the old limit.
rlimit LimitDescriptors(int spare) {
    rlimit old{};
    getrlimit(RLIMIT_NOFILE, &old);
    int next = open("/dev/null", O_RDONLY | O_CLOEXEC);
    close(next);
    rlimit tight{static_cast<rlim_t>(next + spare), old.rlim_max};
    setrlimit(RLIMIT_NOFILE, &tight);
    return old;
}

class HostTest : public testing::Test {
  protected:
    void SetUp() override {
        NetworkCreate();
        port_ = FreePort();
        ASSERT_EQ(NetHostSession(port_), 1);
        ASSERT_EQ(NetCreatePlayer("watcher"), "101");
        ASSERT_EQ(good_.emplace(port_).Register("good"), 102);
    }
    void TearDown() override { NetworkDestroy(); }

    // One message each way between the good client's player and the host's.
    void Exchange(const std::string& tag) {
        good_->SendPacket(Rvln(3, 101, 102, "ping " + tag));
        EXPECT_EQ(NextMessage("101"), "ping " + tag);
        EXPECT_EQ(NetSendMessage("101", "102", RtString("pong " + tag)), 1);
        EXPECT_EQ(good_->ReceivePacket(), Rvln(3, 102, 101, "pong " + tag));
    }
    // The host has handled everything this connection sent before: it answers a ping after it.
    static void Ping(RawSocket& raw, int32_t id) {
        raw.SendPacket(Rvln(104, 0, id));
        EXPECT_EQ(raw.ReceivePacket(), Rvln(104, id, 0, LittleEndian(1)));
    }
    static std::string Name(int32_t id) { return NetPlayerName(RtString(id)).c_str(); }

    uint16_t port_ = 0;
    std::optional<RawSocket> good_;
};

TEST_F(HostTest, PlayersMessagesQueriesWaitingSendsAndBadPackets) {
    EXPECT_EQ(NetRemovePlayer(NetCreatePlayer("carol")), 1);
    EXPECT_EQ(NetCreatePlayer("dave"), "104"); // ids are never reused

    // The hidden query player (105, made by the first query) is counted nowhere.
    const double ids[] = {101, 102, 104, 0};
    for (int index = 0; index < 4; ++index) EXPECT_EQ(NetPlayerIdByIndex(index), ids[index]) << index;
    EXPECT_EQ(NetPlayerName("999"), ""); // the host answered: no such player

    // A broadcast reaches each other visible player under its own id, never the sender; text ends
    // at its first zero byte.
    good_->SendPacket(Rvln(3, -1, 102, std::string("hi all\0more", 11)));
    EXPECT_EQ(NextMessage("101"), "hi all");
    EXPECT_EQ(NetLastSender(), "102");
    EXPECT_EQ(NextMessage("104"), "hi all");
    EXPECT_EQ(NetSendMessage("101", "0", "to all"), 1);
    EXPECT_EQ(good_->ReceivePacket(), Rvln(3, 102, 101, "to all"));
    EXPECT_EQ(NextMessage("104"), "to all");
    EXPECT_EQ(NetReceiveMessage("105"), "");

    // Limits: 1024 bytes go, 1025 do not; names are cut at 127 bytes.
    EXPECT_EQ(NetSendMessage("101", "102", RtString(std::string(1025, 'x'))), 0);
    EXPECT_EQ(NetSendMessage("101", "102", RtString(std::string(1024, 'y'))), 1);
    EXPECT_EQ(good_->ReceivePacket(), Rvln(3, 102, 101, std::string(1024, 'y')));
    EXPECT_EQ(NetCreatePlayer(RtString(std::string(200, 'n'))), "106");
    EXPECT_EQ(NetPlayerName("106"), RtString(std::string(127, 'n')));

    // The program's sends wait while the host, reading a packet a pass, is slower than they are: some
    // megabytes more than the kernel holds between them. They come back to its own player.
    NetworkSession()->timings.passSleepMs = 0;
    for (int i = 0; i < 16000; ++i) ASSERT_EQ(NetSendMessage("101", "101", RtString(std::string(1000, 's'))), 1) << i;
    // An inbox keeps 10000 messages; the count's answer comes after all of them.
    EXPECT_EQ(NetPlayerCount(), 4);
    int kept = 0;
    while (NetReceiveMessage("101").Length() > 0) ++kept;
    EXPECT_EQ(kept, 10000);

    // Bad packets and forged senders change nothing.
    RawSocket(port_).Send(std::string("NL\0", 3)); // a truncated header, then gone
    Exchange("after a truncated header");

    RawSocket raw(port_);
    std::string message = Rvln(3, 101, 102, "forged"), otherMagic = Rvln(1, 0, -1, CreatePayload("magic"));
    std::string longer = message, shorter = message;
    longer[5] = 10;
    shorter[5] = 1;
    otherMagic.replace(0, 4, "XXXX");
    for (const std::string& bad :
         {std::string(5, 'a'), std::string(16, 'b'), std::string(16384, 'c'), otherMagic, longer, shorter,
          Rvln(1, 0, -1, std::string(151, '\0')), Rvln(1, 5, -1, CreatePayload("to 5")), Rvln(101, 0, 0)})
        raw.SendPacket(bad);
    int32_t id = raw.Register(std::string(128, 'u')); // a name without its terminator is cut at 127 bytes
    // Queries without their argument get no answer (the ping's answer is the next packet), a removal not
    // sent to the host removes nothing, and another connection's player can be neither removed nor
    // impersonated.
    for (const std::string& ignored : {Rvln(102, 0, id), Rvln(103, 0, id), Rvln(4, 5, id), Rvln(4, 0, 102), message})
        raw.SendPacket(ignored);
    Ping(raw, id);
    EXPECT_EQ(Name(id), std::string(127, 'u'));
    Exchange("after forged senders");

    raw.Send("XX\0\5hello"); // lost framing: the connection and its player go
    EXPECT_TRUE(raw.ClosedByPeer());
    EXPECT_TRUE(WaitFor([&] { return Name(id).empty(); }));
}

TEST_F(HostTest, ClientsThatNeverReadAreDroppedWithTheirPlayers) {
    NetSession& session = *NetworkSession();
    session.timings.passSleepMs = 1;
    // Broadcasts fill each slow connection's socket buffers (some megabytes on loopback), then its
    // queue, with a copy for each of its players: it goes when it stalls, or when its copies pass its
    // bound or the host's total; the others get every one.
    // Rows: what, the connection's bound, the host's total, the stall that ends a connection in ms.
    const std::tuple<const char*, size_t, size_t, int32_t> cases[] = {
        {"stalled", 64 << 20, 64 << 20, 300},
        {"over its bound", 64 << 10, kNetQueuedBytesTotal, 60000},
        {"over the host's total", kNetQueueBytes, 256 << 10, 60000},
    };
    for (const auto& [what, queueBytes, totalBytes, stallMs] : cases) {
        session.timings.sendGiveUpMs = stallMs;
        session.limits.queueBytes = queueBytes;
        session.limits.queuedBytesTotal = totalBytes;
        RawSocket slow(port_, 2048);
        int32_t last = 0;
        for (int i = 0; i < 64; ++i) ASSERT_GT(last = slow.Register("slow"), 102);
        // One more on the connection is refused: the ping's answer comes next.
        slow.SendPacket(Rvln(1, 0, -1, CreatePayload("one too many")));
        Ping(slow, last);
        for (int round = 0; round < 30 && NetPlayerCount() > 2; ++round) {
            for (int i = 0; i < 250; ++i) good_->SendPacket(Rvln(3, -1, 102, std::string(996, '.') + char(i + 1)));
            for (int i = 0; i < 250; ++i) ASSERT_EQ(NextMessage("101"), std::string(996, '.') + char(i + 1));
        }
        EXPECT_EQ(NetPlayerCount(), 2);
        EXPECT_TRUE(slow.ClosedByPeer());
        Exchange(what);
    }
    EXPECT_TRUE(WaitFor([&] { return session.queuedBytes == 0; })); // between passes, nothing stays queued
}

TEST_F(HostTest, ConnectionsPastTheCapAreRefusedAndLingeringOnesDropped) {
    // With the host's own connection and the good client's, three more fit.
    EXPECT_EQ(NetSetMaxConnections(5), 1);
    RawSocket joined(port_);
    int32_t id = joined.Register("joined");
    RawSocket idle[] = {RawSocket(port_), RawSocket(port_)};
    RawSocket refused(port_);
    EXPECT_TRUE(refused.ClosedByPeer());

    // Connected without a player: dropped, which makes room again.
    NetworkSession()->timings.joinMs = 200;
    for (RawSocket& socket : idle) EXPECT_TRUE(socket.ClosedByPeer());
    RawSocket later(port_);
    EXPECT_GT(later.Register("later"), id);
    Ping(joined, id);

    // A packet begun and never finished: dropped with its player.
    NetworkSession()->timings.partialPacketMs = 200;
    joined.Send("N"); // its first byte only
    EXPECT_TRUE(joined.ClosedByPeer());
    EXPECT_TRUE(WaitFor([&] { return Name(id).empty(); }));

    // Every descriptor taken: the host cannot accept a connection, and must not end over it.
    rlimit old = LimitDescriptors(1); // the one the connecting side takes
    RawSocket late(port_);
    late.SendPacket(Rvln(1, 0, -1, CreatePayload("late")));
    std::string unanswered = late.ReceivePacket(200);
    setrlimit(RLIMIT_NOFILE, &old);
    EXPECT_EQ(unanswered, "");
    EXPECT_EQ(late.ReceivePacket().size(), 17u); // taken once a descriptor is free
    Exchange("after the cap, the timeouts and the descriptors");
}

TEST_F(HostTest, ConnectionsPastHalfTheDescriptorLimitAreRefused) {
    // The clients' ends are made before the limit drops and above it: only the host's ends count.
    std::vector<RawSocket> clients;
    for (int i = 0; i < 24; ++i) {
        int low = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        clients.emplace_back(fcntl(low, F_DUPFD_CLOEXEC, 512));
        close(low);
    }
    rlimit old = LimitDescriptors(24); // a descriptor for each, yet half of the limit is less
    for (RawSocket& client : clients) client.Connect(port_);
    bool lastRefused = clients.back().ClosedByPeer(), firstKept = !clients.front().ClosedByPeer(100);
    setrlimit(RLIMIT_NOFILE, &old);
    EXPECT_TRUE(lastRefused && firstKept);
}

// Joins a hand-made host, which gives the hidden query player the id 101 and answers the ping.
RawSocket Join(RawListener& host) {
    double joined = -1;
    std::thread join([&] { joined = NetJoinSession("127.0.0.1", host.port()); });
    RawSocket raw = host.Accept();
    EXPECT_EQ(raw.ReceivePacket(), Rvln(1, 0, -1, CreatePayload("", true)));
    raw.SendPacket(Rvln(2, 101, 0));
    EXPECT_EQ(raw.ReceivePacket(), Rvln(104, 0, 101));
    raw.SendPacket(Rvln(104, 101, 0, LittleEndian(1)));
    join.join();
    EXPECT_EQ(joined, 1);
    return raw;
}

TEST(Client, AgainstAHandMadeHostAndOneThatIsGone) {
    NetworkCreate();
    RawListener host;
    RawSocket raw = Join(host);

    // A query takes only an answer of its own type.
    double count = -1;
    std::thread query([&] { count = NetPlayerCount() + NetPlayerIdByIndex(0) + NetPlayerCount(); });
    EXPECT_EQ(raw.ReceivePacket(), Rvln(101, 0, 101));
    raw.SendPacket(Rvln(104, 101, 0, LittleEndian(1)));
    raw.SendPacket(Rvln(3, -1, 0, "to nobody"));
    raw.SendPacket(Rvln(101, 101, 0, LittleEndian(7)));
    EXPECT_EQ(raw.ReceivePacket(), Rvln(102, 0, 101, LittleEndian(0)));
    raw.SendPacket(Rvln(102, 101, 0, "abc")); // too short for a number: none
    EXPECT_EQ(raw.ReceivePacket(), Rvln(101, 0, 101));
    raw.SendPacket(Rvln(101, 101, 0, "abc"));
    query.join();
    EXPECT_EQ(count, 7);

    // A player whose id came late is removed as soon as it comes.
    NetworkSession()->timings.waitChecks = 5;
    EXPECT_EQ(NetCreatePlayer("late"), "-1");
    EXPECT_EQ(raw.ReceivePacket(), Rvln(1, 0, -1, CreatePayload("late")));
    raw.SendPacket(Rvln(2, 102, 0));
    EXPECT_EQ(raw.ReceivePacket(), Rvln(4, 0, 102));

    // A player that has its id gets messages; program end removes it, then closes.
    NetworkSession()->timings.waitChecks = 100;
    std::thread create([] { EXPECT_EQ(NetCreatePlayer("on time"), "103"); });
    EXPECT_EQ(raw.ReceivePacket(), Rvln(1, 0, -1, CreatePayload("on time")));
    raw.SendPacket(Rvln(2, 103, 0));
    create.join();
    raw.SendPacket(Rvln(3, 103, 101, "hello"));
    EXPECT_EQ(NextMessage("103"), "hello");
    NetworkDestroy();
    EXPECT_EQ(raw.ReceivePacket(), Rvln(4, 0, 101));
    EXPECT_EQ(raw.ReceivePacket(), Rvln(4, 0, 103));
    EXPECT_TRUE(raw.ClosedByPeer());

    // A host that stops reading: the program's sends give up in time and say so. Then it is gone, and
    // answers nothing; ports above 65535 are refused.
    NetworkCreate();
    RawSocket mute = Join(host);
    NetworkSession()->timings.sendGiveUpMs = 20;
    int sent = 0; // 16 MB is more than the kernel holds between them
    while (sent < 16000 && NetSendMessage("101", "101", RtString(std::string(1000, 'm'))) == 1) ++sent;
    EXPECT_LT(sent, 16000);
    mute.Close();
    NetworkSession()->timings.sendGiveUpMs = 600000; // a host gone is no reason to wait
    EXPECT_EQ(NetSendMessage("101", "101", "x"), 0);
    NetworkSession()->timings.waitChecks = 10;
    NetworkSession()->timings.waitStepMs = 5;
    EXPECT_EQ(NetPlayerName("101"), "NO_DATA");
    EXPECT_EQ(NetPlayerCount(), 0);
    // Refused, then out of range.
    EXPECT_EQ(NetJoinSession("127.0.0.1", FreePort()) + NetJoinSession("127.0.0.1", 65536) + NetHostSession(65536), 0);
    EXPECT_EQ(NetHostSession(65535), 1);
    EXPECT_EQ(NetHostSession(0), 1); // below 1: the default port
    EXPECT_GE(RawSocket(uint16_t{kDefaultPort}).fd(), 0);
    NetHostSession(1); // a port like any other, which we may not be allowed to take
    EXPECT_LT(RawSocket(uint16_t{kDefaultPort}).fd(), 0);
    EXPECT_TRUE(std::regex_match(NetLocalAddresses().c_str(), std::regex(R"((\d+\.){3}\d+(\|(\d+\.){3}\d+)*)")));
    NetworkDestroy();
}

} // namespace

// A program's first socket is number 0: hosting or joining as the first thing a program does works all
// the same.
TEST(FirstSocketDeathTest, HostingOrJoiningAsTheProgramsFirstNetworkCall) {
    auto hosting = [] {
        NetworkCreate();
        std::exit(NetHostSession(FreePort()) == 1 ? 0 : 1);
    };
    auto joining = [] {
        NetworkCreate();
        RawListener host;
        RawSocket raw = Join(host);
        std::exit(NetSendMessage("101", "0", "x") == 1 ? 0 : 1);
    };
    for (auto run : {+hosting, +joining}) EXPECT_EXIT(run(), testing::ExitedWithCode(0), "");
}

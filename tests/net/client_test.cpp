// A joining client against a hand-made host: the first bytes it sends, its queries and their late
// or stray answers, its end, a host that is gone, and the default port.
#include "runtime/net/net.h"
#include "runtime/net/net_session.h"
#include "tests/net/net_test_support.h"

#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <thread>

namespace {

class ClientTest : public testing::Test {
  protected:
    void SetUp() override {
        NetworkCreate();
        NetworkSession()->timings.waitChecks = 100;
        NetworkSession()->timings.sendGiveUpMs = 1000;
    }
    void TearDown() override { NetworkDestroy(); }

    // Joins a hand-made host, which gives the hidden query player the id queryId and answers the ping.
    static RawSocket Join(RawListener& host, int32_t queryId) {
        double joined = -1;
        std::thread join([&] { joined = NetJoinSession("127.0.0.1", host.port()); });
        RawSocket raw = host.Accept();
        EXPECT_EQ(raw.ReceivePacket(), Rvln(1, 0, -1, CreatePayload("", true)));
        raw.SendPacket(Rvln(2, queryId, 0));
        EXPECT_EQ(raw.ReceivePacket(), Rvln(104, 0, queryId));
        raw.SendPacket(Rvln(104, queryId, 0, LittleEndian(1)));
        join.join();
        EXPECT_EQ(joined, 1);
        return raw;
    }
};

TEST_F(ClientTest, AgainstAHandMadeHost) {
    RawListener host;
    RawSocket raw = Join(host, 101);

    // A query takes only an answer of its own type.
    double count = -1;
    std::thread query([&] { count = NetPlayerCount(); });
    EXPECT_EQ(raw.ReceivePacket(), Rvln(101, 0, 101));
    raw.SendPacket(Rvln(104, 101, 0, LittleEndian(1)));
    raw.SendPacket(Rvln(3, -1, 0, "to nobody"));
    raw.SendPacket(Rvln(101, 101, 0, LittleEndian(7)));
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
    NetworkCreate();
}

TEST_F(ClientTest, AClientOfAHostThatIsGone) {
    RawListener host;
    Join(host, 101).Close();
    NetworkSession()->timings.waitChecks = 10;
    NetworkSession()->timings.waitStepMs = 5;
    EXPECT_EQ(NetPlayerName("101"), "NO_DATA");
    EXPECT_EQ(NetPlayerCount(), 0);
    EXPECT_EQ(NetCreatePlayer("x"), "-1");

    EXPECT_EQ(NetJoinSession("127.0.0.1", FreePort()), 0); // refused
    EXPECT_EQ(NetJoinSession("127.0.0.1", 65536), 0);
    EXPECT_EQ(NetHostSession(70000), 0);
    EXPECT_EQ(NetHostSession(65535), 1);
    EXPECT_TRUE(std::regex_match(NetLocalAddresses().c_str(), std::regex(R"(\d+\.\d+\.\d+\.\d+(\|\d+\.\d+\.\d+\.\d+)*)")));
}

// Run apart from the others (it needs port 26000): port 0 is 26000, and an empty address this machine.
TEST_F(ClientTest, DefaultPort) {
    ASSERT_EQ(NetHostSession(0), 1);
    EXPECT_EQ(RawSocket(static_cast<uint16_t>(kDefaultPort)).Register("p"), 101);
    NetworkDestroy();
    NetworkCreate();
    ASSERT_TRUE(nlInit());
    NLsocket listener = nlOpen(kDefaultPort, NL_RELIABLE_PACKETS);
    ASSERT_TRUE(nlListen(listener));
    NetworkSession()->timings.waitChecks = 5;
    EXPECT_EQ(NetJoinSession("", 0), 0); // nobody answers
    EXPECT_NE(nlAcceptConnection(listener), NL_INVALID);
    nlShutdown();
}

} // namespace

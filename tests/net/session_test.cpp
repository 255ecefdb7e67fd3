// Sessions between this test and the peer program: ids, broadcasts, inboxes, queries, the end of
// the host, the first bytes a joining client sends and its handling of late or stray answers.
#include "runtime/net/net.h"
#include "runtime/net/net_session.h"
#include "tests/net/net_test_support.h"

#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <thread>

namespace {

class NetSessionTest : public testing::Test {
  protected:
    void SetUp() override {
        NetworkCreate();
        NetworkSession()->timings.waitChecks = 100;
        NetworkSession()->timings.sendGiveUpMs = 1000;
    }
    void TearDown() override { NetworkDestroy(); }

    // The next message of a local player, waiting for it to arrive.
    static std::string NextMessage(const char* id) {
        std::string text;
        WaitFor([&] { return !(text = NetReceiveMessage(id).c_str()).empty(); });
        return text;
    }
    static std::string NextPeerMessage(Peer& peer, const std::string& id) {
        std::string answer;
        WaitFor([&] { return (answer = peer.Ask("recv " + id))[0] != '\t'; });
        return answer;
    }
};

TEST_F(NetSessionTest, PlayersMessagesAndQueriesAcrossTwoProcesses) {
    uint16_t port = FreePort();
    ASSERT_EQ(NetHostSession(port), 1);
    EXPECT_EQ(NetCreatePlayer("alice"), "101");
    Peer peer;
    peer.Ask("fast");
    ASSERT_EQ(peer.Ask("join 127.0.0.1 " + std::to_string(port)), "1"); // its hidden query player is 102
    EXPECT_EQ(peer.Ask("create bob"), "103");
    EXPECT_EQ(NetCreatePlayer("carol"), "104");
    EXPECT_EQ(NetRemovePlayer("104"), 1);
    EXPECT_EQ(NetCreatePlayer("dave"), "105"); // ids are never reused

    // The hidden query players (102 and now this process's 106) are counted nowhere.
    EXPECT_EQ(NetPlayerCount(), 3);
    EXPECT_EQ(peer.Ask("count"), "3");
    const double ids[] = {101, 103, 105, 0};
    for (int index = 0; index < 4; ++index) EXPECT_EQ(NetPlayerIdByIndex(index), ids[index]) << index;
    EXPECT_EQ(NetPlayerName("103"), "bob");
    EXPECT_EQ(NetPlayerName("999"), ""); // the host answered: no such player

    // A broadcast reaches each other visible player under its own id, never the sender.
    EXPECT_EQ(peer.Ask("send 103 0 hi all"), "1");
    EXPECT_EQ(NextMessage("101"), "hi all");
    EXPECT_EQ(NetLastSender(), "103");
    EXPECT_EQ(NextMessage("105"), "hi all");
    for (const char* text : {"one", "two", "three"}) EXPECT_EQ(NetSendMessage("101", "103", text), 1);
    for (const char* text : {"one", "two", "three"})
        EXPECT_EQ(NextPeerMessage(peer, "103"), text + std::string("\t101"));
    EXPECT_EQ(peer.Ask("recv 103"), "\t101"); // empty inbox: "", the last sender kept
    EXPECT_EQ(NetReceiveMessage("106"), "");
    EXPECT_EQ(NetReceiveMessage("101"), "");
    EXPECT_EQ(NetLastSender(), "103");

    // Limits: 1024 bytes go, 1025 do not; names are cut at 127 bytes.
    EXPECT_EQ(NetSendMessage("101", "103", RtString(std::string(1025, 'x'))), 0);
    EXPECT_EQ(NetSendMessage("101", "103", RtString(std::string(1024, 'y'))), 1);
    EXPECT_EQ(NextPeerMessage(peer, "103"), std::string(1024, 'y') + "\t101");
    EXPECT_EQ(NetCreatePlayer(RtString(std::string(200, 'n'))), "107");
    EXPECT_EQ(NetPlayerName("107"), RtString(std::string(127, 'n')));
    EXPECT_EQ(NetRemovePlayer("-5"), 1);

    // A client that leaves takes its players with it.
    EXPECT_EQ(peer.Quit(), 0);
    EXPECT_TRUE(WaitFor([] { return NetPlayerCount() == 3; }, 10000));
}

TEST_F(NetSessionTest, AClientOfAHostThatIsGone) {
    uint16_t port = FreePort();
    Peer peer;
    peer.Ask("fast");
    ASSERT_EQ(peer.Ask("host " + std::to_string(port)), "1");
    ASSERT_EQ(NetJoinSession("127.0.0.1", port), 1);
    RtString id = NetCreatePlayer("x");
    EXPECT_EQ(NetPlayerName(id), "x");
    EXPECT_EQ(peer.Quit(), 0);
    NetworkSession()->timings.waitChecks = 25;
    EXPECT_EQ(NetPlayerName(id), "NO_DATA");
    EXPECT_EQ(NetPlayerCount(), 0);

    EXPECT_EQ(NetJoinSession("127.0.0.1", FreePort()), 0); // refused
    EXPECT_EQ(NetJoinSession("127.0.0.1", 65536), 0);
    EXPECT_EQ(NetHostSession(70000), 0);
}

TEST_F(NetSessionTest, AgainstAHandMadeHost) {
    RawListener host;
    double joined = -1;
    std::thread join([&] { joined = NetJoinSession("127.0.0.1", host.port()); });
    RawSocket raw = host.Accept();
    // The first packet: the hidden query player.
    std::string first =
        "NL" + std::string("\0\xA9", 2) +
        Rvln(1, 0, -1, LittleEndian(-1) + LittleEndian(-1) + std::string("\1\0", 2) + std::string(142, '\0'));
    EXPECT_EQ(raw.Receive(first.size()), first);
    raw.SendPacket(Rvln(2, 101, 0, ""));
    EXPECT_EQ(raw.ReceivePacket(), Rvln(104, 0, 101, ""));
    raw.SendPacket(Rvln(104, 101, 0, std::string("\1\0\0\0", 4)));
    join.join();
    EXPECT_EQ(joined, 1);

    // A query takes only an answer of its own type.
    double count = -1;
    std::thread query([&] { count = NetPlayerCount(); });
    EXPECT_EQ(raw.ReceivePacket(), Rvln(101, 0, 101, ""));
    raw.SendPacket(Rvln(104, 101, 0, std::string("\1\0\0\0", 4)));
    raw.SendPacket(Rvln(101, 101, 0, LittleEndian(7)));
    query.join();
    EXPECT_EQ(count, 7);

    // A player whose id came late is removed as soon as it comes.
    NetworkSession()->timings.waitChecks = 5;
    EXPECT_EQ(NetCreatePlayer("late"), "-1");
    std::string announce = raw.ReceivePacket();
    ASSERT_EQ(announce.size(), 17u + 152u);
    EXPECT_EQ(announce.substr(17 + 10, 5), std::string("late\0", 5));
    raw.SendPacket(Rvln(2, 102, 0, ""));
    EXPECT_EQ(raw.ReceivePacket(), Rvln(4, 0, 102, ""));

    // Program end removes the players that have an id, then closes.
    NetworkDestroy();
    EXPECT_EQ(raw.ReceivePacket(), Rvln(4, 0, 101, ""));
    EXPECT_TRUE(raw.ClosedByPeer());
    NetworkCreate();
}

TEST_F(NetSessionTest, LocalAddresses) {
    std::string addresses = NetLocalAddresses().c_str();
    EXPECT_TRUE(std::regex_match(addresses, std::regex(R"(\d+\.\d+\.\d+\.\d+(\|\d+\.\d+\.\d+\.\d+)*)"))) << addresses;
}

// Run apart from the others (it needs port 26000): an empty address and port 0 join this machine's 26000.
TEST_F(NetSessionTest, DefaultPort) {
    Peer peer;
    peer.Ask("fast");
    ASSERT_EQ(peer.Ask("host 0"), "1");
    EXPECT_EQ(NetJoinSession("", 0), 1);
    EXPECT_EQ(NetCreatePlayer("p"), "102");
    EXPECT_EQ(peer.Quit(), 0);
}

} // namespace

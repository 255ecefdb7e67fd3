// The network session record: players, packets, the lists the network thread and the program share
// under one lock, and the steps that start and stop a session.
#pragma once

#include "platform/nl.h"
#include "runtime/net/net.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

constexpr int32_t kDefaultPort = 26000;
constexpr int32_t kFirstPlayerId = 101;
constexpr size_t kMaxNameLength = 127;
constexpr int kPacketHeaderSize = 17;

// A packet on the wire and in the lists. payload holds exactly length bytes.
struct NetPacket {
    uint8_t type = 0;
    int32_t length = 0;
    int32_t to = 0;
    int32_t from = 0;
    std::string payload;
    NLsocket connection = -1; // where it arrived: the session's own socket or one of the host's clients
};

// Ids on the creating side: -1 created, -3 announced, 101 and up assigned, -2 to be freed.
struct NetPlayer {
    int32_t socket = -1;
    int32_t id = -1;
    uint8_t hidden = 0;
    uint8_t reserved = 0;
    char name[kMaxNameLength + 1] = {};
    std::deque<NetPacket> inbox;
    bool abandoned = false; // its creation timed out: removed as soon as its late id arrives
};

using NetClock = std::chrono::steady_clock;

// A packet waiting in a host connection's queue: its own header, the payload shared by every
// receiver of a broadcast.
struct NetOutgoing {
    std::array<char, kPacketHeaderSize> header;
    std::shared_ptr<const std::string> payload;
};

// One of the host's connections.
struct NetConnection {
    std::deque<NetOutgoing> queue;
    size_t queuedBytes = 0;
    NetClock::time_point accepted;
    NetClock::time_point lastTaken;    // the socket last took a packet, or the queue started filling
    NetClock::time_point partialSince; // a packet begun and not finished since then; epoch when none
    bool joined = false;               // registered a player, or the host's own connection
    bool dropping = false;             // over a bound or broken: nothing more queued, dropped this pass
};

// How long the program and the host wait; tests shorten them while the thread runs.
struct NetTimings {
    std::atomic<int32_t> waitChecks = 250;           // player creation and queries: checks ...
    std::atomic<int32_t> waitStepMs = 20;            // ... this far apart
    std::atomic<int32_t> sendGiveUpMs = kNetStallMs; // also a host connection's stall
    std::atomic<int32_t> passSleepMs = 10;
    std::atomic<int32_t> partialPacketMs = kNetPartialPacketMs;
    std::atomic<int32_t> joinMs = kNetJoinMs;
};

// The host's bounds; tests make them small.
struct NetLimits {
    std::atomic<size_t> queueBytes = kNetQueueBytes;
    std::atomic<size_t> queuedBytesTotal = kNetQueuedBytesTotal;
    std::atomic<int32_t> maxConnections = kNetMaxConnections;
};

struct NetSession {
    int32_t nextPlayerId = kFirstPlayerId;
    int32_t queryPlayerId = -1;
    uint8_t isHost = 0;
    NLsocket listenSocket = -1;
    NLsocket socket = -1;
    std::list<NetPlayer> localPlayers;
    std::list<NetPlayer> hostPlayers;
    int32_t networkType = 0;
    int32_t connectionType = 0;
    uint8_t stopRequested = 1;
    uint8_t threadRunning = 0;
    NLmutex lock = nullptr;
    std::vector<NetPacket> incoming;
    std::deque<NetPacket> replies;

    int32_t lastSender = 0;
    NLthreadID thread = nullptr;
    bool libraryStarted = false;
    NLint group = -1;
    std::unordered_map<NLsocket, NetConnection> clients; // the host's connections, in the group
    size_t queuedBytes = 0;                              // in all their queues
    NLsocket lastServed = -1;                            // where the next pass's reading starts
    NetTimings timings;
    NetLimits limits;
};

// Bounds that keep one peer from growing the host without end.
constexpr size_t kInboxLimit = 10000;
constexpr size_t kRepliesLimit = 64;
constexpr size_t kPlayersPerConnection = 64;
constexpr int kReadsPerPass = 1000;
constexpr int kClientsServedPerPass = 100;
constexpr int kAcceptsPerPass = 64;

// The process's session, null before start-up and after program end.
NetSession* NetworkSession();
// Start-up: the idle session and its lock. Program end: players removed, thread stopped, all closed.
void NetworkCreate();
void NetworkDestroy();

// The one lock, released and taken again around writes and sleeps.
class NetLock {
  public:
    explicit NetLock(NetSession& session) : session_(session) { Lock(); }
    ~NetLock() {
        if (held_) Unlock();
    }
    NetLock(const NetLock&) = delete;
    NetLock& operator=(const NetLock&) = delete;
    void Lock() {
        nlMutexLock(&session_.lock);
        held_ = true;
    }
    void Unlock() {
        held_ = false;
        nlMutexUnlock(&session_.lock);
    }

  private:
    NetSession& session_;
    bool held_ = false;
};

// Ends the thread, closes the sockets, frees the players and starts the library afresh.
void NetReset(NetSession& session);
void NetStartThread(NetSession& session);
void NetStopThread(NetSession& session);
// Writes one whole packet, waiting while earlier bytes are still unsent, up to sendGiveUpMs without
// progress; an error is tried once more. The lock must not be held.
bool NetSendPacket(NetSession& session, NLsocket socket, const std::string& bytes);

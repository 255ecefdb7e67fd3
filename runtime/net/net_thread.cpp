// The network thread: one pass every 10 ms announces new players, reads the session's own socket,
// and on the host accepts and reads its clients, then hands every packet to the host's or the
// client's handling; the host then writes its queues and drops the connections past a bound.
#include "runtime/net/net_dispatch.h"
#include "runtime/net/net_packet.h"
#include "runtime/net/net_queue.h"
#include "runtime/net/net_session.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <sys/resource.h>
#include <thread>

namespace {

using ReadBuffer = std::array<uint8_t, NL_MAX_PACKET_LENGTH>;

void DropClient(NetSession& session, NLsocket connection) {
    if (!session.clients.contains(connection)) return;
    NetForgetQueue(session, connection);
    nlGroupDeleteSocket(session.group, connection);
    nlClose(connection);
    NetLock lock(session);
    ForgetConnection(session, connection);
}

// Step 1: new players announced, deleted ones freed. False when the session is to stop.
bool AnnouncePlayers(NetSession& session) {
    std::vector<std::string> announcements;
    NLsocket socket;
    {
        NetLock lock(session);
        if (session.stopRequested) return false;
        for (auto it = session.localPlayers.begin(); it != session.localPlayers.end();) {
            if (it->id == -1) {
                announcements.push_back(EncodePacket(kCreatePlayer, 0, -1, CreatePlayerPayload(*it)));
                it->id = -3;
            } else if (it->id == -2) {
                it = session.localPlayers.erase(it);
                continue;
            }
            ++it;
        }
        socket = session.socket;
    }
    for (const std::string& bytes : announcements) NetSendPacket(session, socket, bytes);
    return true;
}

void Keep(const ReadBuffer& buffer, NLint count, NLsocket connection, std::vector<NetPacket>& arrived) {
    NetPacket packet;
    if (!DecodePacket(buffer.data(), count, packet)) return;
    packet.connection = connection;
    arrived.push_back(std::move(packet));
}

// Step 2: what the host sent on the session's own socket.
void ReadOwnSocket(NetSession& session, ReadBuffer& buffer, std::vector<NetPacket>& arrived) {
    for (int i = 0; i < kReadsPerPass && session.socket >= 0; ++i) {
        NLint count = nlRead(session.socket, buffer.data(), static_cast<NLint>(buffer.size()));
        if (count <= 0) return;
        Keep(buffer, count, session.socket, arrived);
    }
}

// The cap on connections: the host program's, and never over half the descriptors, which keeps
// the rest for the program's own files.
size_t MaxConnections(NetSession& session) {
    rlimit limit{};
    size_t cap = static_cast<size_t>(std::max(session.limits.maxConnections.load(), 1));
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        cap = std::min(cap, static_cast<size_t>(limit.rlim_cur / 2));
    return cap;
}

// The host's own connection to itself is joined from the start: its program may never create a player.
bool FromOwnSocket(NetSession& session, NLsocket connection) {
    NLaddress own, peer;
    return nlGetLocalAddr(session.socket, &own) && nlGetRemoteAddr(connection, &peer) && own.host == peer.host &&
           own.port == peer.port;
}

// Step 3: new connections, those over the cap closed at once. False when the listening socket broke
// and the host has shut down.
bool AcceptClients(NetSession& session) {
    size_t cap = MaxConnections(session);
    for (int i = 0; i < kAcceptsPerPass; ++i) {
        NLsocket connection = nlAcceptConnection(session.listenSocket);
        if (connection >= 0) {
            if (session.clients.size() < cap && nlGroupAddSocket(session.group, connection)) {
                NetConnection& client = session.clients[connection];
                client.accepted = NetClock::now();
                client.joined = FromOwnSocket(session, connection);
            } else {
                nlClose(connection);
            }
            continue;
        }
        NLenum error = nlGetError();
        int system = nlGetSystemError();
        // A peer that reset before we took it, or no descriptors to spare now, leaves the host as it was.
        bool passing = error == NL_NO_PENDING || error == NL_SOCK_DISCONNECT ||
                       (error == NL_SYSTEM_ERROR &&
                        (system == EMFILE || system == ENFILE || system == ENOBUFS || system == ENOMEM));
        if (passing) return true;
        NetLock lock(session);
        session.stopRequested = 1;
        nlClose(session.listenSocket);
        nlClose(session.socket);
        session.listenSocket = -1;
        session.socket = -1;
        return false;
    }
    return true;
}

// Step 4: one packet from each of at most 100 ready clients, starting after the last one served.
void ReadClients(NetSession& session, ReadBuffer& buffer, std::vector<NetPacket>& arrived) {
    std::vector<NLsocket> ready(session.clients.size() + 1);
    NLint count = nlPollGroup(session.group, NL_READ_STATUS, ready.data(), static_cast<NLint>(ready.size()), 0);
    if (count <= 0) return;
    ready.resize(static_cast<size_t>(count));
    std::sort(ready.begin(), ready.end());
    auto start = std::upper_bound(ready.begin(), ready.end(), session.lastServed);
    std::rotate(ready.begin(), start, ready.end());
    if (ready.size() > static_cast<size_t>(kClientsServedPerPass)) ready.resize(kClientsServedPerPass);
    for (NLsocket connection : ready) {
        session.lastServed = connection;
        NLint read = nlRead(connection, buffer.data(), static_cast<NLint>(buffer.size()));
        if (read > 0) {
            Keep(buffer, read, connection, arrived);
        } else if (read < 0) {
            // Gone, reset, out of framing or failing: dropped with its players alike.
            DropClient(session, connection);
        }
    }
}

// Steps 5 to 8: each packet to the host's or the client's handling, then a client's own packets out.
void Dispatch(NetSession& session, std::vector<NetPacket>& arrived) {
    NetOutbox outbox;
    {
        NetLock lock(session);
        for (NetPacket& packet : arrived) session.incoming.push_back(std::move(packet));
        for (NetPacket& packet : session.incoming) {
            if (packet.connection == session.socket)
                ClientHandle(session, packet, outbox);
            else if (session.isHost)
                HostHandle(session, packet);
        }
        session.incoming.clear();
    }
    arrived.clear();
    for (const auto& [socket, bytes] : outbox) NetSendPacket(session, socket, bytes);
}

// The host's queues out as far as the sockets take them; connections past a bound dropped.
void WriteQueues(NetSession& session) {
    auto now = NetClock::now();
    for (auto& [connection, client] : session.clients) NetFlushQueue(session, connection, client, now);
    for (NLsocket connection : NetOverdueConnections(session, now)) DropClient(session, connection);
}

void CloseClients(NetSession& session) {
    for (const auto& [connection, client] : session.clients) nlClose(connection);
    session.clients.clear();
    session.queuedBytes = 0;
    nlGroupDestroy(session.group);
    session.group = -1;
}

} // namespace

void* NetworkThread(void* data) {
    NetSession& session = *static_cast<NetSession*>(data);
    session.group = nlGroupCreate();
    session.lastServed = -1;
    ReadBuffer buffer;
    std::vector<NetPacket> arrived;
    while (AnnouncePlayers(session)) {
        ReadOwnSocket(session, buffer, arrived);
        if (session.isHost && !AcceptClients(session)) break;
        if (session.isHost) ReadClients(session, buffer, arrived);
        Dispatch(session, arrived);
        if (session.isHost) WriteQueues(session);
        std::this_thread::sleep_for(std::chrono::milliseconds(session.timings.passSleepMs));
    }
    CloseClients(session);
    NetLock lock(session);
    session.threadRunning = 0;
    session.stopRequested = 1;
    return nullptr;
}

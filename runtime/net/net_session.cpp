// The session's life: creation at start-up, reset, the thread's start and stop, sending, program end.
#include "runtime/net/net_session.h"

#include "runtime/net/net_packet.h"

#include <chrono>
#include <thread>

void* NetworkThread(void* data); // net_thread.cpp

namespace {

std::unique_ptr<NetSession>& SessionSlot() {
    // Never destroyed: the program's end may still close the session after static destructors ran.
    static auto* session = new std::unique_ptr<NetSession>;
    return *session;
}

void CloseSockets(NetSession& session) {
    if (session.listenSocket >= 0) nlClose(session.listenSocket);
    if (session.socket >= 0) nlClose(session.socket);
    session.listenSocket = -1;
    session.socket = -1;
}

} // namespace

NetSession* NetworkSession() { return SessionSlot().get(); }

void NetworkCreate() {
    auto session = std::make_unique<NetSession>();
    nlMutexInit(&session->lock);
    SessionSlot() = std::move(session);
}

void NetworkDestroy() {
    NetSession* session = NetworkSession();
    if (!session) return;
    std::vector<int32_t> ids;
    NLsocket socket;
    {
        NetLock lock(*session);
        for (const NetPlayer& player : session->localPlayers)
            if (player.id >= 0) ids.push_back(player.id);
        socket = session->socket;
    }
    if (socket >= 0)
        for (int32_t id : ids) NetSendPacket(*session, socket, EncodePacket(kRemovePlayer, 0, id));
    NetStopThread(*session);
    CloseSockets(*session);
    if (session->libraryStarted) nlShutdown();
    nlMutexDestroy(&session->lock);
    SessionSlot().reset();
}

void NetStartThread(NetSession& session) {
    {
        NetLock lock(session);
        session.stopRequested = 0;
        session.threadRunning = 1;
    }
    session.thread = nlThreadCreate(NetworkThread, &session, NL_TRUE);
}

void NetStopThread(NetSession& session) {
    if (!session.thread) return;
    {
        NetLock lock(session);
        session.stopRequested = 1;
    }
    // Every pass looks at the request and every wait inside one is bounded.
    nlThreadJoin(session.thread, nullptr);
    session.thread = nullptr;
}

void NetReset(NetSession& session) {
    NetStopThread(session);
    CloseSockets(session);
    session.localPlayers.clear();
    session.hostPlayers.clear();
    session.incoming.clear();
    session.replies.clear();
    session.isHost = 0;
    session.networkType = NL_IP;
    session.connectionType = NL_RELIABLE_PACKETS;
    session.nextPlayerId = kFirstPlayerId;
    session.queryPlayerId = -1;
    // Only the session's own start is undone, so a download or another user of the library keeps its sockets.
    if (session.libraryStarted) nlShutdown();
    session.libraryStarted = nlInit();
    if (session.libraryStarted) nlSelectNetwork(NL_IP);
}

bool NetSendPacket(NetSession& session, NLsocket socket, const std::string& bytes) {
    using Clock = std::chrono::steady_clock;
    auto giveUp = Clock::now() + std::chrono::milliseconds(session.timings.sendGiveUpMs);
    for (;;) {
        NLint written = nlWrite(socket, bytes.data(), static_cast<NLint>(bytes.size()));
        if (written == static_cast<NLint>(bytes.size())) return true;
        if (written < 0 && nlGetError() != NL_CON_PENDING) {
            nlWrite(socket, bytes.data(), static_cast<NLint>(bytes.size()));
            return false;
        }
        if (Clock::now() >= giveUp) return false;
        {
            // A stopping session does not wait for a peer that does not read.
            NetLock lock(session);
            if (session.stopRequested) return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

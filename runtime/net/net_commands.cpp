// The program's network commands, on the calling thread: they write packets and wait on the lists
// the network thread fills.
#include "runtime/net/net.h"

#include "runtime/core/number_convert.h"
#include "runtime/net/net_packet.h"
#include "runtime/net/net_session.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <thread>

namespace {

void Sleep(int32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// A port number as the commands take it: below 1 the default, above 65535 none.
std::optional<NLushort> PortOrDefault(double port) {
    int32_t value = NumberToInt(port);
    if (value < 1) return kDefaultPort;
    if (value > 65535) return std::nullopt;
    return static_cast<NLushort>(value);
}

NLsocket SessionSocket(NetSession& session) {
    NetLock lock(session);
    return session.socket;
}

bool ThreadRunning(NetSession& session) {
    NetLock lock(session);
    return session.threadRunning != 0;
}

// Appends a player and waits for its id; -1 when none came in time (the player is then removed
// once its id arrives, or freed if it was never announced).
int32_t CreatePlayerAndWait(NetSession& session, std::string_view name, uint8_t hidden) {
    if (!ThreadRunning(session)) return -1;
    NetPlayer* player;
    {
        NetLock lock(session);
        player = &session.localPlayers.emplace_back();
        player->hidden = hidden;
        CopyName(player->name, name);
    }
    for (int32_t check = 0; check < session.timings.waitChecks; ++check) {
        {
            NetLock lock(session);
            if (player->id > 0) return player->id;
        }
        Sleep(session.timings.waitStepMs);
    }
    NetLock lock(session);
    if (player->id > 0) return player->id;
    if (player->id == -1)
        player->id = -2;
    else
        player->abandoned = true;
    return -1;
}

// Sends a question to the host and waits for the answer of the same type.
std::optional<NetPacket> Query(NetSession& session, uint8_t type, std::string_view payload = {}) {
    if (session.queryPlayerId < 0) session.queryPlayerId = CreatePlayerAndWait(session, "", 1);
    if (session.queryPlayerId < 0) return std::nullopt;
    {
        NetLock lock(session);
        session.replies.clear();
    }
    if (!NetSendPacket(session, SessionSocket(session), EncodePacket(type, 0, session.queryPlayerId, payload)))
        return std::nullopt;
    for (int32_t check = 0; check < session.timings.waitChecks; ++check) {
        {
            NetLock lock(session);
            for (auto it = session.replies.begin(); it != session.replies.end(); ++it) {
                if (it->type != type) continue;
                NetPacket answer = std::move(*it);
                session.replies.erase(it);
                return answer;
            }
        }
        Sleep(session.timings.waitStepMs);
    }
    return std::nullopt;
}

void CloseSocket(NLsocket& socket) {
    if (socket >= 0) nlClose(socket);
    socket = -1;
}

} // namespace

double NetHostSession(double port) {
    NetSession* session = NetworkSession();
    if (!session) return 0;
    NetReset(*session);
    std::optional<NLushort> listenPort = PortOrDefault(port);
    if (!listenPort) return 0;
    session->listenSocket = nlOpen(*listenPort, session->connectionType);
    session->socket = nlOpen(0, session->connectionType);
    NLaddress address;
    bool ok = session->listenSocket >= 0 && session->socket >= 0 && nlListen(session->listenSocket) &&
              nlGetLocalAddr(session->socket, &address) && nlSetAddrPort(&address, *listenPort) &&
              nlConnect(session->socket, &address);
    if (!ok) {
        CloseSocket(session->listenSocket);
        CloseSocket(session->socket);
        return 0;
    }
    session->isHost = 1;
    NetStartThread(*session);
    return 1;
}

double NetJoinSession(const RtString& address, double port) {
    NetSession* session = NetworkSession();
    if (!session) return 0;
    NetReset(*session);
    std::optional<NLushort> hostPort = PortOrDefault(port);
    if (!hostPort) return 0;
    session->socket = nlOpen(0, session->connectionType);
    NLaddress host;
    bool resolved = session->socket >= 0 && (address.Length() == 0 ? nlGetLocalAddr(session->socket, &host)
                                                                   : nlGetAddrFromName(address.c_str(), &host));
    if (!resolved || !nlSetAddrPort(&host, *hostPort) || !nlConnect(session->socket, &host)) {
        CloseSocket(session->socket);
        return 0;
    }
    session->isHost = 0;
    NetStartThread(*session);
    if (Query(*session, kPing)) return 1;
    NetStopThread(*session);
    CloseSocket(session->socket);
    return 0;
}

RtString NetCreatePlayer(const RtString& name) {
    NetSession* session = NetworkSession();
    if (!session) return RtString("-1");
    return RtString(CreatePlayerAndWait(*session, name.view(), 0));
}

double NetRemovePlayer(const RtString& id) {
    NetSession* session = NetworkSession();
    int32_t player = id.ToInt();
    if (session && player >= 0)
        NetSendPacket(*session, SessionSocket(*session), EncodePacket(kRemovePlayer, 0, player));
    return 1;
}

double NetSendMessage(const RtString& fromId, const RtString& toId, const RtString& text) {
    NetSession* session = NetworkSession();
    // A longer text does not fit the packet; it is not cut into another message.
    if (!session || text.Length() > static_cast<uint32_t>(kMaxPayload)) return 0;
    int32_t to = toId.ToInt();
    NLsocket socket = SessionSocket(*session);
    if (socket < 0) return 0;
    return NetSendPacket(*session, socket, EncodePacket(kMessage, to == 0 ? -1 : to, fromId.ToInt(), text.view())) ? 1
                                                                                                                   : 0;
}

RtString NetReceiveMessage(const RtString& playerId) {
    NetSession* session = NetworkSession();
    if (!session) return RtString();
    int32_t id = playerId.ToInt();
    NetLock lock(*session);
    for (NetPlayer& player : session->localPlayers) {
        if (player.id != id) continue;
        if (player.inbox.empty()) break;
        NetPacket packet = std::move(player.inbox.front());
        player.inbox.pop_front();
        session->lastSender = packet.from;
        // Text ends at its first zero byte, as the program sees it.
        return RtString(std::string_view(packet.payload.c_str()));
    }
    return RtString();
}

RtString NetLastSender() {
    NetSession* session = NetworkSession();
    return RtString(session ? session->lastSender : 0);
}

double NetPlayerCount() {
    NetSession* session = NetworkSession();
    if (!session) return 0;
    std::optional<NetPacket> answer = Query(*session, kCountQuery);
    return answer && answer->payload.size() >= 4 ? ReadInt32(answer->payload, 0) : 0;
}

double NetPlayerIdByIndex(double index) {
    NetSession* session = NetworkSession();
    if (!session) return 0;
    std::optional<NetPacket> answer = Query(*session, kIdByIndexQuery, Int32Bytes(NumberToInt(std::round(index))));
    return answer && answer->payload.size() >= 4 ? ReadInt32(answer->payload, 0) : 0;
}

RtString NetPlayerName(const RtString& id) {
    NetSession* session = NetworkSession();
    if (!session) return RtString("NO_DATA");
    std::optional<NetPacket> answer = Query(*session, kNameQuery, Int32Bytes(id.ToInt()));
    if (!answer) return RtString("NO_DATA");
    return RtString(std::string_view(answer->payload.c_str()));
}

RtString NetLocalAddresses() {
    NetSession* session = NetworkSession();
    if (session) NetReset(*session);
    NLint count = 0;
    NLaddress* addresses = nlGetAllLocalAddr(&count);
    RtString result;
    char text[NL_MAX_STRING_LENGTH];
    for (NLint i = 0; i < count && result.Length() + 32 <= 4096; ++i) {
        if (result.Length() > 0) result += "|";
        result += nlAddrToString(&addresses[i], text);
    }
    return result;
}

double NetSetMaxConnections(double count) {
    NetSession* session = NetworkSession();
    if (session) session->limits.maxConnections = std::max(NumberToInt(count), 1);
    return 1;
}

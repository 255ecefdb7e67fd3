// The host's and the client's handling of arrived packets.
#include "runtime/net/net_dispatch.h"

#include "runtime/net/net_packet.h"
#include "runtime/net/net_queue.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

NetPlayer* RegisteredOn(NetSession& session, int32_t id, NLsocket connection) {
    for (NetPlayer& player : session.hostPlayers)
        if (player.id == id && player.socket == connection) return &player;
    return nullptr;
}

void Reply(NetSession& session, NLsocket connection, uint8_t type, int32_t to, std::string payload = {}) {
    auto header = EncodeHeader(type, to, 0, payload.size());
    NetQueuePacket(session, connection, header, std::make_shared<const std::string>(std::move(payload)));
}

void RegisterPlayer(NetSession& session, const NetPacket& packet) {
    if (packet.to != 0 || packet.payload.size() < kCreatePayloadSize) return;
    size_t onConnection = std::count_if(session.hostPlayers.begin(), session.hostPlayers.end(),
                                        [&](const NetPlayer& p) { return p.socket == packet.connection; });
    if (onConnection >= kPlayersPerConnection || session.nextPlayerId == std::numeric_limits<int32_t>::max()) return;
    NetPlayer& player = session.hostPlayers.emplace_back();
    player.socket = packet.connection;
    player.id = session.nextPlayerId++;
    player.hidden = static_cast<uint8_t>(packet.payload[8]);
    CopyName(player.name, std::string_view(packet.payload).substr(10, kMaxNameLength + 1));
    auto client = session.clients.find(packet.connection);
    if (client != session.clients.end()) client->second.joined = true;
    Reply(session, packet.connection, kPlayerCreated, player.id);
}

// Every receiver's copy has its own header around the one payload.
void Relay(NetSession& session, const NetPacket& packet) {
    if (!RegisteredOn(session, packet.from, packet.connection)) return;
    auto payload = std::make_shared<const std::string>(packet.payload);
    for (const NetPlayer& player : session.hostPlayers) {
        if (packet.to == -1 ? player.hidden == 0 && player.reserved == 0 && player.id != packet.from
                            : player.id == packet.to) {
            NetQueuePacket(session, player.socket, EncodeHeader(kMessage, player.id, packet.from, payload->size()),
                           payload);
            if (packet.to != -1) return;
        }
    }
}

void Answer(NetSession& session, const NetPacket& packet) {
    if (packet.to != 0 || !RegisteredOn(session, packet.from, packet.connection)) return;
    bool withArgument = packet.type == kIdByIndexQuery || packet.type == kNameQuery;
    if (withArgument && packet.payload.size() < 4) return;
    std::string answer;
    switch (packet.type) {
    case kCountQuery:
        answer = Int32Bytes(static_cast<int32_t>(std::count_if(session.hostPlayers.begin(), session.hostPlayers.end(),
                                                               [](const NetPlayer& p) { return p.hidden == 0; })));
        break;
    case kIdByIndexQuery: {
        int32_t index = ReadInt32(packet.payload, 0);
        int32_t id = 0;
        for (const NetPlayer& player : session.hostPlayers)
            if (player.hidden == 0 && index-- == 0) {
                id = player.id;
                break;
            }
        answer = Int32Bytes(id);
        break;
    }
    case kNameQuery: {
        int32_t id = ReadInt32(packet.payload, 0);
        for (const NetPlayer& player : session.hostPlayers)
            if (player.id == id) {
                answer = player.name;
                break;
            }
        break;
    }
    default:
        answer = std::string("\1\0\0\0", 4);
        break;
    }
    Reply(session, packet.connection, packet.type, packet.from, std::move(answer));
}

} // namespace

void HostHandle(NetSession& session, const NetPacket& packet) {
    switch (packet.type) {
    case kCreatePlayer:
        RegisterPlayer(session, packet);
        break;
    case kMessage:
        Relay(session, packet);
        break;
    case kRemovePlayer:
        if (packet.to == 0)
            session.hostPlayers.remove_if(
                [&](const NetPlayer& p) { return p.id == packet.from && p.socket == packet.connection; });
        break;
    case kCountQuery:
    case kIdByIndexQuery:
    case kNameQuery:
    case kPing:
        Answer(session, packet);
        break;
    default:
        break;
    }
}

void ClientHandle(NetSession& session, NetPacket& packet, NetOutbox& outbox) {
    if (packet.type == kMessage) {
        // Only players with an assigned id receive: -1 is no player's address.
        for (NetPlayer& player : session.localPlayers)
            if (player.id == packet.to && player.id > 0) {
                if (player.inbox.size() < kInboxLimit) player.inbox.push_back(std::move(packet));
                return;
            }
        return;
    }
    if (packet.from != 0) return;
    if (packet.type == kPlayerCreated && packet.to > 0) {
        auto waiting = std::find_if(session.localPlayers.begin(), session.localPlayers.end(),
                                    [](const NetPlayer& p) { return p.id == -3; });
        if (waiting == session.localPlayers.end()) return;
        waiting->id = packet.to;
        if (waiting->abandoned) {
            outbox.emplace_back(session.socket, EncodePacket(kRemovePlayer, 0, packet.to));
            session.localPlayers.erase(waiting);
        }
    } else if (packet.type >= kCountQuery && packet.type <= kPing && session.replies.size() < kRepliesLimit) {
        session.replies.push_back(std::move(packet));
    }
}

void ForgetConnection(NetSession& session, NLsocket connection) {
    session.hostPlayers.remove_if([&](const NetPlayer& p) { return p.socket == connection; });
}

// The host's outgoing queues and their bounds.
#include "runtime/net/net_queue.h"

#include "runtime/net/net_packet.h"

#include <algorithm>
#include <cstring>

namespace {

size_t Cost(const NetOutgoing& packet) { return packet.payload->size() + kQueuedPacketCost; }

// Empties a queue that will never be sent and keeps its connection from taking more.
void Abandon(NetSession& session, NetConnection& client) {
    session.queuedBytes -= client.queuedBytes;
    client.queuedBytes = 0;
    client.queue.clear();
    client.dropping = true;
}

} // namespace

void NetQueuePacket(NetSession& session, NLsocket connection, const std::array<char, kPacketHeaderSize>& header,
                    std::shared_ptr<const std::string> payload) {
    auto found = session.clients.find(connection);
    if (found == session.clients.end() || found->second.dropping) return;
    NetConnection& client = found->second;
    if (client.queue.empty()) client.lastTaken = NetClock::now();
    NetOutgoing& packet = client.queue.emplace_back(NetOutgoing{header, std::move(payload)});
    client.queuedBytes += Cost(packet);
    session.queuedBytes += Cost(packet);
    if (client.queuedBytes > session.limits.queueBytes) {
        // A burst within one pass may still fit the socket's buffer.
        NetFlushQueue(session, connection, client, NetClock::now());
        if (client.queuedBytes > session.limits.queueBytes) Abandon(session, client);
    }
    while (session.queuedBytes > session.limits.queuedBytesTotal) {
        NetConnection* largest = nullptr;
        for (auto& [socket, other] : session.clients)
            if (!largest || other.queuedBytes > largest->queuedBytes) largest = &other;
        Abandon(session, *largest);
    }
}

void NetFlushQueue(NetSession& session, NLsocket connection, NetConnection& client, NetClock::time_point now) {
    // A batch goes out with one system call: a broadcast leaves many packets in each queue.
    constexpr size_t kBatch = 64;
    std::array<char, kBatch*(kPacketHeaderSize + kMaxPayload)> bytes;
    std::array<const void*, kBatch> starts;
    std::array<NLint, kBatch> sizes;
    while (!client.queue.empty() && !client.dropping) {
        size_t count = std::min(kBatch, client.queue.size()), offset = 0;
        for (size_t i = 0; i < count; ++i) {
            const NetOutgoing& packet = client.queue[i];
            starts[i] = bytes.data() + offset;
            std::memcpy(bytes.data() + offset, packet.header.data(), kPacketHeaderSize);
            std::memcpy(bytes.data() + offset + kPacketHeaderSize, packet.payload->data(), packet.payload->size());
            sizes[i] = static_cast<NLint>(kPacketHeaderSize + packet.payload->size());
            offset += static_cast<size_t>(sizes[i]);
        }
        NLint written = nlWritePackets(connection, starts.data(), sizes.data(), static_cast<NLint>(count));
        if (written < 0) return Abandon(session, client);
        for (NLint i = 0; i < written; ++i) {
            client.queuedBytes -= Cost(client.queue.front());
            session.queuedBytes -= Cost(client.queue.front());
            client.queue.pop_front();
            client.lastTaken = now;
        }
        if (static_cast<size_t>(written) < count) return;
    }
}

std::vector<NLsocket> NetOverdueConnections(NetSession& session, NetClock::time_point now) {
    auto past = [&](NetClock::time_point since, int32_t ms) { return now - since >= std::chrono::milliseconds(ms); };
    std::vector<NLsocket> overdue;
    for (auto& [socket, client] : session.clients) {
        if (!nlPartialPacket(socket))
            client.partialSince = {};
        else if (client.partialSince == NetClock::time_point{})
            client.partialSince = now;
        if (client.dropping || (!client.queue.empty() && past(client.lastTaken, session.timings.sendGiveUpMs)) ||
            (client.partialSince != NetClock::time_point{} &&
             past(client.partialSince, session.timings.partialPacketMs)) ||
            (!client.joined && past(client.accepted, session.timings.joinMs)))
            overdue.push_back(socket);
    }
    return overdue;
}

void NetForgetQueue(NetSession& session, NLsocket connection) {
    auto found = session.clients.find(connection);
    if (found == session.clients.end()) return;
    session.queuedBytes -= found->second.queuedBytes;
    session.clients.erase(found);
}

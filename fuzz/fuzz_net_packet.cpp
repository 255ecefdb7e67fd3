// Fuzzes what a peer can send a session: the bytes arrive cut into reads through the layer's packet
// framing, and every packet goes through the session's checks and both the host's and the client's
// handling.
#include "platform/nl.h"
#include "runtime/net/net_dispatch.h"
#include "runtime/net/net_packet.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <sys/socket.h>
#include <unistd.h>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    nlInit();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    size_t chunk = data[0] % 64 + 1;
    ++data;
    --size;
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return 0;
    NLsocket reader = nlWrapDescriptor(ends[0], NL_RELIABLE_PACKETS);

    NetSession session;
    nlMutexInit(&session.lock);
    session.isHost = 1;
    session.socket = reader; // the client's handling sees the same packets
    for (int32_t id : {101, 102}) {
        NetPlayer& player = session.hostPlayers.emplace_back();
        player.socket = reader;
        player.id = id;
    }
    // Its queue goes to the other end, which nobody reads: the bound is what keeps it small.
    session.clients[reader].joined = true;
    session.limits.queueBytes = 4096;
    session.nextPlayerId = 103;
    session.localPlayers.emplace_back().id = 101;
    session.localPlayers.emplace_back().id = -3;

    std::array<uint8_t, NL_MAX_PACKET_LENGTH> buffer;
    NetOutbox outbox;
    // Reads what has arrived; to the end of the stream once the writer closed. An empty packet reads
    // as 0 too, so only the end or lost framing ends that drain.
    auto drain = [&](bool toEnd) {
        for (;;) {
            NLint count = nlRead(reader, buffer.data(), static_cast<NLint>(buffer.size()));
            if (count < 0 || (count == 0 && !toEnd)) return count;
            if (count > NL_MAX_PACKET_LENGTH) std::abort();
            NetPacket packet;
            if (!DecodePacket(buffer.data(), count, packet)) continue;
            if (packet.payload.size() > kMaxPayload) std::abort();
            packet.connection = reader;
            HostHandle(session, packet);
            ClientHandle(session, packet, outbox);
            if (session.hostPlayers.size() > kPlayersPerConnection || session.replies.size() > kRepliesLimit ||
                session.queuedBytes > session.limits.queueBytes)
                std::abort();
            outbox.clear();
        }
    };
    // A reader that lost the framing takes nothing more, so the writer must never wait for room: tiny
    // writes fill a socket pair's buffer long before their bytes do.
    NLint last = 0;
    for (size_t offset = 0; offset < size && last != NL_INVALID; offset += chunk) {
        size_t n = std::min(chunk, size - offset);
        if (send(ends[1], data + offset, n, MSG_DONTWAIT | MSG_NOSIGNAL) != static_cast<ssize_t>(n)) break;
        last = drain(false);
    }
    close(ends[1]);
    // The stream ends: with its end, or earlier with its lost framing.
    if (last != NL_INVALID) drain(true);
    if (nlGetError() != NL_MESSAGE_END && nlGetError() != NL_PACKET_SYNC) std::abort();
    nlClose(reader);
    nlMutexDestroy(&session.lock);
    return 0;
}

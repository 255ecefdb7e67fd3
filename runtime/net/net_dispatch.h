// What the network thread does with each packet that arrived: the host's handling of its clients'
// packets and a client's handling of what its host sent. Both run under the session's lock: the
// host queues its packets, a client collects its own, which go out once the lock is released.
#pragma once

#include "runtime/net/net_session.h"

#include <string>
#include <utility>
#include <vector>

using NetOutbox = std::vector<std::pair<NLsocket, std::string>>;

// A packet from one of the host's connections: players registered, messages relayed, queries answered,
// but only for players registered through that same connection.
void HostHandle(NetSession& session, const NetPacket& packet);
// A packet from the host: messages into inboxes, ids for announced players, answers for queries.
void ClientHandle(NetSession& session, NetPacket& packet, NetOutbox& outbox);
// Frees the host's players reached through a connection that has gone.
void ForgetConnection(NetSession& session, NLsocket connection);

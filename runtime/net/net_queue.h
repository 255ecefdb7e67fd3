// The host's outgoing queues, one a connection: packets kept in order and written as each socket
// takes them, within the bounds that drop a connection rather than let the host grow.
#pragma once

#include "runtime/net/net_session.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

// What a queued packet counts against the bounds: its payload and this much besides.
constexpr size_t kQueuedPacketCost = 64;

// Queues a packet for one of the host's connections; nothing for one being dropped or unknown. A
// queue over its bound after a write is dropped; past the host's total the largest queues are.
void NetQueuePacket(NetSession& session, NLsocket connection, const std::array<char, kPacketHeaderSize>& header,
                    std::shared_ptr<const std::string> payload);
// Writes what the socket takes now. A write error marks the connection to be dropped.
void NetFlushQueue(NetSession& session, NLsocket connection, NetConnection& client, NetClock::time_point now);
// The connections to drop: marked, packets waiting and none taken, a packet begun and never
// finished, or no player registered in time.
std::vector<NLsocket> NetOverdueConnections(NetSession& session, NetClock::time_point now);
// Frees a connection's queue and its record (the caller closes the socket).
void NetForgetQueue(NetSession& session, NLsocket connection);

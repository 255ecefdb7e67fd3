// Networking: host or join a session, create players, exchange messages through the host, ask the
// host about the session. Ids and numbers travel as text where programs hold them as text.
//
//   Sessions   NetHostSession NetJoinSession NetLocalAddresses
//   Players    NetCreatePlayer NetRemovePlayer
//   Messages   NetSendMessage NetReceiveMessage NetLastSender
//   Questions  NetPlayerCount NetPlayerIdByIndex NetPlayerName
//   Hosting    NetSetMaxConnections, and the bounds a host holds its peers to
#pragma once

#include "rt_string.h"

#include <cstddef>

// ---- Sessions (1 on success, 0 on failure; a port below 1 means 26000)
double NetHostSession(double port);                          // this process hosts and joins itself
double NetJoinSession(const RtString& address, double port); // "" = this machine
RtString NetLocalAddresses();                                // "a.b.c.d|..."; ends any session

// ---- Players (ids from 101, assigned by the host)
RtString NetCreatePlayer(const RtString& name); // the new id, or "-1" after 5 s without one
double NetRemovePlayer(const RtString& id);     // always 1; a negative id sends nothing

// ---- Messages (at most 1024 bytes)
double NetSendMessage(const RtString& fromId, const RtString& toId, const RtString& text); // toId "0": everyone
RtString NetReceiveMessage(const RtString& playerId);                                      // the oldest message, or ""
RtString NetLastSender(); // the sender of the last message received

// ---- Questions to the host (5 s each)
double NetPlayerCount();                    // 0 on failure
double NetPlayerIdByIndex(double index);    // 0 when none or on failure
RtString NetPlayerName(const RtString& id); // "" when no such player, "NO_DATA" on failure

// ---- Hosting limits (a connection past one is dropped with its players, as if lost)
double NetSetMaxConnections(double count);        // 1; takes effect at the next accept
constexpr int kNetMaxConnections = 256;           // at once, never over half the descriptor limit; more are refused
constexpr size_t kNetQueueBytes = 1 << 20;        // unsent per connection; a packet counts its payload + 64
constexpr size_t kNetQueuedBytesTotal = 16 << 20; // unsent on the host: past it the largest queue is dropped
constexpr int kNetStallMs = 5000;                 // packets waiting and none taken
constexpr int kNetPartialPacketMs = 10000;        // a packet begun and not finished
constexpr int kNetJoinMs = 10000;                 // connected without a player

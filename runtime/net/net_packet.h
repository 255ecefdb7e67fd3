// The "RVLN" wire packet: its header, the type-1 payload, encoding and the checks on what arrives.
#pragma once

#include "runtime/net/net_session.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

constexpr int kMaxPayload = 1024;
constexpr int kCreatePayloadSize = 152;

enum NetPacketType : uint8_t {
    kCreatePlayer = 1,
    kPlayerCreated = 2,
    kMessage = 3,
    kRemovePlayer = 4,
    kCountQuery = 101,
    kIdByIndexQuery = 102,
    kNameQuery = 103,
    kPing = 104,
};

// Header and payload, integers little-endian.
std::string EncodePacket(uint8_t type, int32_t to, int32_t from, std::string_view payload = {});
std::array<char, kPacketHeaderSize> EncodeHeader(uint8_t type, int32_t to, int32_t from, size_t length);
// The type-1 payload: socket -1, id -1, hidden, reserved 0, the name in 128 bytes, 14 zero bytes.
std::string CreatePlayerPayload(const NetPlayer& player);
// One HawkNL packet's body. False (packet dropped) when shorter than the header, with another magic,
// longer than header and 1024 bytes, or when the length field disagrees with what arrived.
bool DecodePacket(const uint8_t* bytes, int count, NetPacket& packet);

int32_t ReadInt32(std::string_view bytes, size_t offset);
std::string Int32Bytes(int32_t value);
// Copies a name up to its first NUL, cut at 127 bytes.
void CopyName(char (&target)[kMaxNameLength + 1], std::string_view name);

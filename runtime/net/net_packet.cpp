// Encoding and checking "RVLN" packets.
#include "runtime/net/net_packet.h"

#include <algorithm>
#include <cstring>

int32_t ReadInt32(std::string_view bytes, size_t offset) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[offset + i])) << (8 * i);
    return static_cast<int32_t>(value);
}

std::string Int32Bytes(int32_t value) {
    std::string bytes(4, '\0');
    for (size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>(static_cast<uint32_t>(value) >> (8 * i));
    return bytes;
}

std::array<char, kPacketHeaderSize> EncodeHeader(uint8_t type, int32_t to, int32_t from, size_t length) {
    std::array<char, kPacketHeaderSize> header{'R', 'V', 'L', 'N', static_cast<char>(type)};
    size_t offset = 5;
    for (int32_t value : {static_cast<int32_t>(length), to, from})
        for (int i = 0; i < 4; ++i) header[offset++] = static_cast<char>(static_cast<uint32_t>(value) >> (8 * i));
    return header;
}

std::string EncodePacket(uint8_t type, int32_t to, int32_t from, std::string_view payload) {
    auto header = EncodeHeader(type, to, from, payload.size());
    std::string bytes(header.begin(), header.end());
    bytes += payload;
    return bytes;
}

std::string CreatePlayerPayload(const NetPlayer& player) {
    std::string payload = Int32Bytes(-1) + Int32Bytes(-1);
    payload += static_cast<char>(player.hidden);
    payload += '\0';
    payload.append(player.name, sizeof player.name);
    payload.resize(kCreatePayloadSize, '\0');
    return payload;
}

bool DecodePacket(const uint8_t* bytes, int count, NetPacket& packet) {
    if (count < kPacketHeaderSize || count > kPacketHeaderSize + kMaxPayload) return false;
    std::string_view view(reinterpret_cast<const char*>(bytes), static_cast<size_t>(count));
    if (view.substr(0, 4) != "RVLN") return false;
    int32_t length = ReadInt32(view, 5);
    if (length != count - kPacketHeaderSize) return false;
    packet.type = bytes[4];
    packet.length = length;
    packet.to = ReadInt32(view, 9);
    packet.from = ReadInt32(view, 13);
    packet.payload.assign(view.substr(kPacketHeaderSize));
    return true;
}

void CopyName(char (&target)[kMaxNameLength + 1], std::string_view name) {
    name = name.substr(0, std::min(name.find('\0'), kMaxNameLength));
    std::memset(target, 0, sizeof target);
    std::memcpy(target, name.data(), name.size());
}

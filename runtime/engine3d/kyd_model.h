// KYD objects inside the engine: the parsing, packing and serialising of the two file forms over bytes
// in memory (the KydModel record is public, in <tmv/engine3d.h>).
#pragma once

#include <tmv/engine3d.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t kKydMagic = 0x00C6B317;
constexpr double kKydVersion = 1.02;
// A vertex whose palette colour is this or above starts a new face.
constexpr uint32_t kKydMarkerFloor = 0xFFFFFFFC;
constexpr uint32_t kKydMarker = 0xFFFFFFFD;
// Palette indexes are one byte.
constexpr size_t kKydMaxPalette = 256;
// The text form's conversion refuses objects beyond this many vertices over all frames.
constexpr size_t kKydMaxTextVertices = 4'000'000;
// Files past this size are refused before they are read.
constexpr uint64_t kKydMaxFileBytes = 64ull << 20;

enum class KydError { None, ReadError, WrongVersion, MallocError };

inline bool IsKydMarker(uint32_t colourValue) { return colourValue >= kKydMarkerFloor; }

// The 162 unit normals of the MD2 table, in the order stored files index them.
extern const float kKydNormals[162][3];

// The compact form (magic first). decode builds every frame's decoded vertices too.
KydError KydReadCompact(KydModel& model, const uint8_t* bytes, size_t size, bool decode);
// The "KYDA" text form, converted and then packed.
KydError KydReadText(KydModel& model, const uint8_t* bytes, size_t size);
// Either form, chosen by the magic number; the model is cleared first and after any failure.
KydError KydRead(KydModel& model, const uint8_t* bytes, size_t size, bool decode);
// The compact form of the model; false when it cannot be represented (over 256 palette colours, a
// frame with more vertices than coordinate pairs).
bool KydWriteCompact(const KydModel& model, std::vector<uint8_t>& bytes);
// Builds a frame's decoded vertices from its packed ones.
void KydDecodeFrame(const KydModel& model, KydFrame& frame);
// Derives palette, coordinate pairs and packed vertices from the decoded frames.
void KydPack(KydModel& model);
// The normal table index that the packer gives a normal.
uint8_t KydNormalIndex(const float normal[3]);

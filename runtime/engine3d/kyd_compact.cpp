// The compact KYD form: reading (every count checked against the bytes left before anything is
// allocated), decoding packed vertices, and writing.
#include "runtime/engine3d/kyd_model.h"

#include <cstring>

namespace {

struct ByteReader {
    const uint8_t* at;
    size_t left;

    bool Take(void* target, size_t count) {
        if (count > left) return false;
        // An empty palette or frame has no storage to copy into.
        if (count == 0) return true;
        std::memcpy(target, at, count);
        at += count;
        left -= count;
        return true;
    }
    template <typename T>
    bool Take(T& value) {
        return Take(&value, sizeof value);
    }
};

// Grown then copied into: GCC 12 at -O3 misreads a range insert at the end of a vector it has just
// allocated as a write out of bounds.
template <typename T>
void Put(std::vector<uint8_t>& bytes, const T& value) {
    size_t at = bytes.size();
    bytes.resize(at + sizeof value);
    std::memcpy(bytes.data() + at, &value, sizeof value);
}

constexpr size_t kFrameHeaderBytes = 4 + 12 + 12;
static_assert(sizeof(KydPackedVertex) == 5);

} // namespace

void KydDecodeFrame(const KydModel& model, KydFrame& frame) {
    frame.decoded.resize(frame.packed.size());
    for (size_t i = 0; i < frame.packed.size(); ++i) {
        const KydPackedVertex& p = frame.packed[i];
        KydVertex& v = frame.decoded[i];
        const uint8_t bytes[3] = {p.x, p.y, p.z};
        for (int k = 0; k < 3; ++k) v.position[k] = (static_cast<float>(bytes[k]) - frame.origin[k]) * frame.scale[k];
        // Indexes past the table or the palette come from damaged files: entry 0 and white.
        const float* n = kKydNormals[p.normal < 162 ? p.normal : 0];
        for (int k = 0; k < 3; ++k) v.normal[k] = n[k];
        v.paletteIndex = p.colour;
        v.colourValue = p.colour < model.palette.size() ? model.palette[p.colour] : 0xFFFFFFFF;
        if (IsKydMarker(v.colourValue)) {
            v.colour[0] = v.colour[1] = v.colour[2] = 1.0f;
        } else {
            for (int k = 0; k < 3; ++k) v.colour[k] = static_cast<float>((v.colourValue >> (8 * k)) & 0xFF) / 255.0f;
        }
        v.u = i < model.texU.size() ? model.texU[i] : 0.0f;
        v.v = i < model.texV.size() ? -model.texV[i] : 0.0f;
    }
}

KydError KydReadCompact(KydModel& model, const uint8_t* bytes, size_t size, bool decode) {
    ByteReader in{bytes, size};
    int32_t magic = 0, frameCount = 0, paletteCount = 0, texCoordCount = 0;
    double version = 0;
    if (!in.Take(magic) || magic != kKydMagic || !in.Take(version)) return KydError::ReadError;
    if (version != kKydVersion) return KydError::WrongVersion;
    if (!in.Take(frameCount) || !in.Take(paletteCount) || !in.Take(texCoordCount)) return KydError::ReadError;
    if (frameCount < 0 || paletteCount < 0 || texCoordCount < 0) return KydError::ReadError;
    // 64-bit sums of 31-bit counts cannot overflow.
    uint64_t needed = 4ull * static_cast<uint64_t>(paletteCount) + 8ull * static_cast<uint64_t>(texCoordCount) +
                      kFrameHeaderBytes * static_cast<uint64_t>(frameCount);
    if (needed > in.left) return KydError::ReadError;

    model.palette.resize(static_cast<size_t>(paletteCount));
    in.Take(model.palette.data(), 4 * model.palette.size());
    // In one read: a million pairs must not cost a million reads.
    std::vector<float> pairs(2 * static_cast<size_t>(texCoordCount));
    in.Take(pairs.data(), 4 * pairs.size());
    model.texU.resize(static_cast<size_t>(texCoordCount));
    model.texV.resize(static_cast<size_t>(texCoordCount));
    for (size_t i = 0; i < model.texU.size(); ++i) {
        model.texU[i] = pairs[2 * i];
        model.texV[i] = pairs[2 * i + 1];
    }
    model.frames.resize(static_cast<size_t>(frameCount));
    for (KydFrame& frame : model.frames) {
        int32_t vertexCount = 0;
        if (!in.Take(vertexCount) || !in.Take(frame.origin) || !in.Take(frame.scale)) return KydError::ReadError;
        // Vertex i takes coordinate pair i: a frame cannot have more vertices than pairs.
        if (vertexCount < 0 || vertexCount > texCoordCount || 5ull * static_cast<uint64_t>(vertexCount) > in.left)
            return KydError::ReadError;
        frame.packed.resize(static_cast<size_t>(vertexCount));
        in.Take(frame.packed.data(), 5 * frame.packed.size());
        if (decode) KydDecodeFrame(model, frame);
    }
    return KydError::None;
}

bool KydWriteCompact(const KydModel& model, std::vector<uint8_t>& bytes) {
    // One-byte colour indexes cannot address more colours; wrapping them would recolour the object.
    if (model.palette.size() > kKydMaxPalette || model.texU.size() != model.texV.size() ||
        model.texU.size() > INT32_MAX || model.frames.size() > INT32_MAX)
        return false;
    for (const KydFrame& frame : model.frames)
        if (frame.packed.size() > model.texU.size()) return false;
    bytes.clear();
    Put(bytes, kKydMagic);
    Put(bytes, kKydVersion);
    Put(bytes, static_cast<int32_t>(model.frames.size()));
    Put(bytes, static_cast<int32_t>(model.palette.size()));
    Put(bytes, static_cast<int32_t>(model.texU.size()));
    for (uint32_t colour : model.palette) Put(bytes, colour);
    for (size_t i = 0; i < model.texU.size(); ++i) {
        Put(bytes, model.texU[i]);
        Put(bytes, model.texV[i]);
    }
    for (const KydFrame& frame : model.frames) {
        Put(bytes, static_cast<int32_t>(frame.packed.size()));
        Put(bytes, frame.origin);
        Put(bytes, frame.scale);
        for (const KydPackedVertex& p : frame.packed) Put(bytes, p);
    }
    return true;
}

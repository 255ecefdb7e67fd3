// The WAV reader. Positions are 64-bit and every step moves forward inside the bytes, so no chunk
// size, however large, can loop the walk or reach outside the file.
#include "runtime/sound/wav_reader.h"

#include "platform/files.h"

#include <cstring>

namespace {

// Larger files are not read into memory.
constexpr int64_t kMaxFileBytes = int64_t{1} << 30;

constexpr uint16_t kTagPcm = 1;
constexpr uint16_t kTagExtensible = 0xFFFE;
constexpr size_t kFmtSize = 16;
constexpr size_t kExtensibleFmtSize = 40;
// The PCM sub-format of an extensible "fmt " chunk: tag 1 followed by the standard GUID tail.
constexpr uint8_t kPcmSubFormat[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                       0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

bool IsChunkId(const uint8_t* p) {
    for (int i = 0; i < 4; ++i)
        if (p[i] < 0x20 || p[i] > 0x7E) return false;
    return true;
}

struct Chunk {
    const uint8_t* id;
    uint64_t body;   // where its contents start
    uint64_t length; // as declared; may reach past the end
};

// Walks the chunks after the RIFF header.
class ChunkWalk {
  public:
    ChunkWalk(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}

    bool Next(Chunk& chunk) {
        if (pos_ + 8 > size_) return false;
        chunk = {bytes_ + pos_, pos_ + 8, U32(bytes_ + pos_ + 4)};
        uint64_t end = chunk.body + chunk.length;
        // An odd-sized chunk is followed by a pad byte; some writers leave it out, so the next id is
        // taken where one stands.
        if ((chunk.length & 1) && !(end + 4 <= size_ && IsChunkId(bytes_ + end))) ++end;
        pos_ = end;
        return true;
    }

  private:
    const uint8_t* bytes_;
    uint64_t size_;
    uint64_t pos_ = 12;
};

bool ReadFormat(const uint8_t* bytes, size_t size, const Chunk& chunk, WavSound& wav) {
    if (chunk.length < kFmtSize || chunk.body + kFmtSize > size) return false;
    const uint8_t* f = bytes + chunk.body;
    uint16_t tag = U16(f);
    if (tag == kTagExtensible) {
        if (chunk.length < kExtensibleFmtSize || chunk.body + kExtensibleFmtSize > size) return false;
        if (std::memcmp(f + 24, kPcmSubFormat, sizeof kPcmSubFormat) != 0) return false;
    } else if (tag != kTagPcm) {
        return false;
    }
    int channels = U16(f + 2);
    uint32_t rate = U32(f + 4);
    int blockAlign = U16(f + 12);
    int bits = U16(f + 14);
    if (channels < 1 || channels > 2 || (bits != 8 && bits != 16)) return false;
    if (blockAlign != channels * bits / 8 || rate < 100 || rate > 200000) return false;
    wav.format = {channels, static_cast<int>(rate), bits};
    return true;
}

} // namespace

bool ReadWav(const uint8_t* bytes, size_t size, WavSound& wav) {
    wav = {};
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) return false;
    ChunkWalk walk(bytes, size);
    Chunk chunk;
    bool haveFormat = false;
    while (!haveFormat) {
        if (!walk.Next(chunk)) return false;
        if (std::memcmp(chunk.id, "fmt ", 4) == 0) {
            if (!ReadFormat(bytes, size, chunk, wav)) return false;
            haveFormat = true;
        }
    }
    do {
        if (!walk.Next(chunk)) return false;
    } while (std::memcmp(chunk.id, "data", 4) != 0);
    if (chunk.body + chunk.length > size) return false;
    size_t frameBytes = static_cast<size_t>(wav.format.channels) * (wav.format.bits / 8);
    wav.size = static_cast<size_t>(chunk.length) - static_cast<size_t>(chunk.length) % frameBytes;
    if (wav.size == 0) return false;
    wav.data = bytes + chunk.body;
    return true;
}

bool ReadWavFile(const std::string& path, std::vector<uint8_t>& bytes, WavSound& wav) {
    bytes.clear();
    platform::File file = platform::OpenForReading(path);
    int64_t size = file.IsOpen() ? file.Size() : -1;
    if (size < 12 || size > kMaxFileBytes) return false;
    // The RIFF header first: a file that is no WAV costs twelve bytes, not its size.
    uint8_t head[12];
    if (file.Read(head, sizeof head) != 12 || std::memcmp(head, "RIFF", 4) != 0 ||
        std::memcmp(head + 8, "WAVE", 4) != 0)
        return false;
    bytes.resize(static_cast<size_t>(size));
    std::memcpy(bytes.data(), head, sizeof head);
    return file.Read(bytes.data() + 12, bytes.size() - 12) == size - 12 && ReadWav(bytes.data(), bytes.size(), wav);
}

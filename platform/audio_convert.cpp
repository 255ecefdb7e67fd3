// Sample conversion over SDL's audio stream, with a plain copy when the formats already agree.
#include "platform/audio_convert.h"

#include <SDL.h>
#include <algorithm>
#include <memory>

namespace platform {

namespace {

// The stream takes int-sized pieces; a long sound goes in a piece at a time.
constexpr size_t kPiece = 1 << 20;

struct StreamFree {
    void operator()(SDL_AudioStream* s) const { SDL_FreeAudioStream(s); }
};

// Enough input frames to carry several of the stream's output packets.
size_t PaddingFrames(const PcmFormat& from, const MixerFormat& to) {
    return static_cast<size_t>(8192.0 * from.rate / to.rate) + 64;
}

bool SameFormat(const PcmFormat& from, const MixerFormat& to) {
    return from.bits == 16 && from.channels == to.channels && from.rate == to.rate && SDL_BYTEORDER == SDL_LIL_ENDIAN;
}

} // namespace

bool ConvertPcm(const PcmFormat& from, const uint8_t* data, size_t size, const MixerFormat& to, size_t maxBytes,
                std::vector<uint8_t>& out) {
    out.clear();
    size_t frameBytes = static_cast<size_t>(from.channels) * (from.bits / 8);
    if (frameBytes == 0 || from.rate <= 0 || to.rate <= 0 || to.channels <= 0) return false;
    size_t frames = size / frameBytes;
    // The resampler may give a few frames more than the exact ratio.
    double outFrames = static_cast<double>(frames + PaddingFrames(from, to)) * to.rate / from.rate + 64;
    if (frames == 0 || outFrames * to.channels * 2 > static_cast<double>(maxBytes)) return false;
    if (SameFormat(from, to)) {
        out.assign(data, data + frames * frameBytes);
        return true;
    }
    std::unique_ptr<SDL_AudioStream, StreamFree> stream(
        SDL_NewAudioStream(from.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB, static_cast<Uint8>(from.channels), from.rate,
                           AUDIO_S16SYS, static_cast<Uint8>(to.channels), to.rate));
    if (!stream) return false;
    out.reserve(static_cast<size_t>(outFrames) * to.channels * 2);
    size_t inBytes = frames * frameBytes;
    auto drain = [&] {
        int available = SDL_AudioStreamAvailable(stream.get());
        if (available <= 0) return true;
        size_t at = out.size();
        if (at + static_cast<size_t>(available) > maxBytes) return false;
        out.resize(at + static_cast<size_t>(available));
        int got = SDL_AudioStreamGet(stream.get(), out.data() + at, available);
        if (got < 0) return false;
        out.resize(at + static_cast<size_t>(got));
        return true;
    };
    // Pieces end on whole frames, so no frame is split between two puts.
    size_t piece = kPiece - kPiece % frameBytes;
    bool ok = true;
    for (size_t at = 0; ok && at < inBytes; at += piece)
        ok = SDL_AudioStreamPut(stream.get(), data + at, static_cast<int>(std::min(piece, inBytes - at))) == 0 &&
             drain();
    // The stream holds back the end of long inputs even when flushed: silence pushes it out, and the
    // result is cut to the exact length.
    std::vector<uint8_t> silence(PaddingFrames(from, to) * frameBytes, from.bits == 8 ? 0x80 : 0);
    ok = ok && SDL_AudioStreamPut(stream.get(), silence.data(), static_cast<int>(silence.size())) == 0 &&
         SDL_AudioStreamFlush(stream.get()) == 0 && drain();
    size_t exact = static_cast<size_t>(static_cast<uint64_t>(frames) * to.rate / from.rate) * to.channels * 2;
    if (!ok || exact == 0) {
        out.clear();
        return false;
    }
    out.resize(std::min(out.size(), exact));
    return true;
}

} // namespace platform

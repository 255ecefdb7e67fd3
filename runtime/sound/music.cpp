// Music: one piece at a time, optionally looped.
#include "runtime/core/core.h"
#include "runtime/files/files.h"
#include "runtime/sound/sound.h"
#include "runtime/sound/sound_state.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kShortestLoopMs = 500;

// Pieces shorter than half a second sound once every half second, started by the frame loop's
// upkeep; longer ones, and those whose length the decoder cannot tell, are looped by the mixer,
// which goes on from the end to the start without a gap or a cut.
void StartLoop(MusicState& m, double now) {
    double length = m.music.LengthMs();
    bool shortPiece = length >= 0 && length < kShortestLoopMs;
    m.looping = true;
    m.loopEndTime = shortPiece ? now + kShortestLoopMs : 0;
    m.music.Play(!shortPiece);
}

} // namespace

void MusicPlay(const RtString& file, double loop) {
    MusicStop();
    RtString path;
    if (!ArchiveResolve(file, path)) return;
    MusicState& m = Sound().music;
    // The mixer opens the file now and keeps it open, so the piece plays on after an extracted
    // archive copy has been deleted.
    m.music = platform::Music(std::string(path.view()));
    if (!m.music.IsLoaded()) return;
    if (!std::isnan(loop) && loop != 0)
        StartLoop(m, ElapsedTime());
    else
        m.music.Play(false);
    m.volume = 1;
    platform::MusicSetVolume(1000);
}

void MusicStop() {
    MusicState& m = Sound().music;
    m.music = {};
    m.looping = false;
    m.loopEndTime = 0;
    m.volume = -1;
}

void MusicVolume(double volume) {
    MusicState& m = Sound().music;
    double v = std::isnan(volume) ? 0 : std::clamp(volume, 0.0, 1.0);
    if (v == m.volume) return;
    m.volume = v;
    if (m.music.IsLoaded()) platform::MusicSetVolume(static_cast<int>(std::lround(v * 1000)));
}

double MusicPlaying() {
    const MusicState& m = Sound().music;
    if (!m.music.IsLoaded()) return 0;
    if (m.looping) return 1;
    return platform::MusicActive() ? 1 : 0;
}

void MusicUpkeep() {
    MusicState& m = Sound().music;
    if (m.loopEndTime <= 0 || !m.music.IsLoaded()) return;
    double now = ElapsedTime();
    if (now < m.loopEndTime) return;
    m.loopEndTime = now + kShortestLoopMs;
    m.music.Play(false);
}

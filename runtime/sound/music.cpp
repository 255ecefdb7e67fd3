// Music: one piece at a time, optionally looped by the frame loop's upkeep.
#include "runtime/core/core.h"
#include "runtime/files/files.h"
#include "runtime/sound/sound.h"
#include "runtime/sound/sound_state.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kShortestLoopMs = 500;

// At least half a second, or -1 when the decoder cannot tell.
double LoopLength(const platform::Music& music) {
    double length = music.LengthMs();
    return length < 0 ? -1 : std::max(length, kShortestLoopMs);
}

void Restart(MusicState& m, double now) {
    m.lengthMs = LoopLength(m.music);
    m.loopEndTime = now + (m.lengthMs < 0 ? kShortestLoopMs : m.lengthMs);
    m.music.Play();
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
        Restart(m, ElapsedTime());
    else
        m.music.Play();
    m.volume = 1;
    platform::MusicSetVolume(1000);
}

void MusicStop() {
    MusicState& m = Sound().music;
    m.music = {};
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
    if (m.loopEndTime > 0) return 1;
    return platform::MusicActive() ? 1 : 0;
}

void MusicUpkeep() {
    MusicState& m = Sound().music;
    if (m.loopEndTime <= 0 || !m.music.IsLoaded()) return;
    double now = ElapsedTime();
    // Music of unknown length starts again once it has ended.
    if (m.lengthMs < 0 ? !platform::MusicActive() : now >= m.loopEndTime) Restart(m, now);
}

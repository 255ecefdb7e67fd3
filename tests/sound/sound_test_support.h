// What the sound tests share: WAV files built chunk by chunk, and the mixer opened on SDL's disk
// driver so that the mixed output can be read back and measured.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// ---- WAV files
std::string Chunk(const char* id, const std::string& body, bool pad = true);
// A 16-byte "fmt " body (more when extra is given).
std::string FmtBody(int tag, int channels, int rate, int blockAlign, int bits, const std::string& extra = "");
std::string Riff(const std::string& chunks);
// A plain PCM file: "fmt " then "data".
std::string PcmWav(int channels, int rate, int bits, const std::string& samples);
std::string Samples16(const std::vector<int16_t>& samples);
// Interleaved frames: a sine of the given frequency and amplitude, or a constant level.
std::vector<int16_t> Sine(size_t frames, int channels, int rate, double hz, double amplitude);
std::vector<int16_t> Constant(size_t frames, int channels, int16_t level);
std::string WriteTestFile(const std::string& name, const std::string& bytes);

// ---- Mixed output
// Mixed stereo frames read back from the disk driver.
struct Mixed {
    std::vector<int16_t> samples; // left, right, left, ...
    size_t Frames() const { return samples.size() / 2; }
    int16_t At(size_t frame, int side) const { return samples[frame * 2 + static_cast<size_t>(side)]; }
};

// A stretch of frames where something sounds.
struct Stretch {
    size_t first;
    size_t end;
};

// Opens the sound system on the disk driver. delayMs: the driver's pause per mixed buffer; -1 paces
// it at real time (where the order of plays against the output matters).
class DiskOutput {
  public:
    explicit DiskOutput(int delayMs);
    ~DiskOutput();
    // Closes the sound system and reads what was mixed; a dummy device takes its place.
    Mixed Close();
    // Waits until the driver has written at least this many more buffers.
    void WaitBuffers(int count) const;

  private:
    std::string path_;
    bool closed_ = false;
};

// Reopens the sound system on SDL's dummy driver.
void OpenDummySound();
// Waits (polling) until done() holds; false after ten seconds.
bool WaitFor(const std::function<bool()>& done);

// Stretches of sounding frames, joined across silences shorter than minGap frames.
std::vector<Stretch> Stretches(const Mixed& mixed, size_t minGap = 256);
double Rms(const Mixed& mixed, Stretch s, int side);
int Peak(const Mixed& mixed, Stretch s, int side);

// The ISAAC random generator: its state, the mixing and generation steps, RndSeed and Rnd.
#include "runtime/core/random_isaac.h"

#include "runtime/core/core.h"

namespace {

constexpr uint32_t kGoldenRatio = 0x9e3779b9u;

} // namespace

RandomState& RandomGenerator() {
    static RandomState* state = new RandomState;
    return *state;
}

void IsaacMix(IsaacWords& w) {
    auto& [a, b, c, d, e, f, g, h] = w;
    // clang-format off
    a ^= b << 11; d += a; b += c;
    b ^= c >> 2;  e += b; c += d;
    c ^= d << 8;  f += c; d += e;
    d ^= e >> 16; g += d; e += f;
    e ^= f << 10; h += e; f += g;
    f ^= g >> 4;  a += f; g += h;
    g ^= h << 8;  b += g; h += a;
    h ^= a >> 9;  c += h; a += b;
    // clang-format on
}

void IsaacPass(RandomState& state, IsaacWords& w, const std::array<uint32_t, 256>& source) {
    for (size_t group = 0; group < 256; group += 8) {
        for (size_t k = 0; k < 8; ++k) w[k] += source[group + k];
        IsaacMix(w);
        for (size_t k = 0; k < 8; ++k) state.memory[group + k] = w[k];
    }
}

void IsaacGenerate(RandomState& state) {
    auto& m = state.memory;
    uint32_t a = state.a;
    uint32_t b = state.b + ++state.c;
    for (size_t i = 0; i < 256; ++i) {
        uint32_t x = m[i];
        switch (i % 4) {
        case 0:
            a ^= a << 13;
            break;
        case 1:
            a ^= a >> 6;
            break;
        case 2:
            a ^= a << 2;
            break;
        case 3:
            a ^= a >> 16;
            break;
        }
        a += m[(i + 128) % 256];
        uint32_t y = m[(x >> 2) % 256] + a + b;
        m[i] = y;
        b = m[(y >> 10) % 256] + x;
        state.results[i] = b;
    }
    state.a = a;
    state.b = b;
}

// Unlike the published initialisation, a seed pass comes before the four mix steps. The results
// are cleared first so that a seed alone decides the sequence, however often it is seeded.
void RndSeed(uint32_t seed) {
    RandomState& state = RandomGenerator();
    state.a = state.b = state.c = 0;
    state.results.fill(0);
    IsaacWords w;
    w.fill(kGoldenRatio);
    for (size_t group = 0; group < 256; group += 8) {
        w[0] += seed;
        IsaacMix(w);
        for (size_t k = 0; k < 8; ++k) state.memory[group + k] = w[k];
    }
    for (int i = 0; i < 4; ++i) IsaacMix(w);
    IsaacPass(state, w, state.results);
    IsaacPass(state, w, state.memory);
    IsaacGenerate(state);
    state.resultsCounter = 256;
}

// A whole generation step for every number, of which only the first word is used.
int32_t Rnd(int32_t n) {
    if (n < 1) return 0;
    RandomState& state = RandomGenerator();
    IsaacGenerate(state);
    return static_cast<int32_t>(state.results[0] % (static_cast<uint32_t>(n) + 1u));
}

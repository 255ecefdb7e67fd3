// The state of the runtime's ISAAC random generator and its published steps (RndSeed and Rnd are in
// core.h).
#pragma once

#include <array>
#include <cstdint>

// All words wrap around at 32 bits.
struct RandomState {
    std::array<uint32_t, 256> results{};
    std::array<uint32_t, 256> memory{};
    uint32_t a = 0;
    uint32_t b = 0;
    uint32_t c = 0;
    // Set by seeding; Rnd does not consult it.
    uint32_t resultsCounter = 0;
};

RandomState& RandomGenerator();

using IsaacWords = std::array<uint32_t, 8>;
// The mixing step on the eight words a to h.
void IsaacMix(IsaacWords& w);
// One standard pass: for each group of eight, add the source's words to w, mix, store w into memory.
void IsaacPass(RandomState& state, IsaacWords& w, const std::array<uint32_t, 256>& source);
// One generation step: 256 new result words.
void IsaacGenerate(RandomState& state);

// Deriving the compact form from decoded frames: palette, coordinate pairs, per-axis quantisation
// and the nearest entry of the normal table.
#include "runtime/engine3d/kyd_model.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {

void BuildPalette(KydModel& model) {
    model.palette.clear();
    std::unordered_map<uint32_t, uint32_t> indexOf;
    for (KydFrame& frame : model.frames)
        for (KydVertex& v : frame.decoded) {
            auto [found, added] = indexOf.try_emplace(v.colourValue, static_cast<uint32_t>(model.palette.size()));
            if (added) model.palette.push_back(v.colourValue);
            v.paletteIndex = found->second;
        }
}

// Vertex i of every frame uses pair i, taken from frame 0. The stored v is negated so that the
// compact form, whose decoding negates it, loads back the v the text gave.
void BuildTexCoords(KydModel& model) {
    model.texU.clear();
    model.texV.clear();
    if (model.frames.empty()) return;
    for (const KydVertex& v : model.frames[0].decoded) {
        model.texU.push_back(v.u);
        model.texV.push_back(-v.v);
    }
}

// Quantised in double precision: no scale or origin of finite float coordinates overflows.
void Quantise(KydFrame& frame) {
    double low[3] = {0, 0, 0}, high[3] = {0, 0, 0};
    bool any = false;
    for (const KydVertex& v : frame.decoded) {
        if (IsKydMarker(v.colourValue)) continue;
        for (int k = 0; k < 3; ++k) {
            low[k] = any ? std::min(low[k], static_cast<double>(v.position[k])) : v.position[k];
            high[k] = any ? std::max(high[k], static_cast<double>(v.position[k])) : v.position[k];
        }
        any = true;
    }
    double scale[3], origin[3];
    for (int k = 0; k < 3; ++k) {
        scale[k] = (high[k] - low[k]) / 255.0;
        if (scale[k] == 0 || static_cast<float>(scale[k]) == 0) scale[k] = 1.0;
        origin[k] = -low[k] / scale[k];
        frame.scale[k] = static_cast<float>(scale[k]);
        frame.origin[k] = static_cast<float>(origin[k]);
    }
    frame.packed.resize(frame.decoded.size());
    KydPackedVertex previous{0, 0, 0, 0, 0};
    for (size_t i = 0; i < frame.decoded.size(); ++i) {
        const KydVertex& v = frame.decoded[i];
        KydPackedVertex& p = frame.packed[i];
        // Indexes past one byte only occur in objects that cannot be saved (over 256 colours).
        uint8_t colour = static_cast<uint8_t>(std::min<uint32_t>(v.paletteIndex, 255));
        if (IsKydMarker(v.colourValue)) {
            p = previous;
            p.colour = colour;
            continue;
        }
        uint8_t bytes[3];
        for (int k = 0; k < 3; ++k) {
            double q = std::floor(v.position[k] / scale[k] + origin[k] + 0.5);
            bytes[k] = static_cast<uint8_t>(std::clamp(q, 0.0, 255.0));
        }
        p = {bytes[0], bytes[1], bytes[2], KydNormalIndex(v.normal), colour};
        previous = p;
    }
}

} // namespace

uint8_t KydNormalIndex(const float normal[3]) {
    float n[3] = {normal[0], normal[1], normal[2]};
    float lengthSquared = n[0] * n[0] + n[1] * n[1] + n[2] * n[2];
    if (lengthSquared >= 1e-7f) {
        float length = std::sqrt(lengthSquared);
        for (float& c : n) c /= length;
    }
    float best = 10000.0f;
    uint8_t index = 0;
    for (int t = 0; t < 162; ++t) {
        const float* e = kKydNormals[t];
        float d = std::fabs(n[0] * (n[0] - e[0]) + n[1] * (n[1] - e[1]) + n[2] * (n[2] - e[2]));
        // Equal values: the later entry wins, as stored files were written.
        if (d <= best) {
            best = d;
            index = static_cast<uint8_t>(t);
            if (d == 0) break;
        }
    }
    return index;
}

void KydPack(KydModel& model) {
    BuildPalette(model);
    BuildTexCoords(model);
    for (KydFrame& frame : model.frames) Quantise(frame);
}

// The "KYDA" text form: tokens and comments, the checked counts and indexes, and the conversion into
// marker-delimited faces per frame.
#include "runtime/core/number_convert.h"
#include "runtime/engine3d/kyd_model.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

constexpr double kMaxTextVersion = 1.1;
constexpr double kNormalsVersion = 1.1;

class TokenReader {
  public:
    TokenReader(const uint8_t* bytes, size_t size) : at_(bytes), end_(bytes + size) {}

    // The next token; false at the end of the text.
    bool Next(std::string& token) {
        SkipBlanks();
        if (at_ == end_) return false;
        const uint8_t* start = at_;
        while (at_ != end_ && !IsBlank(*at_) && *at_ != '#') ++at_;
        token.assign(reinterpret_cast<const char*>(start), static_cast<size_t>(at_ - start));
        return true;
    }

    // A finite decimal number that fits a float.
    bool Number(double& value) {
        if (!Next(token_)) return false;
        char* end = nullptr;
        value = std::strtod(token_.c_str(), &end);
        return *end == '\0' && std::isfinite(value) && std::fabs(value) <= FLT_MAX;
    }

    // A count of items of tokensPerItem tokens each: a token takes at least one byte and a separator,
    // so a count the rest of the text cannot hold is refused before anything is sized by it.
    bool Count(size_t tokensPerItem, size_t& count) {
        double value;
        if (!Number(value)) return false;
        int32_t n = NumberToInt(value);
        if (n < 0) return false;
        count = static_cast<size_t>(n);
        return count == 0 || 2 * count * tokensPerItem <= Left() + 1;
    }

    size_t Left() {
        SkipBlanks();
        return static_cast<size_t>(end_ - at_);
    }

  private:
    static bool IsBlank(uint8_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    void SkipBlanks() {
        while (at_ != end_) {
            if (IsBlank(*at_)) {
                ++at_;
            } else if (*at_ == '#') {
                while (at_ != end_ && *at_ != '\n') ++at_;
            } else {
                break;
            }
        }
    }

    const uint8_t* at_;
    const uint8_t* end_;
    std::string token_;
};

struct TextCorner {
    size_t vertex, texCoord;
};

struct TextFace {
    float colour[3];
    uint32_t colourValue;
    std::vector<TextCorner> corners;
};

struct TextVertex {
    float position[3];
    float normal[3];
};

bool ReadFloats(TokenReader& in, float* target, int count) {
    for (int i = 0; i < count; ++i) {
        double value;
        if (!in.Number(value)) return false;
        target[i] = static_cast<float>(value);
    }
    return true;
}

// Objects written without normals are lit by the average of their faces' normals at each vertex
// (Newell's sum, so concave and slightly bent faces count too); a vertex no face uses keeps zero.
void ComputeNormals(std::vector<TextVertex>& vertices, const std::vector<TextFace>& faces) {
    // In double precision: no sum of finite float coordinates overflows.
    std::vector<std::array<double, 3>> sums(vertices.size(), {0, 0, 0});
    for (const TextFace& face : faces) {
        double n[3] = {0, 0, 0};
        size_t count = face.corners.size();
        for (size_t i = 0; i < count; ++i) {
            const float* a = vertices[face.corners[i].vertex].position;
            const float* b = vertices[face.corners[(i + 1) % count].vertex].position;
            for (int k = 0; k < 3; ++k) {
                int k1 = (k + 1) % 3, k2 = (k + 2) % 3;
                n[k] += (double(a[k1]) - b[k1]) * (double(a[k2]) + b[k2]);
            }
        }
        for (const TextCorner& corner : face.corners)
            for (int k = 0; k < 3; ++k) sums[corner.vertex][k] += n[k];
    }
    for (size_t i = 0; i < vertices.size(); ++i) {
        const std::array<double, 3>& n = sums[i];
        double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (length > 0 && std::isfinite(length))
            for (int k = 0; k < 3; ++k) vertices[i].normal[k] = static_cast<float>(n[k] / length);
    }
}

} // namespace

KydError KydReadText(KydModel& model, const uint8_t* bytes, size_t size) {
    TokenReader in(bytes, size);
    std::string keyword;
    double version;
    if (!in.Next(keyword) || keyword != "KYDA" || !in.Number(version) || version > kMaxTextVersion)
        return KydError::ReadError;
    bool hasNormals = version >= kNormalsVersion;

    size_t texCoordCount;
    if (!in.Count(2, texCoordCount)) return KydError::ReadError;
    std::vector<float> u(texCoordCount), v(texCoordCount);
    for (size_t i = 0; i < texCoordCount; ++i) {
        float pair[2];
        if (!ReadFloats(in, pair, 2)) return KydError::ReadError;
        u[i] = pair[0];
        v[i] = pair[1];
    }

    size_t faceCount;
    if (!in.Count(4, faceCount)) return KydError::ReadError;
    std::vector<TextFace> faces(faceCount);
    size_t verticesPerFrame = 0;
    for (TextFace& face : faces) {
        int32_t rgb[3];
        for (int32_t& c : rgb) {
            double value;
            if (!in.Number(value)) return KydError::ReadError;
            c = std::clamp(NumberToInt(value), 0, 255);
        }
        for (int k = 0; k < 3; ++k) face.colour[k] = static_cast<float>(rgb[k]) / 255.0f;
        face.colourValue = static_cast<uint32_t>(rgb[0] + rgb[1] * 256 + rgb[2] * 65536);
        size_t cornerCount;
        if (!in.Count(2, cornerCount)) return KydError::ReadError;
        face.corners.resize(cornerCount);
        for (TextCorner& corner : face.corners) {
            double vertex, texCoord;
            if (!in.Number(vertex) || !in.Number(texCoord)) return KydError::ReadError;
            int32_t vi = NumberToInt(vertex), ti = NumberToInt(texCoord);
            // The vertex index is checked against each frame below.
            if (vi < 0 || (texCoordCount > 0 && (ti < 0 || static_cast<size_t>(ti) >= texCoordCount)))
                return KydError::ReadError;
            corner = {static_cast<size_t>(vi), static_cast<size_t>(ti)};
        }
        verticesPerFrame += 1 + cornerCount;
    }

    size_t frameCount;
    if (!in.Count(1, frameCount)) return KydError::ReadError;
    if (verticesPerFrame > 0 && frameCount > kKydMaxTextVertices / verticesPerFrame) return KydError::ReadError;
    model.frames.resize(frameCount);
    std::vector<TextVertex> vertices;
    for (KydFrame& frame : model.frames) {
        size_t vertexCount;
        if (!in.Count(hasNormals ? 6 : 3, vertexCount)) return KydError::ReadError;
        vertices.assign(vertexCount, TextVertex{});
        for (TextVertex& vertex : vertices)
            if (!ReadFloats(in, vertex.position, 3) || (hasNormals && !ReadFloats(in, vertex.normal, 3)))
                return KydError::ReadError;
        for (const TextFace& face : faces)
            for (const TextCorner& corner : face.corners)
                if (corner.vertex >= vertexCount) return KydError::ReadError;
        if (!hasNormals) ComputeNormals(vertices, faces);
        frame.decoded.reserve(verticesPerFrame);
        for (const TextFace& face : faces) {
            frame.decoded.push_back(KydVertex{{0, 0, 0}, {0, 0, 0}, {1, 1, 1}, kKydMarker, 0, 0, 0});
            for (const TextCorner& corner : face.corners) {
                const TextVertex& from = vertices[corner.vertex];
                KydVertex to{};
                for (int k = 0; k < 3; ++k) {
                    to.position[k] = from.position[k];
                    to.normal[k] = from.normal[k];
                    to.colour[k] = face.colour[k];
                }
                to.colourValue = face.colourValue;
                if (texCoordCount > 0) {
                    to.u = u[corner.texCoord];
                    to.v = v[corner.texCoord];
                }
                frame.decoded.push_back(to);
            }
        }
    }
    KydPack(model);
    return KydError::None;
}

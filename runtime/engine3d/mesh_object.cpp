// MeshObject: a KYD frame's faces as one indexed triangle list, its bounding sphere, its textures,
// and drawing it from client arrays.
#include "runtime/engine3d/mesh_object.h"

#include "runtime/core/gl_extensions.h"
#include "runtime/gfx2d/gfx2d_state.h"

#include <GL/gl.h>
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>

namespace {

// Clipping ears costs up to the cube of a face's corners: past this many corner tests in one mesh
// (hostile files), the remaining faces are fanned.
constexpr size_t kEarTestBudget = 32'000'000;

using Point2 = std::array<float, 2>;

float Cross2(const Point2& o, const Point2& a, const Point2& b) {
    return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0]);
}

// The face's corners in its own plane: the axis its normal leans on most is dropped.
std::vector<Point2> Flatten(const MeshObject& mesh, uint32_t first, uint32_t count) {
    double n[3] = {0, 0, 0};
    for (uint32_t i = 0; i < count; ++i) {
        const float* a = mesh.vertices[first + i].position;
        const float* b = mesh.vertices[first + (i + 1) % count].position;
        for (int k = 0; k < 3; ++k) {
            int k1 = (k + 1) % 3, k2 = (k + 2) % 3;
            n[k] += (double(a[k1]) - b[k1]) * (double(a[k2]) + b[k2]);
        }
    }
    int drop = 2;
    if (std::fabs(n[0]) >= std::fabs(n[1]) && std::fabs(n[0]) >= std::fabs(n[2]))
        drop = 0;
    else if (std::fabs(n[1]) >= std::fabs(n[2]))
        drop = 1;
    int x = (drop + 1) % 3, y = (drop + 2) % 3;
    // Seen from the side the normal points to, so the face winds counter-clockwise.
    if (n[drop] < 0) std::swap(x, y);
    std::vector<Point2> points(count);
    for (uint32_t i = 0; i < count; ++i)
        points[i] = {mesh.vertices[first + i].position[x], mesh.vertices[first + i].position[y]};
    return points;
}

bool Inside(const Point2& p, const Point2& a, const Point2& b, const Point2& c) {
    return Cross2(a, b, p) >= 0 && Cross2(b, c, p) >= 0 && Cross2(c, a, p) >= 0;
}

bool Convex(const std::vector<Point2>& p) {
    size_t n = p.size();
    for (size_t i = 0; i < n; ++i)
        if (Cross2(p[i], p[(i + 1) % n], p[(i + 2) % n]) < 0) return false;
    return true;
}

// Ear clipping in the face's plane; what is left when no ear is found (a degenerate face) is fanned.
void TriangulateFace(MeshObject& mesh, uint32_t first, uint32_t count, size_t& budget) {
    if (count < 3) return;
    std::vector<uint32_t> left(count);
    for (uint32_t i = 0; i < count; ++i) left[i] = i;
    std::vector<Point2> p; // a triangle's stays empty, and no points are convex
    if (count > 3) p = Flatten(mesh, first, count);
    if (!Convex(p)) {
        size_t i = 0, sinceEar = 0;
        while (left.size() > 3 && sinceEar < left.size() && budget >= left.size()) {
            size_t n = left.size();
            budget -= n;
            uint32_t a = left[(i + n - 1) % n], b = left[i % n], c = left[(i + 1) % n];
            bool ear = Cross2(p[a], p[b], p[c]) > 0;
            for (size_t j = 0; ear && j < n; ++j) {
                uint32_t q = left[j];
                if (q != a && q != b && q != c && Inside(p[q], p[a], p[b], p[c])) ear = false;
            }
            if (ear) {
                mesh.triangles.insert(mesh.triangles.end(), {first + a, first + b, first + c});
                left.erase(left.begin() + static_cast<std::ptrdiff_t>(i % n));
                sinceEar = 0;
            } else {
                ++i;
                ++sinceEar;
            }
            i %= left.size();
        }
    }
    for (size_t i = 1; i + 1 < left.size(); ++i)
        mesh.triangles.insert(mesh.triangles.end(), {first + left[0], first + left[i], first + left[i + 1]});
}

// Faces repeat their corners, so edges are matched by position, compared as bits (minus zero as
// zero) so that damaged coordinates still sort. An edge shared by more than two triangles is paired
// with none; so is every edge of a mesh past kMaxPairedEdges, whose shadows then draw every side.
constexpr size_t kMaxPairedEdges = 3'000'000;

void FindNeighbours(MeshObject& mesh) {
    size_t count = mesh.triangles.size();
    mesh.neighbours.assign(count, -1);
    if (count > kMaxPairedEdges) return;
    struct Edge {
        std::array<uint32_t, 6> key;
        uint32_t index;
    };
    auto bits = [](float f) { return f == 0 ? 0u : std::bit_cast<uint32_t>(f); };
    std::vector<Edge> edges(count);
    for (size_t e = 0; e < count; ++e) {
        const float* p = mesh.vertices[mesh.triangles[e]].position;
        const float* q = mesh.vertices[mesh.triangles[e - e % 3 + (e + 1) % 3]].position;
        std::array<uint32_t, 3> a{bits(p[0]), bits(p[1]), bits(p[2])}, b{bits(q[0]), bits(q[1]), bits(q[2])};
        if (b < a) std::swap(a, b);
        edges[e] = {{a[0], a[1], a[2], b[0], b[1], b[2]}, static_cast<uint32_t>(e)};
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& x, const Edge& y) { return x.key < y.key; });
    for (size_t i = 0; i < count;) {
        size_t end = i + 1;
        while (end < count && edges[end].key == edges[i].key) ++end;
        if (end - i == 2) {
            mesh.neighbours[edges[i].index] = static_cast<int32_t>(edges[i + 1].index / 3);
            mesh.neighbours[edges[i + 1].index] = static_cast<int32_t>(edges[i].index / 3);
        }
        i = end;
    }
}

void BoundingSphere(MeshObject& mesh) {
    if (mesh.vertices.empty()) return;
    float low[3], high[3];
    for (int k = 0; k < 3; ++k) low[k] = high[k] = mesh.vertices[0].position[k];
    for (const MeshVertex& v : mesh.vertices)
        for (int k = 0; k < 3; ++k) {
            low[k] = std::min(low[k], v.position[k]);
            high[k] = std::max(high[k], v.position[k]);
        }
    for (int k = 0; k < 3; ++k) mesh.centre[k] = (low[k] + high[k]) / 2;
    float radiusSquared = 0;
    for (const MeshVertex& v : mesh.vertices) {
        float d[3] = {v.position[0] - mesh.centre[0], v.position[1] - mesh.centre[1], v.position[2] - mesh.centre[2]};
        radiusSquared = std::max(radiusSquared, d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    }
    mesh.radius = std::sqrt(radiusSquared);
}

} // namespace

void MeshBuild(MeshObject& mesh, const KydModel& model, const KydFrame& frame) {
    mesh.vertices.clear();
    mesh.triangles.clear();
    mesh.neighbours.clear();
    mesh.radius = 0;
    KydFrame decodedCopy;
    const std::vector<KydVertex>* decoded = &frame.decoded;
    if (decoded->size() != frame.packed.size() && !frame.packed.empty()) {
        decodedCopy = frame;
        KydDecodeFrame(model, decodedCopy);
        decoded = &decodedCopy.decoded;
    }
    uint32_t faceStart = 0;
    size_t budget = kEarTestBudget;
    for (const KydVertex& v : *decoded) {
        if (IsKydMarker(v.colourValue)) {
            TriangulateFace(mesh, faceStart, static_cast<uint32_t>(mesh.vertices.size()) - faceStart, budget);
            faceStart = static_cast<uint32_t>(mesh.vertices.size());
            continue;
        }
        mesh.vertices.push_back({{v.position[0], v.position[1], v.position[2]},
                                 {v.normal[0], v.normal[1], v.normal[2]},
                                 {v.colour[0], v.colour[1], v.colour[2]},
                                 v.u,
                                 v.v});
    }
    TriangulateFace(mesh, faceStart, static_cast<uint32_t>(mesh.vertices.size()) - faceStart, budget);
    FindNeighbours(mesh);
    BoundingSphere(mesh);
}

void MeshDrawArrays(const MeshObject& mesh, int textureUnits) {
    if (mesh.triangles.empty()) return;
    constexpr GLsizei stride = sizeof(MeshVertex);
    const MeshVertex* first = mesh.vertices.data();
    GlExtensions& ext = GlExt();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, stride, first->position);
    glNormalPointer(GL_FLOAT, stride, first->normal);
    glColorPointer(3, GL_FLOAT, stride, first->colour);
    // The units in use read the same coordinates; unused ones cost the drawing nothing.
    int units = ext.glClientActiveTextureARB ? textureUnits : std::min(textureUnits, 1);
    for (int unit = 0; unit < units; ++unit) {
        if (ext.glClientActiveTextureARB) ext.glClientActiveTextureARB(GL_TEXTURE0_ARB + static_cast<GLenum>(unit));
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, stride, &first->u);
    }
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(mesh.triangles.size()), GL_UNSIGNED_INT, mesh.triangles.data());
    for (int unit = units - 1; unit >= 0; --unit) {
        if (ext.glClientActiveTextureARB) ext.glClientActiveTextureARB(GL_TEXTURE0_ARB + static_cast<GLenum>(unit));
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

uint32_t MeshTextureName(const MeshTextureSource& source) {
    if (source.owned) return source.owned->mipTexture ? source.owned->mipTexture : source.owned->texture;
    const SpriteSlot* slot = source.sprite >= 0 ? SlotOf(source.sprite) : nullptr;
    if (!slot) return 0;
    return slot->mipTexture ? slot->mipTexture : slot->texture;
}

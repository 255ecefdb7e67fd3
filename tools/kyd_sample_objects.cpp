// Writes sample KYD objects into a folder: a cube and a sphere in the text form, the same two in the
// compact form, a floor, a checker texture and a collection file naming the cube and the sphere.
#include "runtime/engine3d/engine3d.h"
#include "runtime/gfx2d/image_writer.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Vertex {
    float x, y, z, nx, ny, nz;
};

struct Face {
    int r, g, b;
    std::vector<int> corners; // vertex index; texture index = corner number modulo 4
};

std::string TextForm(const std::vector<Vertex>& vertices, const std::vector<Face>& faces) {
    std::ostringstream out;
    out << "KYDA 1.1\n# texture coordinates\n4\n0 0\n1 0\n1 1\n0 1\n# faces: r g b, corners (vertex texture)\n"
        << faces.size() << "\n";
    for (const Face& face : faces) {
        out << face.r << " " << face.g << " " << face.b << " " << face.corners.size();
        for (size_t i = 0; i < face.corners.size(); ++i) out << "  " << face.corners[i] << " " << i % 4;
        out << "\n";
    }
    out << "# one frame: x y z nx ny nz\n1\n" << vertices.size() << "\n";
    for (const Vertex& v : vertices)
        out << v.x << " " << v.y << " " << v.z << " " << v.nx << " " << v.ny << " " << v.nz << "\n";
    return out.str();
}

// Side 2 about the origin; each side its own colour, corners counter-clockwise seen from outside.
std::string Cube() {
    static const int kAxes[6][3] = {{0, 0, 1}, {0, 0, -1}, {1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}};
    static const int kColours[6][3] = {{230, 60, 50},  {60, 200, 80},   {60, 90, 230},
                                       {240, 200, 40}, {240, 240, 240}, {200, 80, 220}};
    std::vector<Vertex> vertices;
    std::vector<Face> faces;
    for (int side = 0; side < 6; ++side) {
        const int* n = kAxes[side];
        // Two directions in the side's plane, u x v the outward normal (v = n x u).
        int u[3] = {n[0] != 0 ? 0 : 1, n[0] != 0 ? 1 : 0, 0}, v[3];
        v[0] = n[1] * u[2] - n[2] * u[1];
        v[1] = n[2] * u[0] - n[0] * u[2];
        v[2] = n[0] * u[1] - n[1] * u[0];
        Face face{kColours[side][0], kColours[side][1], kColours[side][2], {}};
        const int signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (const auto& s : signs) {
            face.corners.push_back(static_cast<int>(vertices.size()));
            Vertex vertex{};
            float* p = &vertex.x;
            for (int k = 0; k < 3; ++k) p[k] = static_cast<float>(n[k] + s[0] * u[k] + s[1] * v[k]);
            vertex.nx = static_cast<float>(n[0]);
            vertex.ny = static_cast<float>(n[1]);
            vertex.nz = static_cast<float>(n[2]);
            vertices.push_back(vertex);
        }
        faces.push_back(face);
    }
    return TextForm(vertices, faces);
}

// Radius 1, 16 bands by 24 segments, quads coloured by band from warm to cool.
std::string Sphere() {
    constexpr int kBands = 16, kSegments = 24;
    std::vector<Vertex> vertices;
    for (int b = 0; b <= kBands; ++b)
        for (int s = 0; s < kSegments; ++s) {
            double theta = std::numbers::pi * b / kBands, phi = 2 * std::numbers::pi * s / kSegments;
            auto x = static_cast<float>(std::sin(theta) * std::cos(phi));
            auto y = static_cast<float>(std::cos(theta));
            auto z = static_cast<float>(-std::sin(theta) * std::sin(phi));
            vertices.push_back({x, y, z, x, y, z});
        }
    std::vector<Face> faces;
    for (int b = 0; b < kBands; ++b)
        for (int s = 0; s < kSegments; ++s) {
            int next = (s + 1) % kSegments;
            faces.push_back(
                {255 - 10 * b,
                 120 + 5 * b,
                 60 + 12 * b,
                 {b * kSegments + s, (b + 1) * kSegments + s, (b + 1) * kSegments + next, b * kSegments + next}});
        }
    return TextForm(vertices, faces);
}

// 40 x 40 at y = 0 facing up, in 2-unit tiles so that per-vertex lights and fog vary across it.
std::string Floor() {
    constexpr int kTiles = 20;
    std::vector<Vertex> vertices;
    for (int z = 0; z <= kTiles; ++z)
        for (int x = 0; x <= kTiles; ++x)
            vertices.push_back({static_cast<float>(2 * x - kTiles), 0, static_cast<float>(2 * z - kTiles), 0, 1, 0});
    std::vector<Face> faces;
    for (int z = 0; z < kTiles; ++z)
        for (int x = 0; x < kTiles; ++x) {
            int a = z * (kTiles + 1) + x;
            faces.push_back({190, 190, 180, {a, a + kTiles + 1, a + kTiles + 2, a + 1}});
        }
    return TextForm(vertices, faces);
}

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

// 64 x 64, white and grey squares of 8 pixels.
bool WriteChecker(const std::string& path) {
    constexpr int kSide = 64;
    std::vector<uint8_t> bgr(kSide * kSide * 3);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            uint8_t level = ((x / 8 + y / 8) % 2) ? 255 : 150;
            for (int c = 0; c < 3; ++c) bgr[(static_cast<size_t>(y) * kSide + x) * 3 + c] = level;
        }
    return ImageWrite(path, BgrPicture{bgr.data(), kSide, kSide, kSide, 0});
}

bool Convert(const std::string& from, const std::string& to) {
    KydModel model;
    return ModelLoad(model, from.c_str(), true) && ModelSave(model, to.c_str());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kyd_sample_objects <folder>\n");
        return 2;
    }
    std::string folder = std::string(argv[1]) + "/";
    bool ok = WriteText(folder + "cube.kyd", Cube()) && WriteText(folder + "sphere.kyd", Sphere()) &&
              Convert(folder + "cube.kyd", folder + "cube_compact.kyd") &&
              Convert(folder + "sphere.kyd", folder + "sphere_compact.kyd") &&
              WriteText(folder + "floor.kyd", Floor()) && WriteChecker(folder + "checker.bmp") &&
              WriteText(folder + "objects.ini", "[textures]\r\ncount=1\r\n1=checker.bmp\r\n[objects]\r\ncount=2\r\n"
                                                "1=cube_compact.kyd\r\n1ta=1\r\n2=sphere_compact.kyd\r\n2ta=1\r\n");
    if (!ok) std::fprintf(stderr, "kyd_sample_objects: could not write the objects into %s\n", argv[1]);
    return ok ? 0 : 1;
}

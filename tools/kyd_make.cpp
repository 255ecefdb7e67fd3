// kyd_make INPUT OUTPUT.kyd [--text]: converts a model that Debian's import library reads (Wavefront
// OBJ with its materials, glTF 2.0 and the library's other formats) into a KYD object, compact or
// with --text the "KYDA" text form. Exit status 0 only when the object was written.
#include "runtime/engine3d/engine3d.h"

#include <algorithm>
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Vertex animation frames past this are dropped: a KYD object repeats every vertex per frame.
constexpr unsigned kMaxFrames = 256;

struct Corner {
    aiVector3D position, normal;
    float u = 0, v = 0;
    aiColor3D colour{1, 1, 1};
};

struct Face {
    std::vector<size_t> corners; // indexes into each frame's corner list
};

// The scene flattened into one object space: per frame the corners of every face in order.
struct Flattened {
    std::vector<std::vector<Corner>> frames;
    std::vector<Face> faces;
    std::string texture;
};

aiColor3D MaterialColour(const aiScene& scene, const aiMesh& mesh) {
    aiColor3D colour(1, 1, 1);
    if (mesh.mMaterialIndex < scene.mNumMaterials)
        scene.mMaterials[mesh.mMaterialIndex]->Get(AI_MATKEY_COLOR_DIFFUSE, colour);
    return colour;
}

// Frame f of a mesh: its base vertices for frame 0, else its animation mesh f - 1 when it has one.
const aiVector3D* FramePositions(const aiMesh& mesh, unsigned frame, const aiVector3D*& normals) {
    normals = mesh.mNormals;
    if (frame == 0 || frame > mesh.mNumAnimMeshes) return mesh.mVertices;
    const aiAnimMesh* anim = mesh.mAnimMeshes[frame - 1];
    if (!anim->mVertices || anim->mNumVertices != mesh.mNumVertices) return mesh.mVertices;
    if (anim->mNormals) normals = anim->mNormals;
    return anim->mVertices;
}

void AddNode(const aiScene& scene, const aiNode& node, const aiMatrix4x4& parent, unsigned frameCount, Flattened& out) {
    aiMatrix4x4 transform = parent * node.mTransformation;
    aiMatrix3x3 normalTransform = aiMatrix3x3(transform).Inverse().Transpose();
    for (unsigned m = 0; m < node.mNumMeshes; ++m) {
        if (node.mMeshes[m] >= scene.mNumMeshes) continue;
        const aiMesh& mesh = *scene.mMeshes[node.mMeshes[m]];
        aiColor3D material = MaterialColour(scene, mesh);
        size_t base = out.frames[0].size();
        for (unsigned f = 0; f < frameCount; ++f) {
            const aiVector3D* normals;
            const aiVector3D* positions = FramePositions(mesh, f, normals);
            for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
                Corner c;
                c.position = transform * positions[i];
                if (normals) c.normal = (normalTransform * normals[i]).NormalizeSafe();
                if (mesh.mTextureCoords[0]) c.u = mesh.mTextureCoords[0][i].x, c.v = mesh.mTextureCoords[0][i].y;
                c.colour = material;
                if (mesh.mColors[0]) {
                    const aiColor4D& vc = mesh.mColors[0][i];
                    c.colour = aiColor3D(material.r * vc.r, material.g * vc.g, material.b * vc.b);
                }
                out.frames[f].push_back(c);
            }
        }
        for (unsigned i = 0; i < mesh.mNumFaces; ++i) {
            const aiFace& face = mesh.mFaces[i];
            if (face.mNumIndices < 3) continue; // points and lines have no surface
            Face converted;
            for (unsigned k = 0; k < face.mNumIndices; ++k)
                if (face.mIndices[k] < mesh.mNumVertices) converted.corners.push_back(base + face.mIndices[k]);
            if (converted.corners.size() >= 3) out.faces.push_back(std::move(converted));
        }
        aiString path;
        if (out.texture.empty() && mesh.mMaterialIndex < scene.mNumMaterials &&
            scene.mMaterials[mesh.mMaterialIndex]->GetTexture(aiTextureType_DIFFUSE, 0, &path) == AI_SUCCESS)
            out.texture = path.C_Str();
    }
    for (unsigned c = 0; c < node.mNumChildren; ++c) AddNode(scene, *node.mChildren[c], transform, frameCount, out);
}

uint8_t Channel(float value) { return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255)); }

// A face takes its first corner's colour; colours are made coarser until the palette (with the face
// marker) fits in one byte.
std::vector<uint32_t> FaceColours(const Flattened& in) {
    std::vector<uint32_t> exact;
    for (const Face& face : in.faces) {
        const aiColor3D& c = in.frames[0][face.corners[0]].colour;
        exact.push_back(Channel(c.r) | Channel(c.g) << 8 | Channel(c.b) << 16);
    }
    for (int drop = 0;; ++drop) {
        uint32_t keep = (0xFFu << drop) & 0xFF;
        uint32_t mask = keep | keep << 8 | keep << 16;
        std::vector<uint32_t> colours;
        std::map<uint32_t, bool> distinct;
        for (uint32_t c : exact) {
            colours.push_back(c & mask);
            distinct[c & mask] = true;
        }
        if (distinct.size() < kKydMaxPalette) return colours;
    }
}

// The text form: one coordinate pair and one vertex per corner, normals given (version 1.1).
std::string TextForm(const Flattened& in) {
    std::ostringstream out;
    out.precision(9);
    const std::vector<Corner>& first = in.frames[0];
    out << "KYDA 1.1\n" << first.size() << "\n";
    for (const Corner& c : first) out << c.u << " " << c.v << "\n";
    std::vector<uint32_t> colours = FaceColours(in);
    out << in.faces.size() << "\n";
    for (size_t f = 0; f < in.faces.size(); ++f) {
        uint32_t c = colours[f];
        out << (c & 255) << " " << (c >> 8 & 255) << " " << (c >> 16 & 255) << " " << in.faces[f].corners.size();
        for (size_t corner : in.faces[f].corners) out << "  " << corner << " " << corner;
        out << "\n";
    }
    out << in.frames.size() << "\n";
    for (const std::vector<Corner>& frame : in.frames) {
        out << frame.size() << "\n";
        for (const Corner& c : frame)
            out << c.position.x << " " << c.position.y << " " << c.position.z << " " << c.normal.x << " " << c.normal.y
                << " " << c.normal.z << "\n";
    }
    return out.str();
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "kyd_make: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    bool text = argc == 4 && std::string(argv[3]) == "--text";
    if (argc != 3 && !text) {
        std::fprintf(stderr, "usage: kyd_make INPUT OUTPUT.kyd [--text]\n");
        return 2;
    }
    std::string input = argv[1], output = argv[2];
    Assimp::Importer importer;
    // Smooth normals only where the file has none; faces stay polygons (the renderer clips them).
    const aiScene* scene = importer.ReadFile(input, aiProcess_GenSmoothNormals | aiProcess_FindInvalidData |
                                                        aiProcess_ValidateDataStructure | aiProcess_FindDegenerates);
    if (!scene || !scene->mRootNode) return Fail("cannot read " + input + ": " + importer.GetErrorString());
    unsigned frameCount = 1;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m)
        frameCount = std::max(frameCount, std::min(scene->mMeshes[m]->mNumAnimMeshes + 1, kMaxFrames));
    Flattened flat;
    flat.frames.resize(frameCount);
    AddNode(*scene, *scene->mRootNode, aiMatrix4x4(), frameCount, flat);
    if (flat.faces.empty()) return Fail(input + " has no faces");

    // Through the KYD reader either way, so what is written is what the loader accepts.
    std::string form = TextForm(flat);
    KydModel model;
    if (KydRead(model, reinterpret_cast<const uint8_t*>(form.data()), form.size(), true) != KydError::None)
        return Fail(input + " is too large for a KYD object");
    if (text) {
        std::ofstream out(output, std::ios::binary);
        if (!(out << form) || !out.flush()) return Fail("cannot write " + output);
    } else if (!ModelSave(model, output.c_str())) {
        return Fail("cannot write " + output);
    }
    // Embedded images ("*0") have no file a collection could name.
    if (!flat.texture.empty() && flat.texture[0] != '*') std::printf("texture: %s\n", flat.texture.c_str());
    return 0;
}

// 3D engine: KYD objects, shader slots, the 3D frame (projection, camera, culling, fog, stencil
// shadows), lights, the object transform and mesh drawing. Angles in degrees; colours
// R + G*256 + B*65536. Draw 3D between ShowScreen calls: Scene3DBegin, CameraSet, LightSet, draws.
//
//   KYD objects  KydModel, ModelLoad ModelSave
//   Shaders      ShaderLoad ShaderUse ShaderSetFloat ShaderSetInt ShaderSetAttribute
//   3D frame     Scene3DBegin CameraUp CameraSet CullMode FogSet ShadowMode
//   Lights       LightSet
//   Transform    ObjectReset ObjectMove ObjectTurn ObjectScale ObjectPush ObjectPop
//   Meshes       MeshLoad MeshFromModel MeshTexture MeshLoadCollection MeshFree MeshDraw MeshDrawShadow MeshesDrawn
#pragma once

#include "rt_string.h"

#include <cstdint>
#include <vector>

// ---- KYD objects: one animated 3D object as the loader and writer hold it
struct KydPackedVertex {
    uint8_t x, y, z, normal, colour;
};

struct KydVertex {
    float position[3];
    float normal[3];
    float colour[3];      // r, g, b in 0..1
    uint32_t colourValue; // the palette value; 0xFFFFFFFC and above start a new face
    uint32_t paletteIndex;
    float u, v;
};

struct KydFrame {
    std::vector<KydPackedVertex> packed;
    float origin[3] = {0, 0, 0};
    float scale[3] = {1, 1, 1};
    std::vector<KydVertex> decoded;
};

struct KydModel {
    std::vector<KydFrame> frames;
    std::vector<uint32_t> palette;
    std::vector<float> texU;
    std::vector<float> texV; // as stored: decoding negates it
    bool loaded = false;
};

// Compact form by its magic, else the "KYDA" text form; decode builds the vertices to draw.
bool ModelLoad(KydModel& model, const RtString& file, bool decode);
// The compact form, through a temporary file: false (the old file intact) when it cannot be written.
bool ModelSave(const KydModel& model, const RtString& file);

// ---- Shader slots 0..254 (GLSL through the ARB shader objects)
// 1 on success (also when neither file exists: the slot stays empty), 0 on failure.
int32_t ShaderLoad(double slot, const RtString& vertexFile, const RtString& fragmentFile);
// 0..254 makes the slot current; anything else the fixed pipeline.
void ShaderUse(double slot);
void ShaderSetFloat(const RtString& name, double value);
void ShaderSetInt(const RtString& name, int32_t value);
void ShaderSetAttribute(const RtString& name, double value);

// ---- 3D frame
// Clears depth and enters 3D mode; fov <= 0 gives an orthographic box.
void Scene3DBegin(double nearPlane, double farPlane, double fieldOfView);
void CameraUp(double x, double y, double z);
void CameraSet(double eyeX, double eyeY, double eyeZ, double targetX, double targetY, double targetZ);
// 0 none; 1 clockwise front faces, -1 counter-clockwise; back faces culled.
void CullMode(int32_t mode);
// colour -1 switches fog off; mode 0 linear from start to end (both 0: near to far), else
// exponential with density start.
void FogSet(int32_t colour, int32_t mode, double start, double end);
// 1: shadow volumes drawn next mark the stencil; 0: the marked pixels are darkened to half.
void ShadowMode(int32_t on);

// ---- Lights
// number 0..7 (wraps): cutoff 0 off; all positions 0 a head light; cutoff 180 directional along the
// direction, above 90 a point light, else a spot light. Negative numbers set the shadow light.
void LightSet(int32_t number, int32_t colour, double x, double y, double z, double dx, double dy, double dz,
              double cutoff);

// ---- Object transform (of the next drawn mesh; reset by Scene3DBegin and CameraSet)
void ObjectReset();
void ObjectMove(double x, double y, double z);
// Degrees about the x, then y, then z axis.
void ObjectTurn(double pitch, double yaw, double roll);
void ObjectScale(double x, double y, double z);
void ObjectPush();
// An empty stack leaves the transform as it is.
void ObjectPop();

// ---- Meshes (numbers 0..65535)
// A KYD file's first frame as the mesh; 1 or 0.
int32_t MeshLoad(int32_t mesh, const RtString& file);
// A frame of a model as the mesh; 1 or 0 (no such frame, or no memory for it).
int32_t MeshFromModel(int32_t mesh, const KydModel& model, int32_t frame);
// Sprites' textures on units 0 and 1; -1 for none. The sprite's texture is looked up at each draw:
// once the sprite is freed the mesh draws untextured.
void MeshTexture(int32_t mesh, int32_t spriteA, int32_t spriteB);
// Loads a collection; its objects become meshes firstMesh.. with their textures, which live as long
// as a mesh uses them. The number loaded.
int32_t MeshLoadCollection(int32_t firstMesh, const RtString& file);
// Empties the mesh and lets go of its textures.
void MeshFree(int32_t mesh);
// Under the object transform; 0 when the mesh is empty or outside the view.
int32_t MeshDraw(int32_t mesh);
// In ShadowMode with the shadow light on: the mesh's shadow volume, its light-facing triangles
// extruded away from the light to just inside the far plane, counted where it lies behind what was
// drawn (so a camera inside a shadow sees it too); 0 when nothing was drawn.
int32_t MeshDrawShadow(int32_t mesh);
// Meshes drawn since the frame began.
int32_t MeshesDrawn();

// 3D speed on this machine, offscreen: ModelLoad of a 100 000-vertex object in both forms beside a
// plain read of the same bytes, the demo scene's frame time at 640 x 480 beside the same triangles
// in immediate mode, and lit, textured meshes drawn per second beside a plain GL loop drawing the
// same triangles.
#include "platform/file_bytes.h"
#include "platform/paths.h"
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/engine3d/vividoru3d.h"
#include "runtime/gfx2d/gfx2d.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// 200 x 100 quads: 20 000 faces of a marker and 4 corners, 100 000 vertices.
constexpr int kColumns = 201, kRows = 101;
constexpr int32_t kSphere = 1, kCube = 2;
constexpr int32_t kChecker = 1;

// A wavy grid of quads, one colour per row (the compact form holds at most 256), in the text form (version 1.1, with
// normals).
std::string GridText() {
    std::ostringstream out;
    out << "KYDA 1.1\n0\n" << (kColumns - 1) * (kRows - 1) << "\n";
    for (int y = 0; y + 1 < kRows; ++y)
        for (int x = 0; x + 1 < kColumns; ++x) {
            int v = y * kColumns + x;
            out << (y * 7) % 256 << " 100 90 4 " << v << " 0 " << v + 1 << " 0 " << v + 1 + kColumns << " 0 "
                << v + kColumns << " 0\n";
        }
    out << "1\n" << kColumns * kRows << "\n";
    for (int y = 0; y < kRows; ++y)
        for (int x = 0; x < kColumns; ++x)
            out << x * 0.1 << " " << y * 0.1 << " " << ((x * y) % 17) * 0.01 << " 0 0 1\n";
    return out.str();
}

struct Files {
    std::string text, compact;
    size_t textBytes = 0, compactBytes = 0;
};

const Files& ModelFiles() {
    static Files files = [] {
        Files f;
        f.text = platform::TempDir() + "bench-grid.kyd";
        f.compact = platform::TempDir() + "bench-grid-compact.kyd";
        std::string text = GridText();
        std::ofstream(f.text, std::ios::binary) << text;
        KydModel model;
        if (!ModelLoad(model, f.text.c_str(), true) || !ModelSave(model, f.compact.c_str())) std::abort();
        std::vector<uint8_t> bytes;
        platform::ReadFileBytes(f.compact, bytes, int64_t{1} << 30);
        f.textBytes = text.size();
        f.compactBytes = bytes.size();
        return f;
    }();
    return files;
}

void Load(benchmark::State& state, const std::string& path, size_t bytes, bool decode) {
    KydModel model;
    for (auto _ : state) {
        if (!ModelLoad(model, path.c_str(), decode)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(model.frames.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["vertices"] = static_cast<double>(model.frames.empty() ? 0 : model.frames[0].packed.size());
}

void BM_ModelLoadCompact(benchmark::State& state) {
    Load(state, ModelFiles().compact, ModelFiles().compactBytes, state.range(0) != 0);
}
void BM_ModelLoadText(benchmark::State& state) { Load(state, ModelFiles().text, ModelFiles().textBytes, true); }

// The peer: the same compact file's bytes read into memory, nothing parsed.
void BM_PlainReadCompact(benchmark::State& state) {
    std::vector<uint8_t> bytes;
    for (auto _ : state) {
        platform::ReadFileBytes(ModelFiles().compact, bytes, int64_t{1} << 30);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * ModelFiles().compactBytes));
}

void StartHeadless() {
    static bool started = false;
    if (started) return;
    started = true;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    AttachSubsystems();
    RuntimeInit(1, "engine3d bench");
    std::string folder = platform::TempDir();
    if (std::system(("\"" KYD_SAMPLES_PATH "\" " + folder).c_str()) != 0) std::abort();
    if (!MeshLoad(kSphere, (folder + "sphere_compact.kyd").c_str()) ||
        !MeshLoad(kCube, (folder + "cube_compact.kyd").c_str()) ||
        !SpriteLoad((folder + "checker.bmp").c_str(), kChecker))
        std::abort();
    MeshTexture(kCube, kChecker, -1);
}

// The demo's camera, fog and lights, with the object turned by angle degrees.
void BeginDemoScene(double angle) {
    SetViewport(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    Scene3DBegin(1, 20, 60);
    CameraSet(0, 0, 4, 0, 0, 0);
    FogSet(0x302018, 0, 3, 12);
    LightSet(0, 0x909090, 0, 0, 0, 0, 0, 0, 1);
    LightSet(1, 0x2080FF, 2, 3, 3, -2, -3, -3, 30);
    ObjectTurn(20, angle, 0);
}

// The demo's scene, drawn and finished.
void BM_DemoSceneFrame(benchmark::State& state) {
    StartHeadless();
    double angle = 0;
    for (auto _ : state) {
        BeginDemoScene(angle += 1);
        MeshDraw(kSphere);
        glFinish();
    }
}

// The peer: the sphere's triangles in immediate mode under the same state.
void BM_DemoSceneImmediate(benchmark::State& state) {
    StartHeadless();
    const MeshObject& sphere = Engine3D().meshes[kSphere];
    double angle = 0;
    for (auto _ : state) {
        BeginDemoScene(angle += 1);
        glLoadMatrixf(MultiplyMatrix(Engine3D().viewMatrix, Engine3D().objectTransform).data());
        glBegin(GL_TRIANGLES);
        for (uint32_t i : sphere.triangles) {
            const MeshVertex& v = sphere.vertices[i];
            glColor3fv(v.colour);
            glNormal3fv(v.normal);
            glVertex3fv(v.position);
        }
        glEnd();
        glFinish();
    }
}

constexpr int kCubesPerFrame = 1000;

// A head-lit frame of kCubesPerFrame small cubes in a grid, all inside the view; draw(i) draws one.
template <typename Draw>
void CubeFrames(benchmark::State& state, Draw draw) {
    StartHeadless();
    int64_t drawn = 0;
    for (auto _ : state) {
        SetViewport(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        Scene3DBegin(1, 100, 60);
        CameraSet(0, 0, 30, 0, 0, 0);
        LightSet(0, 0xFFFFFF, 0, 0, 0, 0, 0, 0, 1);
        for (int i = 0; i < kCubesPerFrame; ++i) {
            ObjectReset();
            ObjectMove(i % 40 - 20, i / 40 % 25 - 12, 0);
            ObjectScale(0.3, 0.3, 0.3);
            drawn += draw();
        }
        glFinish();
    }
    state.counters["meshes/s"] = benchmark::Counter(static_cast<double>(drawn), benchmark::Counter::kIsRate);
}

// Lit, textured cubes through MeshDraw.
void BM_MeshesDrawn(benchmark::State& state) {
    CubeFrames(state, [] { return MeshDraw(kCube); });
}

// The peer: the same triangles, texture and transforms from client arrays, nothing else done.
void BM_MeshesPlainGL(benchmark::State& state) {
    StartHeadless();
    const MeshObject& cube = Engine3D().meshes[kCube];
    GLuint texture = MeshTextureName(cube.textureA);
    CubeFrames(state, [&] {
        Vividoru3D& engine = Engine3D();
        glLoadMatrixf(MultiplyMatrix(engine.viewMatrix, engine.objectTransform).data());
        glBindTexture(GL_TEXTURE_2D, texture);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_NORMALIZE);
        constexpr GLsizei stride = sizeof(MeshVertex);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glVertexPointer(3, GL_FLOAT, stride, cube.vertices[0].position);
        glNormalPointer(GL_FLOAT, stride, cube.vertices[0].normal);
        glColorPointer(3, GL_FLOAT, stride, cube.vertices[0].colour);
        glTexCoordPointer(2, GL_FLOAT, stride, &cube.vertices[0].u);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(cube.triangles.size()), GL_UNSIGNED_INT,
                       cube.triangles.data());
        return 1;
    });
}

} // namespace

BENCHMARK(BM_ModelLoadCompact)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ModelLoadText)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainReadCompact)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DemoSceneFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DemoSceneImmediate)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MeshesDrawn)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_MeshesPlainGL)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK_MAIN();

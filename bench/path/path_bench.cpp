// FindPath against a plain binary-heap A* on random grids and on generated room and maze maps, with
// the bytes each call allocates and the nodes it expands.
#include "bench/path/octile_map.h"
#include "bench/path/reference_astar.h"
#include "runtime/path/path.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <vector>

// Every allocation goes through malloc or calloc (operator new included); the bench counts them
// while a measured call runs.
extern "C" void* __libc_malloc(size_t size);
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void* __libc_realloc(void* block, size_t size);

namespace {

struct AllocationCount {
    bool on = false;
    int64_t bytes = 0;
    int64_t blocks = 0;
    void Add(size_t size) {
        if (!on) return;
        bytes += int64_t(size);
        ++blocks;
    }
};
AllocationCount allocations;

} // namespace

extern "C" void* malloc(size_t size) noexcept {
    allocations.Add(size);
    return __libc_malloc(size);
}
extern "C" void* calloc(size_t count, size_t size) noexcept {
    allocations.Add(count * size);
    return __libc_calloc(count, size);
}
extern "C" void* realloc(void* block, size_t size) noexcept {
    allocations.Add(size);
    return __libc_realloc(block, size);
}

namespace {

struct Cell {
    int32_t x, y;
};
struct Scene {
    RtArray<double> grid;
    std::vector<std::pair<Cell, Cell>> pairs; // start and goal, all in one connected region
};

// 20 % blocked, the rest costing 1 to 10.
RtArray<double> RandomGrid(int32_t size) {
    std::mt19937 random(1234);
    RtArray<double> grid;
    Dim(grid, size, size);
    for (double& cell : grid) cell = random() % 5 == 0 ? 0 : double(1 + random() % 10);
    return grid;
}

// The map text written to a file and read back, as a map from elsewhere would be.
RtArray<double> MapFromFile(const std::string& text, const char* name) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / name;
    std::ofstream(file, std::ios::binary) << text;
    std::stringstream read;
    read << std::ifstream(file, std::ios::binary).rdbuf();
    std::filesystem::remove(file);
    RtArray<double> grid;
    if (!ReadOctileMap(read.str(), grid)) {
        std::fprintf(stderr, "%s: not an octile map\n", name);
        std::exit(1);
    }
    return grid;
}

// 100 start and goal pairs from the largest 4-connected region of walkable cells.
std::vector<std::pair<Cell, Cell>> PairsInLargestRegion(const RtArray<double>& grid) {
    const int32_t width = Bounds(grid, 0), height = Bounds(grid, 1);
    const double* cells = grid.begin();
    std::vector<int32_t> region(size_t(width) * height, -1), largest;
    for (int32_t seed = 0; seed < width * height; ++seed) {
        if (cells[seed] <= 0 || region[seed] >= 0) continue;
        std::vector<int32_t> members{seed};
        region[seed] = seed;
        for (size_t i = 0; i < members.size(); ++i) {
            const int32_t c = members[i], x = c % width, y = c / width;
            for (auto [nx, ny] : {Cell{x - 1, y}, Cell{x + 1, y}, Cell{x, y - 1}, Cell{x, y + 1}}) {
                const int32_t n = ny * width + nx;
                if (nx < 0 || nx >= width || ny < 0 || ny >= height || cells[n] <= 0 || region[n] >= 0) continue;
                region[n] = seed;
                members.push_back(n);
            }
        }
        if (members.size() > largest.size()) largest.swap(members);
    }
    std::mt19937 random(99);
    std::vector<std::pair<Cell, Cell>> pairs;
    while (pairs.size() < 100) {
        const int32_t a = largest[random() % largest.size()], b = largest[random() % largest.size()];
        if (a != b) pairs.push_back({{a % width, a / width}, {b % width, b / width}});
    }
    return pairs;
}

enum Map { kRandom256, kRandom1024, kRooms512, kMaze512, kMaps };

const Scene& SceneOf(Map map) {
    static std::unique_ptr<Scene> scenes[kMaps];
    if (!scenes[map]) {
        auto scene = std::make_unique<Scene>();
        switch (map) {
        case kRandom256:
            scene->grid = RandomGrid(256);
            break;
        case kRandom1024:
            scene->grid = RandomGrid(1024);
            break;
        case kRooms512:
            scene->grid = MapFromFile(RoomMapText(512, 7), "tmv_rooms512.map");
            break;
        default:
            scene->grid = MapFromFile(MazeMapText(512, 7), "tmv_maze512.map");
            break;
        }
        scene->pairs = PairsInLargestRegion(scene->grid);
        scenes[map] = std::move(scene);
    }
    return *scenes[map];
}

constexpr float kWeight = 0.5f;

// What FindPath does, with diagonal steps switched on through the planner's set-up.
PlannerParameters FindPathParameters(const Scene& scene, const std::pair<Cell, Cell>& pair, bool diagonal) {
    const int32_t width = Bounds(scene.grid, 0), height = Bounds(scene.grid, 1);
    int32_t bits = 8;
    while (bits < 24 && (int64_t(1) << bits) < int64_t(width) * height) bits += 2;
    return {pair.first.x, pair.first.y, pair.second.x, pair.second.y,     true, diagonal, 0, 0, bits,
            kWeight,      width,        height,        scene.grid.begin()};
}

double PlanOnce(const Scene& scene, const std::pair<Cell, Cell>& pair, bool diagonal, RtArray<double>& result) {
    if (!diagonal)
        return FindPath(scene.grid, result, kWeight, pair.first.x, pair.first.y, pair.second.x, pair.second.y);
    AStarPlanner planner;
    if (!planner.Setup(FindPathParameters(scene, pair, true))) return 0;
    planner.Begin();
    planner.Search();
    const int32_t count = planner.PathLength();
    Dim(result, count, 2);
    int32_t i = count;
    for (const Node* n = planner.PathHead(); n; n = n->parent, --i) {
        result(i - 1, 0) = n->x;
        result(i - 1, 1) = n->y;
    }
    planner.Release();
    return count;
}

void ReportAllocations(benchmark::State& state) {
    const double calls = double(state.iterations());
    state.counters["bytes/call"] = double(allocations.bytes) / calls;
    state.counters["allocs/call"] = double(allocations.blocks) / calls;
    allocations = {};
}

// Each iteration plans one of the 100 pairs; afterwards the planner runs the pairs again for its
// expanded-node count, its open list's length and its costs, which must match the reference's (4-neighbour moves only:
// with diagonals the heuristic overestimates and either search may settle on a dearer path).
void PlannerFindPath(benchmark::State& state, Map map, bool diagonal) {
    const Scene& scene = SceneOf(map);
    RtArray<double> result;
    size_t next = 0;
    allocations = {.on = true};
    for (auto _ : state)
        benchmark::DoNotOptimize(PlanOnce(scene, scene.pairs[next++ % scene.pairs.size()], diagonal, result));
    allocations.on = false;
    ReportAllocations(state);

    double expanded = 0, frontier = 0, mismatches = 0;
    for (const auto& pair : scene.pairs) {
        AStarPlanner planner;
        planner.Setup(FindPathParameters(scene, pair, diagonal));
        planner.Begin();
        planner.Search();
        expanded += planner.ClosedCount();
        frontier += planner.OpenCount();
        const ReferenceResult reference =
            ReferenceAStar(scene.grid, kWeight, diagonal, pair.first.x, pair.first.y, pair.second.x, pair.second.y);
        if (!diagonal && std::fabs(planner.PathCost() - reference.cost) > 1e-5 * reference.cost) ++mismatches;
        planner.Release();
    }
    state.counters["expanded/call"] = expanded / double(scene.pairs.size());
    // The open list's length when the goal is reached: what an insertion bisects and partly moves.
    state.counters["open_at_goal"] = frontier / double(scene.pairs.size());
    state.counters["cost_mismatches"] = mismatches;
}

void BinaryHeapAStar(benchmark::State& state, Map map, bool diagonal) {
    const Scene& scene = SceneOf(map);
    size_t next = 0;
    double expanded = 0;
    allocations = {.on = true};
    for (auto _ : state) {
        const auto& pair = scene.pairs[next++ % scene.pairs.size()];
        const ReferenceResult r =
            ReferenceAStar(scene.grid, kWeight, diagonal, pair.first.x, pair.first.y, pair.second.x, pair.second.y);
        expanded += double(r.expanded);
        benchmark::DoNotOptimize(r);
    }
    allocations.on = false;
    ReportAllocations(state);
    state.counters["expanded/call"] = expanded / double(state.iterations());
}

} // namespace

#define PATH_BENCH(map, diagonal)                                                                                      \
    BENCHMARK_CAPTURE(PlannerFindPath, map, map, diagonal)->Iterations(100)->Unit(benchmark::kMillisecond);            \
    BENCHMARK_CAPTURE(BinaryHeapAStar, map, map, diagonal)->Iterations(100)->Unit(benchmark::kMillisecond)

PATH_BENCH(kRandom256, false);
PATH_BENCH(kRandom1024, false);
PATH_BENCH(kRooms512, false);
PATH_BENCH(kMaze512, false);
BENCHMARK_CAPTURE(PlannerFindPath, kRooms512_diagonal, kRooms512, true)->Iterations(100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BinaryHeapAStar, kRooms512_diagonal, kRooms512, true)->Iterations(100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PlannerFindPath, kMaze512_diagonal, kMaze512, true)->Iterations(100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BinaryHeapAStar, kMaze512_diagonal, kMaze512, true)->Iterations(100)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

// Fuzzes the planner with any cell values (NaN, infinities, huge and tiny numbers), coordinates,
// sizes and weights: every search ends, and every path found steps between neighbours from start to
// goal over walkable cells.
#include "runtime/path/path.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Reader {
    const uint8_t* data;
    size_t size;
    template <typename T>
    T Next() {
        T value{};
        const size_t n = size < sizeof(T) ? size : sizeof(T);
        if (n > 0) std::memcpy(&value, data, n);
        data += n;
        size -= n;
        return value;
    }
};

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckPath(const Node* head, const PlannerParameters& p, bool diagonal) {
    if (!head) return;
    Check(head->x == p.goalX && head->y == p.goalY);
    int32_t cells = 1;
    const Node* n = head;
    for (; n->parent; n = n->parent) {
        Check(++cells <= p.width * p.height);
        const int32_t dx = std::abs(n->x - n->parent->x), dy = std::abs(n->y - n->parent->y);
        Check(dx <= 1 && dy <= 1 && dx + dy > 0 && (diagonal || dx + dy == 1));
        const double v = p.cells[n->y * p.width + n->x];
        Check(v > 0 && v < 0x1.ffffffp127 && float(v) > 0); // a positive finite float
    }
    Check(n->x == p.startX && n->y == p.startY);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader in{data, size};
    const int32_t width = 1 + in.Next<uint8_t>() % 16, height = 1 + in.Next<uint8_t>() % 16;
    PlannerParameters p;
    p.startX = in.Next<int8_t>() % 20, p.startY = in.Next<int8_t>() % 20;
    p.goalX = in.Next<int8_t>() % 20, p.goalY = in.Next<int8_t>() % 20;
    const uint8_t flags = in.Next<uint8_t>();
    p.diagonalCostSqrt2 = flags & 1;
    p.allowDiagonal = flags & 2;
    p.poolSize = in.Next<int8_t>();
    p.openCapacity = in.Next<int8_t>();
    p.hashBits = in.Next<int8_t>() % 13; // negative and odd counts too; 24 bits only slow the runs
    p.heuristicWeight = in.Next<float>();
    const double factor = in.Next<double>();
    p.width = width, p.height = height;
    RtArray<double> grid;
    Dim(grid, width, height);
    for (double& cell : grid) cell = in.size >= 8 ? in.Next<double>() : double(in.Next<int8_t>());
    p.cells = grid.begin();

    AStarPlanner planner;
    if (planner.Setup(p)) {
        planner.Begin();
        const bool finished = planner.Search();
        Check(finished || planner.PathLength() == 0);
        CheckPath(planner.PathHead(), p, p.allowDiagonal);
        planner.Release();
        Check(planner.OpenCount() == 0 && planner.ClosedCount() == 0);
    }

    RtArray<double> result;
    const double count = FindPath(grid, result, factor, p.startX, p.startY, p.goalX, p.goalY);
    Check(count == 0 || (Bounds(result, 0) == count && result(0, 0) == p.startX && result(-1, 1) == p.goalY));
    return 0;
}

// FindPath: one A* search over a grid array of the program.
#include "runtime/path/path.h"

#include "runtime/core/number_convert.h"

#include <algorithm>
#include <cmath>

namespace {

// Enough closed-set buckets for about one cell each: the smallest even bit count covering the grid,
// at least 8.
int32_t HashBitsFor(int64_t cells) {
    int32_t bits = 8;
    while (bits < 24 && (int64_t(1) << bits) < cells) bits += 2;
    return bits;
}

} // namespace

double FindPath(const RtArray<double>& grid, RtArray<double>& result, double heuristicFactor, double startX,
                double startY, double goalX, double goalY) {
    PlannerParameters parameters;
    parameters.startX = NumberToInt(startX);
    parameters.startY = NumberToInt(startY);
    parameters.goalX = NumberToInt(goalX);
    parameters.goalY = NumberToInt(goalY);
    parameters.diagonalCostSqrt2 = true;
    parameters.allowDiagonal = false;
    parameters.poolSize = 0;
    parameters.openCapacity = 0;
    parameters.width = Bounds(grid, 0);
    parameters.height = Bounds(grid, 1);
    parameters.hashBits = HashBitsFor(int64_t(parameters.width) * parameters.height);
    parameters.heuristicWeight = std::isnan(heuristicFactor) ? 0.0f : float(std::clamp(heuristicFactor, 0.0, 1.0));
    parameters.cells = grid.begin();

    AStarPlanner planner;
    if (!planner.Setup(parameters)) return 0;
    planner.Begin();
    planner.Search();
    const int32_t count = planner.PathLength();
    if (count == 0) {
        Dim(result, 0);
    } else {
        Dim(result, count, 2);
        int32_t i = count;
        for (const Node* n = planner.PathHead(); n; n = n->parent) {
            --i;
            result(i, 0) = n->x;
            result(i, 1) = n->y;
        }
    }
    planner.Release();
    return count;
}

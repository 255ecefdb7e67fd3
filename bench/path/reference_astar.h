// A plain A* with a binary heap, for comparison with the planner: the same normalised costs,
// Manhattan heuristic and weighting, cells re-opened when reached more cheaply.
#pragma once

#include "runtime/core/rt_array.h"

#include <cstdint>

struct ReferenceResult {
    float cost;       // -1 without a path
    int32_t length;   // cells on the path, start and goal included
    int64_t expanded; // nodes taken off the heap and expanded
};

ReferenceResult ReferenceAStar(const RtArray<double>& grid, float weight, bool diagonal, int32_t startX, int32_t startY,
                               int32_t goalX, int32_t goalY);

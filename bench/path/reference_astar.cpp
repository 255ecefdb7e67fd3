// The comparison A*: a binary heap with stale entries skipped on removal.
#include "bench/path/reference_astar.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <queue>
#include <vector>

namespace {

struct Entry {
    float f, g;
    int32_t cell;
    bool operator>(const Entry& other) const { return f > other.f; }
};

} // namespace

ReferenceResult ReferenceAStar(const RtArray<double>& grid, float weight, bool diagonal, int32_t startX, int32_t startY,
                               int32_t goalX, int32_t goalY) {
    const int32_t width = Bounds(grid, 0), height = Bounds(grid, 1);
    const size_t cells = size_t(width) * size_t(height);
    std::vector<float> costs(grid.begin(), grid.begin() + cells);
    float largest = 0;
    for (float c : costs) largest = std::max(largest, c);
    for (float& c : costs) c = c > 0 ? c / largest + 1.0f : -1.0f;

    std::vector<float> g(cells, std::numeric_limits<float>::infinity());
    std::vector<int32_t> parent(cells, -1);
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    const int32_t start = startY * width + startX, goal = goalY * width + goalX;
    g[start] = 0;
    open.push({0, 0, start});
    ReferenceResult result{-1, 0, 0};
    while (!open.empty()) {
        const Entry current = open.top();
        open.pop();
        if (current.g > g[current.cell]) continue;
        ++result.expanded;
        if (current.cell == goal) {
            result.cost = current.g;
            for (int32_t c = goal; c >= 0; c = parent[c]) ++result.length;
            break;
        }
        const int32_t x = current.cell % width, y = current.cell / width;
        for (int32_t dy = -1; dy <= 1; ++dy)
            for (int32_t dx = -1; dx <= 1; ++dx) {
                const bool diagonalStep = dx != 0 && dy != 0;
                if ((dx == 0 && dy == 0) || (diagonalStep && !diagonal)) continue;
                const int32_t nx = x + dx, ny = y + dy, next = ny * width + nx;
                if (nx < 0 || nx >= width || ny < 0 || ny >= height || costs[next] < 0) continue;
                const float stepG = current.g + costs[next] * (diagonalStep ? 1.4142137f : 1.0f);
                if (stepG >= g[next]) continue;
                g[next] = stepG;
                parent[next] = current.cell;
                const float h = float(std::abs(goalX - nx) + std::abs(goalY - ny));
                open.push({(h - stepG) * weight + stepG, stepG, next});
            }
    }
    return result;
}

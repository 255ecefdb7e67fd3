// The planner and FindPath against a Dijkstra of their own on random grids, the planner's limits, and
// FindPath's refusals and tie order on small grids.
#include "runtime/path/path.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <queue>
#include <random>
#include <tuple>
#include <vector>

namespace {

constexpr double kDiagonal = double(1.4142137f);

// The cheapest cost from start to every cell, entering a cell costing costs[cell] (< 0 blocked);
// infinity where unreachable.
std::vector<double> Dijkstra(const std::vector<double>& costs, int width, int start, bool diagonal) {
    std::vector<double> best(costs.size(), INFINITY);
    std::priority_queue<std::pair<double, int>, std::vector<std::pair<double, int>>, std::greater<>> queue;
    queue.push({best[start] = 0, start});
    while (!queue.empty()) {
        auto [g, cell] = queue.top();
        queue.pop();
        for (int dy = -1; dy <= 1 && g <= best[cell]; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                int x = cell % width + dx, y = cell / width + dy, next = y * width + x;
                if ((dx == 0 && dy == 0) || (!diagonal && dx != 0 && dy != 0)) continue;
                if (x < 0 || x >= width || next < 0 || next >= int(costs.size()) || costs[next] < 0) continue;
                double step = costs[next] * (dx != 0 && dy != 0 ? kDiagonal : 1.0);
                if (g + step < best[next]) queue.push({best[next] = g + step, next});
            }
    }
    return best;
}

RtArray<double> Array(int width, const std::vector<double>& cells) {
    RtArray<double> grid;
    Dim(grid, width, int32_t(cells.size()) / width);
    for (size_t i = 0; i < cells.size(); ++i) grid(int32_t(i) % width, int32_t(i) / width) = cells[i];
    return grid;
}

// FindPath's cells as y * width + x.
std::vector<int> Found(const RtArray<double>& grid, double factor, double x0, double y0, double x1, double y1) {
    RtArray<double> result;
    std::vector<int> cells(size_t(FindPath(grid, result, factor, x0, y0, x1, y1)), -1); // -1: a count too high
    for (int32_t i = 0; i < Bounds(result, 0) && i < int(cells.size()); ++i)
        cells[i] = int(result(i, 0) + result(i, 1) * Bounds(grid, 0));
    return cells;
}

} // namespace

// Blocked cells are 0, negative or not a finite float; the costs of the others are scaled into (1, 2].
TEST(Planner, AgreesWithDijkstraOnRandomGrids) {
    std::mt19937 random(2026);
    for (int round = 0; round < 200; ++round) {
        const int width = std::uniform_int_distribution(2, 40)(random), cells = width * (1 + int(random() % 40));
        const double blocked = std::uniform_real_distribution(0.0, 0.4)(random), equal = random() % 2 ? 3 : 0,
                     unwalkable[] = {0, -5, INFINITY, -INFINITY, NAN, 1e300, 0x1.ffffffp127}; // the last rounds to inf
        std::vector<double> values, costs;
        for (int i = 0; i < cells; ++i)
            values.push_back(std::uniform_real_distribution(0.0, 1.0)(random) < blocked ? unwalkable[random() % 7]
                             : equal > 0                                                ? equal
                                         : std::uniform_real_distribution(0.1, 50.0)(random));
        double largest = 0;
        auto walkable = [](double v) { return v > 0 && std::isfinite(float(v)); };
        for (double v : values) largest = walkable(v) ? std::max(largest, v) : largest;
        for (double v : values) costs.push_back(walkable(v) ? float(v) / float(largest) + 1.0 : -1);
        const int start = int(random() % cells), goal = (start + 1 + int(random() % (cells - 1))) % cells;
        for (bool diagonal : {false, true}) {
            const double optimum = Dijkstra(costs, width, start, diagonal)[goal];
            // Weights outside 0..1 are clamped; NaN counts as 0. The closed set's size must not matter.
            for (float weight : {-1.0f, 0.0f, 0.25f, 0.5f, 0.75f, 1.0f, 3.0f, NAN}) {
                SCOPED_TRACE(testing::Message() << "round " << round << " weight " << weight << " " << diagonal);
                AStarPlanner planner;
                ASSERT_TRUE(planner.Setup({start % width, start / width, goal % width, goal / width, true, diagonal, 0,
                                           0, int(random() % 12), weight, width, cells / width, values.data()}));
                planner.Begin();
                ASSERT_TRUE(planner.Search());
                ASSERT_EQ(planner.PathLength() > 0, std::isfinite(optimum));
                std::vector<int> path;
                double cost = 0;
                for (const Node* n = planner.PathHead(); n; n = n->parent) {
                    if (!path.empty()) { // steps to a neighbour, into walkable cells
                        const int dx = std::abs(n->x - path[0] % width), dy = std::abs(n->y - path[0] / width);
                        EXPECT_TRUE(std::max(dx, dy) == 1 && (diagonal || dx + dy == 1) && costs[path[0]] > 0);
                        cost += costs[path[0]] * (dx + dy == 2 ? kDiagonal : 1.0);
                    }
                    path.insert(path.begin(), n->y * width + n->x);
                }
                if (std::isfinite(optimum)) {
                    ASSERT_EQ(path.front() * cells + path.back(), start * cells + goal);
                    EXPECT_NEAR(cost, planner.PathCost(), 1e-5 * cost);
                    // Manhattan distance overestimates diagonal moves: bound while it weighs a third of the
                    // cost so far.
                    const bool unbound = weight > 0.75f || (diagonal && weight > 0.25f);
                    const double bound = unbound ? INFINITY : weight > 0.5f ? 3 : 1;
                    EXPECT_LE(cost, bound * optimum * (1 + 1e-5));
                }
                planner.Release();
                EXPECT_EQ(planner.OpenCount() + planner.ClosedCount(), 0);
                // FindPath is the same search on the grid array, 4-neighbour; positions are truncated.
                if (!diagonal) {
                    EXPECT_EQ(Found(Array(width, values), weight, start % width + 0.9, start / width, goal % width,
                                    goal / width + 0.5),
                              path);
                }
            }
        }
    }
}

TEST(Planner, EndsWithoutAPathWhenItsRoomRunsOut) {
    const std::vector<double> cells(100, 1.0);
    AStarPlanner planners[2]; // too small a pool, too short an open list
    ASSERT_TRUE(planners[0].Setup({0, 0, 9, 9, true, false, 4, 0, 8, 0.5f, 10, 10, cells.data()}));
    ASSERT_TRUE(planners[1].Setup({0, 0, 9, 9, true, false, 0, 2, 8, 0.5f, 10, 10, cells.data()}));
    // Twice each: Release must have given back every node the first search took.
    for (AStarPlanner* planner : {planners, planners + 1, planners, planners + 1}) {
        planner->Begin();
        EXPECT_FALSE(planner->Search());
        EXPECT_EQ(planner->PathLength() - planner->PathCost(), 1.0f);
        EXPECT_EQ(planner->SearchCount(), 1);
        planner->Release();
    }
    // The smallest pool that finds the path finds it again once released: every node came back.
    AStarPlanner planner;
    int pool = 4; // ends at 35, 16 of them open
    do {
        ASSERT_TRUE(planner.Setup({0, 0, 9, 9, true, false, ++pool, 0, 8, 1.0f, 10, 10, cells.data()}));
        planner.Begin();
    } while (!planner.Search());
    const int32_t length = planner.PathLength();
    planner.Release();
    planner.Begin();
    EXPECT_TRUE(planner.Search() && planner.PathLength() == length) << length;
    // Too many cells: refused before a cell is read.
    EXPECT_FALSE(AStarPlanner().Setup({0, 0, 1, 1, true, false, 0, 0, 8, 0.5f, 65536, 65536, nullptr}));
}

// Start or goal outside the grid, the same cell, not a number or no walkable cell: no path, and the
// result is left alone.
TEST(FindPath, RefusedRequestsAndTheTieOrder) {
    RtArray<double> row = Array(4, {-5, 1, 1, 0}), result = Array(1, {42});
    const std::tuple<RtArray<double>, double, double, double> cases[] = {
        {row, 1, 1, 0}, {row, -1, 1, 0},     {row, 1, 4, 0},
        {row, 1, 1, 1}, {row, NAN, 1e12, 0}, {Array(3, {0, -5, 0}), 0, 2, 0}};
    for (const auto& [grid, x0, x1, y1] : cases) {
        EXPECT_EQ(FindPath(grid, result, 0.5, x0, 0, x1, y1), 0) << x0 << " " << x1 << "," << y1;
        EXPECT_EQ(Bounds(result, 0) * 100 + result(0, 0), 142);
    }
    // The straight row is dearer than the detour below it, yet the greedy search takes it. Equal
    // priorities leave in the order they came.
    const RtArray<double> detour = Array(5, {1, 9, 9, 9, 1, 1, 1, 1, 1, 1}), square = Array(3, std::vector(9, 1.0));
    EXPECT_EQ(Found(detour, 1, 0, 0, 4, 0), (std::vector{0, 1, 2, 3, 4}));
    EXPECT_EQ(Found(square, 0.5, 0, 0, 2, 2), (std::vector{0, 1, 2, 5, 8}));
    EXPECT_EQ(Found(square, 0.5, 2, 2, 0, 0), (std::vector{8, 5, 2, 1, 0}));
    EXPECT_EQ(Found(Array(4, std::vector(12, 1.0)), 1.0, 0, 2, 3, 0), (std::vector{8, 4, 0, 1, 2, 3}));
}

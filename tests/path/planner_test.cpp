// The planner and FindPath against an independent Dijkstra on random grids, and the planner's limits.
#include "runtime/path/path.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <queue>
#include <random>
#include <vector>

namespace {

constexpr double kDiagonal = double(1.4142137f);

struct RandomGrid {
    int width, height;
    std::vector<double> cells;
    std::vector<double> costs; // what entering a cell costs; < 0 blocked
};

// Blocked cells are 0, negative or not a finite float; the costs of the others are scaled into (1, 2].
RandomGrid MakeGrid(std::mt19937& random) {
    RandomGrid grid;
    grid.width = std::uniform_int_distribution(2, 40)(random);
    grid.height = std::uniform_int_distribution(1, 40)(random);
    const double blocked = std::uniform_real_distribution(0.0, 0.4)(random);
    const bool equalCosts = random() % 2;
    const double unwalkable[] = {0, -5, INFINITY, -INFINITY, NAN, 1e300};
    double largest = 0;
    for (int i = 0; i < grid.width * grid.height; ++i) {
        double v = std::uniform_real_distribution(0.0, 1.0)(random) < blocked ? unwalkable[random() % 6]
                   : equalCosts                                               ? 3
                                : std::uniform_real_distribution(0.1, 50.0)(random);
        grid.cells.push_back(v);
        if (v > 0 && v < 1e300) largest = std::max(largest, v);
    }
    for (double v : grid.cells) grid.costs.push_back(v > 0 && v < 1e300 ? float(v) / float(largest) + 1.0 : -1);
    return grid;
}

// The cheapest cost from start to every cell; infinity where unreachable.
std::vector<double> Dijkstra(const RandomGrid& grid, int start, bool diagonal) {
    std::vector<double> best(grid.cells.size(), INFINITY);
    using Entry = std::pair<double, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    queue.push({best[start] = 0, start});
    while (!queue.empty()) {
        auto [g, cell] = queue.top();
        queue.pop();
        if (g > best[cell]) continue;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                int x = cell % grid.width + dx, y = cell / grid.width + dy, next = y * grid.width + x;
                if ((dx == 0 && dy == 0) || (!diagonal && dx != 0 && dy != 0)) continue;
                if (x < 0 || x >= grid.width || y < 0 || y >= grid.height || grid.costs[next] < 0) continue;
                double step = grid.costs[next] * (dx != 0 && dy != 0 ? kDiagonal : 1.0);
                if (g + step < best[next]) queue.push({best[next] = g + step, next});
            }
    }
    return best;
}

// Checks that the cells step to neighbours from start to goal through walkable cells; their cost.
double PathCost(const RandomGrid& grid, const std::vector<int>& cells, int start, int goal, bool diagonal) {
    EXPECT_EQ(cells.front(), start);
    EXPECT_EQ(cells.back(), goal);
    double cost = 0;
    for (size_t i = 1; i < cells.size(); ++i) {
        int dx = std::abs(cells[i] % grid.width - cells[i - 1] % grid.width);
        int dy = std::abs(cells[i] / grid.width - cells[i - 1] / grid.width);
        EXPECT_TRUE(dx <= 1 && dy <= 1 && dx + dy > 0 && (diagonal || dx + dy == 1));
        EXPECT_GT(grid.costs[cells[i]], 0);
        cost += grid.costs[cells[i]] * (dx + dy == 2 ? kDiagonal : 1.0);
    }
    return cost;
}

PlannerParameters Parameters(const RandomGrid& grid, int start, int goal, bool diagonal, float weight) {
    PlannerParameters p;
    p.startX = start % grid.width, p.startY = start / grid.width;
    p.goalX = goal % grid.width, p.goalY = goal / grid.width;
    p.diagonalCostSqrt2 = true, p.allowDiagonal = diagonal, p.heuristicWeight = weight;
    p.width = grid.width, p.height = grid.height, p.cells = grid.cells.data();
    return p;
}

} // namespace

TEST(Planner, AgreesWithDijkstraOnRandomGrids) {
    std::mt19937 random(2026);
    for (int round = 0; round < 200; ++round) {
        const RandomGrid grid = MakeGrid(random);
        const int cells = grid.width * grid.height;
        const int start = int(random() % cells);
        int goal = int(random() % (cells - 1));
        goal += goal >= start;
        for (bool diagonal : {false, true}) {
            const double optimum = Dijkstra(grid, start, diagonal)[goal];
            // Weights outside 0..1 are clamped; NaN counts as 0.
            for (float weight : {-1.0f, 0.0f, 0.25f, 0.5f, 0.75f, 1.0f, 3.0f, NAN}) {
                SCOPED_TRACE(testing::Message()
                             << "round " << round << " weight " << weight << " diagonal " << diagonal);
                AStarPlanner planner;
                if (!planner.Setup(Parameters(grid, start, goal, diagonal, weight))) {
                    ASSERT_FALSE(std::isfinite(optimum)); // only a grid without a walkable cell
                    continue;
                }
                planner.Begin();
                ASSERT_TRUE(planner.Search());
                ASSERT_EQ(planner.PathLength() > 0, std::isfinite(optimum));
                std::vector<int> path;
                for (const Node* n = planner.PathHead(); n; n = n->parent)
                    path.insert(path.begin(), n->y * grid.width + n->x);
                if (std::isfinite(optimum)) {
                    ASSERT_EQ(int(path.size()), planner.PathLength());
                    const double cost = PathCost(grid, path, start, goal, diagonal);
                    EXPECT_NEAR(cost, planner.PathCost(), 1e-5 * cost);
                    EXPECT_GE(cost, optimum * (1 - 1e-5));
                    // Manhattan distance overestimates diagonal moves: only 4-neighbour costs are bound.
                    const double bound = diagonal || weight > 0.75f ? INFINITY : weight > 0.5f ? 3 : 1;
                    EXPECT_LE(cost, bound * optimum * (1 + 1e-5));
                }
                planner.Release();
                EXPECT_EQ(planner.OpenCount() + planner.ClosedCount(), 0);
                if (diagonal) continue;
                // FindPath is the same search on the grid array, 4-neighbour.
                RtArray<double> array, result;
                Dim(array, grid.width, grid.height);
                for (int i = 0; i < cells; ++i) array(i % grid.width, i / grid.width) = grid.cells[i];
                ASSERT_EQ(FindPath(array, result, weight, start % grid.width + 0.9, start / grid.width,
                                   goal % grid.width, goal / grid.width + 0.5),
                          double(path.size()));
                ASSERT_EQ(Bounds(result, 0), int(path.size()));
                for (size_t i = 0; i < path.size(); ++i)
                    EXPECT_EQ(result(int(i), 0) + result(int(i), 1) * grid.width, path[i]);
            }
        }
    }
}

TEST(Planner, EndsWithoutAPathWhenItsRoomRunsOut) {
    const std::vector<double> cells(100, 1.0);
    for (auto [pool, open] : {std::pair{4, 0}, std::pair{0, 2}}) {
        AStarPlanner planner;
        ASSERT_TRUE(planner.Setup({0, 0, 9, 9, true, false, pool, open, 8, 0.5f, 10, 10, cells.data()}));
        // Twice: Release must have given back every node the first search took.
        for (int run = 0; run < 2; ++run) {
            planner.Begin();
            EXPECT_FALSE(planner.Search());
            EXPECT_EQ(planner.PathLength(), 0);
            EXPECT_EQ(planner.PathCost(), -1.0f);
            planner.Release();
        }
    }
    AStarPlanner huge; // too many cells: refused before a cell is read
    EXPECT_FALSE(huge.Setup({0, 0, 1, 1, true, false, 0, 0, 8, 0.5f, 65536, 65536, nullptr}));
}

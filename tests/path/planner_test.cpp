// The planner and FindPath against a Dijkstra of their own on random grids, the planner's limits, and
// FindPath's refusals and tie order on small grids.
#include "runtime/path/path.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <queue>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kDiagonal = double(1.4142137f);

struct Grid {
    int width, height;
    std::vector<double> cells;
    std::vector<double> costs; // what entering a cell costs; < 0 blocked
};

// Blocked cells are 0, negative or not a finite float; the costs of the others are scaled into (1, 2].
Grid RandomGrid(std::mt19937& random) {
    Grid grid{std::uniform_int_distribution(2, 40)(random), std::uniform_int_distribution(1, 40)(random), {}, {}};
    const double blocked = std::uniform_real_distribution(0.0, 0.4)(random),
                 unwalkable[] = {0, -5, INFINITY, -INFINITY, NAN, 1e300};
    const bool equalCosts = random() % 2;
    for (int i = 0; i < grid.width * grid.height; ++i)
        grid.cells.push_back(std::uniform_real_distribution(0.0, 1.0)(random) < blocked ? unwalkable[random() % 6]
                             : equalCosts                                               ? 3
                                          : std::uniform_real_distribution(0.1, 50.0)(random));
    double largest = 0;
    for (double v : grid.cells) largest = v > 0 && v < 1e300 ? std::max(largest, v) : largest;
    for (double v : grid.cells) grid.costs.push_back(v > 0 && v < 1e300 ? float(v) / float(largest) + 1.0 : -1);
    return grid;
}

// The cheapest cost from start to every cell; infinity where unreachable.
std::vector<double> Dijkstra(const Grid& grid, int start, bool diagonal) {
    std::vector<double> best(grid.cells.size(), INFINITY);
    using Entry = std::pair<double, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    queue.push({best[start] = 0, start});
    while (!queue.empty()) {
        auto [g, cell] = queue.top();
        queue.pop();
        for (int dy = -1; dy <= 1 && g <= best[cell]; ++dy)
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
double PathCost(const Grid& grid, const std::vector<int>& cells, int start, int goal, bool diagonal) {
    EXPECT_TRUE(cells.front() == start && cells.back() == goal);
    double cost = 0;
    for (size_t i = 1; i < cells.size(); ++i) {
        int dx = std::abs(cells[i] % grid.width - cells[i - 1] % grid.width);
        int dy = std::abs(cells[i] / grid.width - cells[i - 1] / grid.width);
        EXPECT_TRUE(dx <= 1 && dy <= 1 && dx + dy > 0 && (diagonal || dx + dy == 1) && grid.costs[cells[i]] > 0);
        cost += grid.costs[cells[i]] * (dx + dy == 2 ? kDiagonal : 1.0);
    }
    return cost;
}

// Indexed grid(x, y): rows are y, characters x; a digit is that cost, '#' 0 and 'n' -5 (both blocked).
RtArray<double> GridArray(const std::vector<std::string>& rows) {
    RtArray<double> grid;
    Dim(grid, int32_t(rows[0].size()), int32_t(rows.size()));
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
            grid(int32_t(x), int32_t(y)) = rows[y][x] == '#' ? 0 : rows[y][x] == 'n' ? -5 : rows[y][x] - '0';
    return grid;
}

// FindPath's cells as "x,y" steps.
std::string FoundPath(const RtArray<double>& grid, double factor, double x0, double y0, double x1, double y1) {
    RtArray<double> result;
    const double count = FindPath(grid, result, factor, x0, y0, x1, y1);
    std::string cells;
    for (int32_t i = 0; i < Bounds(result, 0); ++i)
        cells += std::to_string(int(result(i, 0))) + "," + std::to_string(int(result(i, 1))) + " ";
    EXPECT_EQ(count, double(Bounds(result, 0)));
    return cells;
}

} // namespace

TEST(Planner, AgreesWithDijkstraOnRandomGrids) {
    std::mt19937 random(2026);
    for (int round = 0; round < 200; ++round) {
        const Grid grid = RandomGrid(random);
        const int cells = grid.width * grid.height, start = int(random() % cells);
        const int goal = (start + 1 + int(random() % (cells - 1))) % cells;
        for (bool diagonal : {false, true}) {
            const double optimum = Dijkstra(grid, start, diagonal)[goal];
            // Weights outside 0..1 are clamped; NaN counts as 0. The closed set's size must not matter.
            for (float weight : {-1.0f, 0.0f, 0.25f, 0.5f, 0.75f, 1.0f, 3.0f, NAN}) {
                SCOPED_TRACE(testing::Message()
                             << "round " << round << " weight " << weight << " diagonal " << diagonal);
                AStarPlanner planner;
                ASSERT_TRUE(planner.Setup({start % grid.width, start / grid.width, goal % grid.width, goal / grid.width,
                                           true, diagonal, 0, 0, int(random() % 12), weight, grid.width, grid.height,
                                           grid.cells.data()}));
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
                // FindPath is the same search on the grid array, 4-neighbour; positions are truncated.
                RtArray<double> array, result;
                Dim(array, grid.width, grid.height);
                for (int i = 0; i < cells; ++i) array(i % grid.width, i / grid.width) = grid.cells[i];
                ASSERT_EQ(FindPath(array, result, weight, start % grid.width + 0.9, start / grid.width,
                                   goal % grid.width, goal / grid.width + 0.5),
                          double(path.size()));
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

// Start or goal outside the grid, the same cell, not a number, no walkable cell, or a grid of one dimension.
TEST(FindPath, RefusedRequestsLeaveTheResultAlone) {
    const double cases[][4] = {{1, 0, 1, 0}, {-1, 0, 1, 0}, {1, 0, 4, 0}, {1, 0, 1, 1}, {NAN, 0, 1e12, 0}};
    RtArray<double> line, result;
    for (auto [x0, y0, x1, y1] : cases) {
        Dim(result, 1);
        result(0) = 42;
        EXPECT_EQ(FindPath(GridArray({"n11#"}), result, 0.5, x0, y0, x1, y1), 0) << x0 << "," << y0 << " " << x1;
        EXPECT_EQ(Bounds(result, 0) * 100 + result(0), 142);
    }
    EXPECT_EQ(FindPath(GridArray({"0n#"}), result, 0.5, 0, 0, 2, 0), 0);
    Dim(line, 5);
    line(0) = line(1) = 1;
    EXPECT_EQ(FindPath(line, result, 0.5, 0, 0, 1, 0), 0); // one dimension: no rows
    EXPECT_EQ(Bounds(result, 0) * 100 + result(0), 142);
}

// The straight row is dearer than the detour below it: only the greedy search takes it. Equal
// priorities leave in the order they came.
TEST(FindPath, TheFactorTradesCostForSpeedAndTiesKeepTheirOrder) {
    const RtArray<double> detour = GridArray({"19991", "11111"}), square = GridArray({"111", "111", "111"});
    EXPECT_EQ(FoundPath(detour, 0, 0, 0, 4, 0), "0,0 0,1 1,1 2,1 3,1 4,1 4,0 ");
    EXPECT_EQ(FoundPath(detour, 1, 0, 0, 4, 0), "0,0 1,0 2,0 3,0 4,0 ");
    EXPECT_EQ(FoundPath(detour, 7, 0, 0, 4, 0), "0,0 1,0 2,0 3,0 4,0 ");
    EXPECT_EQ(FoundPath(square, 0.5, 0, 0, 2, 2), "0,0 1,0 2,0 2,1 2,2 ");
    EXPECT_EQ(FoundPath(square, 0.5, 2, 2, 0, 0), "2,2 2,1 2,0 1,0 0,0 ");
    EXPECT_EQ(FoundPath(GridArray({"1111", "1111", "1111"}), 1.0, 0, 2, 3, 0), "0,2 0,1 0,0 1,0 2,0 3,0 ");
}

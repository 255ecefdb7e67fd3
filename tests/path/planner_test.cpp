// The planner against an independent Dijkstra on random grids, its limits, and its containers.
#include "runtime/path/path.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <queue>
#include <random>
#include <vector>

namespace {

struct RandomGrid {
    int width, height;
    std::vector<double> cells;
    std::vector<float> costs; // as the planner normalises them; < 0 blocked
};

RandomGrid MakeGrid(std::mt19937& random) {
    RandomGrid grid;
    grid.width = std::uniform_int_distribution(2, 40)(random);
    grid.height = std::uniform_int_distribution(1, 40)(random);
    const double blocked = std::uniform_real_distribution(0.0, 0.4)(random);
    const bool equalCosts = random() % 2;
    float largest = 0;
    for (int i = 0; i < grid.width * grid.height; ++i) {
        double v = std::uniform_real_distribution(0.0, 1.0)(random) < blocked ? 0
                   : equalCosts                                               ? 3
                                : std::uniform_real_distribution(0.1, 50.0)(random);
        grid.cells.push_back(v);
        largest = std::max(largest, float(v));
    }
    for (double v : grid.cells) grid.costs.push_back(v > 0 ? float(v) / largest + 1.0f : -1.0f);
    return grid;
}

// The cheapest cost from start to every cell in double precision; infinity where unreachable.
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
                if ((dx == 0) == (dy == 0) && !(diagonal && dx != 0)) continue;
                if (x < 0 || x >= grid.width || y < 0 || y >= grid.height || grid.costs[next] < 0) continue;
                double step = grid.costs[next] * (dx != 0 && dy != 0 ? double(1.4142137f) : 1.0);
                if (g + step < best[next]) queue.push({best[next] = g + step, next});
            }
    }
    return best;
}

// Steps to neighbours from start to goal through walkable cells; returns the cost the cells add up to.
double CheckedPathCost(const RandomGrid& grid, const Planner& planner, int start, int goal, bool diagonal) {
    std::vector<int> cells;
    for (const Node* n = planner.PathHead(); n; n = n->parent) cells.insert(cells.begin(), n->y * grid.width + n->x);
    EXPECT_EQ(int(cells.size()), planner.PathLength());
    EXPECT_EQ(cells.front(), start);
    EXPECT_EQ(cells.back(), goal);
    double cost = 0;
    for (size_t i = 1; i < cells.size(); ++i) {
        int dx = std::abs(cells[i] % grid.width - cells[i - 1] % grid.width);
        int dy = std::abs(cells[i] / grid.width - cells[i - 1] / grid.width);
        EXPECT_TRUE(dx <= 1 && dy <= 1 && dx + dy > 0 && (diagonal || dx + dy == 1));
        EXPECT_GT(grid.costs[cells[i]], 0);
        cost += grid.costs[cells[i]] * (dx + dy == 2 ? double(1.4142137f) : 1.0);
    }
    EXPECT_NEAR(cost, planner.PathCost(), 1e-5 * cost);
    return cost;
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
            for (float weight : {0.0f, 0.25f, 0.5f, 0.75f, 1.0f}) {
                PlannerParameters p{start % grid.width,
                                    start / grid.width,
                                    goal % grid.width,
                                    goal / grid.width,
                                    true,
                                    diagonal,
                                    0,
                                    0,
                                    8,
                                    weight,
                                    grid.width,
                                    grid.height,
                                    grid.cells.data()};
                AStarPlanner planner;
                ASSERT_TRUE(planner.Setup(p));
                planner.Begin();
                ASSERT_TRUE(planner.Search());
                SCOPED_TRACE(testing::Message()
                             << "round " << round << " weight " << weight << " diagonal " << diagonal);
                ASSERT_EQ(planner.PathLength() > 0, std::isfinite(optimum));
                if (!std::isfinite(optimum)) continue;
                const double cost = CheckedPathCost(grid, planner, start, goal, diagonal);
                EXPECT_GE(cost, optimum * (1 - 1e-5));
                // The Manhattan distance overestimates diagonal moves, so only 4-neighbour costs are bound.
                if (!diagonal && weight <= 0.5f) {
                    EXPECT_NEAR(cost, optimum, 1e-5 * optimum);
                }
                if (!diagonal && weight == 0.75f) {
                    EXPECT_LE(cost, 3 * optimum * (1 + 1e-5));
                }
                planner.Release();
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

TEST(FixedDeque, KeepsOrderAcrossTheRingsEnd) {
    FixedDeque<int> deque;
    ASSERT_TRUE(deque.Reserve(7));
    std::vector<int> model;
    std::mt19937 random(7);
    for (int step = 0; step < 5000; ++step) {
        const int size = int(model.size()), at = int(random() % (size + 1));
        if (random() % 2) {
            EXPECT_EQ(deque.Insert(at, step), size < 7);
            if (size < 7) model.insert(model.begin() + at, step);
        } else if (size > 0) {
            deque.Remove(at % size);
            model.erase(model.begin() + at % size);
        }
        ASSERT_EQ(deque.Size(), int(model.size()));
        for (int i = 0; i < deque.Size(); ++i) ASSERT_EQ(deque.At(i), model[i]) << "step " << step;
    }
}

TEST(NodeHashTable, BucketsBitsAndChains) {
    NodeHashTable table;
    for (auto [asked, bits] : {std::pair{25, 24}, {7, 6}, {-3, 0}, {8, 8}}) {
        ASSERT_TRUE(table.SetBits(asked));
        EXPECT_EQ(table.Bits(), bits);
    }
    EXPECT_EQ(table.Bucket(17, 33), 17u);
    NodeFactory factory;
    ASSERT_TRUE(factory.Reserve(2));
    Node* a = factory.Take();
    Node* b = factory.Take();
    *a = {nullptr, 1, 2, 0, 0, nullptr};
    *b = {nullptr, 17, 18, 0, 0, nullptr}; // the same bucket as a
    EXPECT_TRUE(table.Insert(a));
    EXPECT_TRUE(table.Insert(b));
    EXPECT_FALSE(table.Insert(a));
    EXPECT_EQ(table.Count(), 2);
    EXPECT_EQ(table.Find(1, 2), a);
    table.UnlinkFound();
    EXPECT_EQ(table.Find(1, 2), nullptr);
    EXPECT_EQ(table.Find(17, 18), b);
    EXPECT_EQ(factory.Take(), nullptr);
    table.Clear(factory);
    EXPECT_EQ(table.Count(), 0);
    EXPECT_EQ(factory.Take(), b); // the index moved back one step per node
}

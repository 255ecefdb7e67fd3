// FindPath: the path and result array for each kind of grid, the factor's clamp, cells that are not
// numbers, and the order equal priorities leave the open list in.
#include "runtime/path/path.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

// A digit is that cost; '#' is 0 and 'n' is -5 (both blocked); 'i' +inf, 'q' NaN, 'e' 1e300, 'm' -inf.
double CellCost(char c) {
    const std::pair<char, double> special[] = {{'#', 0},   {'n', -5},    {'i', INFINITY},
                                               {'q', NAN}, {'e', 1e300}, {'m', -INFINITY}};
    for (auto [mark, value] : special)
        if (c == mark) return value;
    return c - '0';
}

// Indexed grid(x, y): rows are y, characters x.
RtArray<double> Grid(const std::vector<std::string>& rows) {
    RtArray<double> grid;
    Dim(grid, int32_t(rows[0].size()), int32_t(rows.size()));
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x) grid(int32_t(x), int32_t(y)) = CellCost(rows[y][x]);
    return grid;
}

using Cells = std::vector<std::pair<int, int>>;

Cells ResultCells(RtArray<double>& result) {
    Cells cells;
    for (int32_t i = 0; i < Bounds(result, 0); ++i) cells.emplace_back(int(result(i, 0)), int(result(i, 1)));
    return cells;
}

// Plans on the grid as FindPath does, for the counts FindPath does not return.
AStarPlanner& Planned(AStarPlanner& planner, const RtArray<double>& grid, float weight, int x0, int y0, int x1,
                      int y1) {
    PlannerParameters p{x0, y0, x1, y1, true, false, 0, 0, 8, weight, Bounds(grid, 0), Bounds(grid, 1), grid.begin()};
    EXPECT_TRUE(planner.Setup(p));
    planner.Begin();
    EXPECT_FALSE(planner.Idle());
    EXPECT_TRUE(planner.Search());
    EXPECT_TRUE(planner.Idle());
    EXPECT_EQ(planner.SearchCount(), 1);
    return planner;
}

} // namespace

TEST(FindPath, GridsGiveTheirPathOrAnEmptyResult) {
    struct Case {
        std::vector<std::string> rows;
        double x0, y0, x1, y1;
        Cells path;
    };
    const Case cases[] = {
        {{"111"}, 0, 0, 2, 0, {{0, 0}, {1, 0}, {2, 0}}},
        {{"1#1", "1#1", "1#1"}, 0, 0, 2, 0, {}},
        {{"1n1", "1n1"}, 0, 1, 2, 1, {}},
        {{"1#", "##"}, 0, 0, 1, 1, {}},                       // only the start walkable
        {{"11", "11"}, 0, 0, 1, 1, {{0, 0}, {1, 0}, {1, 1}}}, // no diagonal steps
        {{"#11"}, 0, 0, 2, 0, {{0, 0}, {1, 0}, {2, 0}}},      // a blocked start is left anyway
        {{"11#"}, 0, 0, 2, 0, {}},                            // a blocked goal is never entered
        {{"1i1", "1q1", "111"}, 0, 0, 2, 0, {{0, 0}, {0, 1}, {0, 2}, {1, 2}, {2, 2}, {2, 1}, {2, 0}}},
        {{"1e1", "1m1", "111"}, 0, 0, 2, 0, {{0, 0}, {0, 1}, {0, 2}, {1, 2}, {2, 2}, {2, 1}, {2, 0}}},
        {{"11"}, 0.9, 0, 1.9, 0, {{0, 0}, {1, 0}}}, // coordinates truncate
    };
    for (const Case& c : cases) {
        RtArray<double> result;
        Dim(result, 3);
        EXPECT_EQ(FindPath(Grid(c.rows), result, 0.5, c.x0, c.y0, c.x1, c.y1), double(c.path.size())) << c.rows[0];
        EXPECT_EQ(ResultCells(result), c.path) << c.rows[0];
    }
    // A cell that is not a finite float never sets the scale: the others still cost 2 each.
    AStarPlanner planner;
    EXPECT_EQ(Planned(planner, Grid({"1i1", "1q1", "111"}), 0.5f, 0, 0, 2, 0).PathCost(), 12.0f);
}

TEST(FindPath, RefusedRequestsLeaveTheResultAlone) {
    struct Case {
        std::vector<std::string> rows;
        double x0, y0, x1, y1;
    };
    const Case cases[] = {
        {{"111"}, 1, 0, 1, 0}, {{"111"}, -1, 0, 2, 0},     {{"111"}, 0, 0, 3, 0},
        {{"111"}, 0, 0, 0, 1}, {{"111"}, NAN, 0, 1e12, 0}, {{"0n#"}, 0, 0, 2, 0},
    };
    for (const Case& c : cases) {
        RtArray<double> result;
        Dim(result, 1);
        result(0) = 42;
        EXPECT_EQ(FindPath(Grid(c.rows), result, 0.5, c.x0, c.y0, c.x1, c.y1), 0);
        EXPECT_EQ(Bounds(result, 0), 1);
        EXPECT_EQ(result(0), 42);
    }
    RtArray<double> line, result;
    Dim(line, 5);
    line(0) = line(1) = 1;
    EXPECT_EQ(FindPath(line, result, 0.5, 0, 0, 1, 0), 0); // one dimension: no rows
}

TEST(FindPath, FactorIsClampedAndSteersTheSearch) {
    // The straight row is dearer than the detour below it; only the greedy search takes it.
    const RtArray<double> grid = Grid({"19991", "11111"});
    auto path = [&grid](double factor) {
        RtArray<double> result;
        FindPath(grid, result, factor, 0, 0, 4, 0);
        return ResultCells(result);
    };
    EXPECT_EQ(path(0).size(), 7u);
    EXPECT_EQ(path(1).size(), 5u);
    EXPECT_EQ(path(-3), path(0));
    EXPECT_EQ(path(NAN), path(0));
    EXPECT_EQ(path(7), path(1));
}

TEST(FindPath, EqualPrioritiesLeaveInTheOrderTheyCame) {
    const RtArray<double> square = Grid({"111", "111", "111"});
    RtArray<double> result;
    EXPECT_EQ(FindPath(square, result, 0.5, 0, 0, 2, 2), 5);
    EXPECT_EQ(ResultCells(result), (Cells{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}}));
    AStarPlanner half, greedy;
    Planned(half, square, 0.5f, 0, 0, 2, 2);
    EXPECT_EQ(half.PathCost(), 8.0f);
    EXPECT_EQ(half.ClosedCount(), 9);
    EXPECT_EQ(half.OpenCount(), 0);
    Planned(greedy, square, 1.0f, 0, 0, 2, 2);
    EXPECT_EQ(greedy.ClosedCount(), 5);
    EXPECT_EQ(greedy.OpenCount(), 2);

    EXPECT_EQ(FindPath(Grid({"11111", "11111", "11111", "11111", "11111"}), result, 0.5, 0, 0, 4, 4), 9);
    Cells topThenRight;
    for (int x = 0; x < 5; ++x) topThenRight.emplace_back(x, 0);
    for (int y = 1; y < 5; ++y) topThenRight.emplace_back(4, y);
    EXPECT_EQ(ResultCells(result), topThenRight);
}

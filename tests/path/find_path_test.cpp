// FindPath on small known grids: refused requests, the factor's effect, the order of equal priorities.
#include "runtime/path/path.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

// Indexed grid(x, y): rows are y, characters x; a digit is that cost, '#' 0 and 'n' -5 (both blocked).
RtArray<double> Grid(const std::vector<std::string>& rows) {
    RtArray<double> grid;
    Dim(grid, int32_t(rows[0].size()), int32_t(rows.size()));
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
            grid(int32_t(x), int32_t(y)) = rows[y][x] == '#' ? 0 : rows[y][x] == 'n' ? -5 : rows[y][x] - '0';
    return grid;
}

using Cells = std::vector<std::pair<int, int>>;

Cells Path(const RtArray<double>& grid, double factor, double x0, double y0, double x1, double y1) {
    RtArray<double> result;
    const double count = FindPath(grid, result, factor, x0, y0, x1, y1);
    Cells cells;
    for (int32_t i = 0; i < Bounds(result, 0); ++i) cells.emplace_back(int(result(i, 0)), int(result(i, 1)));
    EXPECT_EQ(count, double(cells.size()));
    return cells;
}

} // namespace

TEST(FindPath, RefusedRequestsLeaveTheResultAlone) {
    const std::pair<std::string, std::vector<double>> cases[] = {
        {"111", {1, 0, 1, 0}}, {"111", {-1, 0, 2, 0}},     {"111", {0, 0, 3, 0}},
        {"111", {0, 0, 0, 1}}, {"111", {NAN, 0, 1e12, 0}}, {"0n#", {0, 0, 2, 0}},
    };
    for (const auto& [row, at] : cases) {
        RtArray<double> result;
        Dim(result, 1);
        result(0) = 42;
        EXPECT_EQ(FindPath(Grid({row}), result, 0.5, at[0], at[1], at[2], at[3]), 0);
        EXPECT_EQ(Bounds(result, 0), 1);
        EXPECT_EQ(result(0), 42);
    }
    RtArray<double> line, result;
    Dim(line, 5);
    line(0) = line(1) = 1;
    EXPECT_EQ(FindPath(line, result, 0.5, 0, 0, 1, 0), 0); // one dimension: no rows
}

TEST(FindPath, TheFactorTradesCostForSpeed) {
    // The straight row is dearer than the detour below it; only the greedy search takes it.
    const RtArray<double> grid = Grid({"19991", "11111"});
    EXPECT_EQ(Path(grid, 0, 0, 0, 4, 0).size(), 7u);
    EXPECT_EQ(Path(grid, 1, 0, 0, 4, 0).size(), 5u);
    EXPECT_EQ(Path(grid, 7, 0, 0, 4, 0).size(), 5u);
}

TEST(FindPath, EqualPrioritiesLeaveInTheOrderTheyCame) {
    const RtArray<double> square = Grid({"111", "111", "111"});
    EXPECT_EQ(Path(square, 0.5, 0, 0, 2, 2), (Cells{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}}));
    EXPECT_EQ(Path(square, 0.5, 2, 2, 0, 0), (Cells{{2, 2}, {2, 1}, {2, 0}, {1, 0}, {0, 0}}));
    EXPECT_EQ(Path(Grid({"1111", "1111", "1111"}), 1.0, 0, 2, 3, 0),
              (Cells{{0, 2}, {0, 1}, {0, 0}, {1, 0}, {2, 0}, {3, 0}}));
}

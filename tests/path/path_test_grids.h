// Grids for the path tests, drawn as rows of characters.
#pragma once

#include "runtime/core/rt_array.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

// A digit is that cost; '#' is 0 and 'n' is -5 (both blocked); 'i' +inf, 'q' NaN, 'e' 1e300, 'm' -inf.
inline double CellCost(char c) {
    switch (c) {
    case '#':
        return 0;
    case 'n':
        return -5;
    case 'i':
        return INFINITY;
    case 'q':
        return NAN;
    case 'e':
        return 1e300;
    case 'm':
        return -INFINITY;
    default:
        return c - '0';
    }
}

// Indexed grid(x, y): rows are y, characters x.
inline RtArray<double> Grid(const std::vector<std::string>& rows) {
    RtArray<double> grid;
    Dim(grid, int32_t(rows[0].size()), int32_t(rows.size()));
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x) grid(int32_t(x), int32_t(y)) = CellCost(rows[y][x]);
    return grid;
}

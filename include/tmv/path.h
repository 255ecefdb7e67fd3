// Path planning: FindPath over a grid of cell costs.
//
//   FindPath
#pragma once

#include "rt_array.h"

// grid[x][y] holds cell costs (0 or less: blocked); 4-neighbour steps; factor clamped to 0..1 (0
// cheapest path, 0.5 classic A*, 1 greedy). Returns the path's cell count and fills result[count][2]
// with x and y from start to goal; 0 with result emptied when no path exists; 0 with result untouched
// for a bad start or goal or a grid without walkable cells.
double FindPath(const RtArray<double>& grid, RtArray<double>& result, double heuristicFactor, double startX,
                double startY, double goalX, double goalY);

// Path planning: FindPath over a grid of cell costs, and the planner classes behind it for searches
// that need other settings (diagonal steps, pool and list sizes).
#pragma once

#include "runtime/core/rt_array.h"
#include "runtime/path/astar_planner.h"
#include "runtime/path/planner.h"

// ---- Commands
// double FindPath(grid, result, heuristicFactor, startX, startY, goalX, goalY)
//        grid[x][y] holds cell costs (0 or less: blocked); 4-neighbour steps; factor clamped to
//        0..1 (0 cheapest path, 0.5 classic A*, 1 greedy). Returns the path's cell count and fills
//        result[count][2] with x and y from start to goal; 0 with result emptied when no path
//        exists; 0 with result untouched for a bad start or goal or a grid without walkable cells.
double FindPath(const RtArray<double>& grid, RtArray<double>& result, double heuristicFactor, double startX,
                double startY, double goalX, double goalY);

// ---- Planner (planner.h, astar_planner.h): construct, Setup, Begin, Search, read, Release
// bool    Setup(parameters)     PlannerParameters: cells, start, goal, diagonals, sizes, weight
// void    Begin()               the start node on the open list
// bool    Search()              true when done; false when the pool or the open list ran out
// float   PathCost()            -1 without a path
// int32_t PathLength() / OpenCount() / ClosedCount()
// Node*   PathHead()            the goal; parent links lead to the start
// bool    Idle() / int32_t SearchCount()
// void    Release()             every node back to the pool

// Path planning inside the runtime: FindPath (<tmv/path.h>) and the planner classes behind it, for
// searches that need other settings (diagonal steps, pool and list sizes).
#pragma once

#include "runtime/path/astar_planner.h"
#include "runtime/path/planner.h"

#include <tmv/path.h>

// ---- Planner (planner.h, astar_planner.h): construct, Setup, Begin, Search, read, Release
// bool    Setup(parameters)     PlannerParameters: cells, start, goal, diagonals, sizes, weight
// void    Begin()               the start node on the open list
// bool    Search()              true when done; false when the pool or the open list ran out
// float   PathCost()            -1 without a path
// int32_t PathLength() / OpenCount() / ClosedCount()
// Node*   PathHead()            the goal; parent links lead to the start
// bool    Idle() / int32_t SearchCount()
// void    Release()             every node back to the pool

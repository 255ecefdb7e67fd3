// AStarPlanner: the weighted A* search over the planner's grid.
#pragma once

#include "runtime/path/planner.h"

class AStarPlanner : public Planner {
  public:
    ~AStarPlanner() override = default;
    // The base reset, then the start node (g 0, no parent) on the open list.
    void Begin() override;
    // Expands the lowest f until the goal leaves the open list or the list is empty.
    bool Search() override;

  private:
    // Opens, improves or skips the neighbour (x, y) reached from current at cost g with priority f;
    // false when it needs a node or an open-list place that is not there.
    bool Visit(Node* current, int32_t x, int32_t y, float g, float f);
};

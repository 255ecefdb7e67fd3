// Node: one search state of the planner, for one grid cell.
#pragma once

#include <cstdint>

struct Node {
    Node* parent; // predecessor on the best known path; null for the start
    int32_t x;    // cell column (first grid index)
    int32_t y;    // cell row (second grid index)
    float f;      // priority: the open list's order
    float g;      // cost from the start
    Node* next;   // link in the closed set's bucket chain
};

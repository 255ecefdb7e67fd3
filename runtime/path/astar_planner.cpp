// AStarPlanner: the search loop.
#include "runtime/path/astar_planner.h"

#include <cstdlib>

namespace {

// Slightly above the square root of 2, as single precision has it.
constexpr float kDiagonalFactor = 1.4142137f;

struct Step {
    int32_t dx, dy;
    bool diagonal;
};
// The order neighbours are visited in decides between paths of equal cost.
constexpr Step kSteps[] = {{-1, -1, true}, {0, -1, false}, {1, -1, true}, {1, 0, false},
                           {-1, 0, false}, {-1, 1, true},  {0, 1, false}, {1, 1, true}};

} // namespace

void AStarPlanner::Begin() {
    Planner::Begin();
    Node* start = factory_.Take();
    if (!start) return;
    *start = Node{nullptr, parameters_.startX, parameters_.startY, 0.0f, 0.0f, nullptr};
    cellNodes_[CellIndex(start->x, start->y)] = start;
    open_.PushBack(start);
}

bool AStarPlanner::Search() {
    ++searchCount_;
    const PlannerParameters& p = parameters_;
    const float w = p.heuristicWeight;
    const float diagonalFactor = p.diagonalCostSqrt2 ? kDiagonalFactor : 1.0f;
    while (!open_.Empty()) {
        Node* current = open_.Back();
        open_.PopBack();
        if (current->x == p.goalX && current->y == p.goalY) {
            closed_.Insert(current);
            idle_ = true;
            pathHead_ = current;
            return true;
        }
        for (const Step& step : kSteps) {
            if (step.diagonal && !p.allowDiagonal) continue;
            const int32_t x = current->x + step.dx, y = current->y + step.dy;
            if (x < 0 || x >= p.width || y < 0 || y >= p.height) continue;
            const float cost = costs_[CellIndex(x, y)];
            if (cost == kBlockedCell) continue;
            const float g = current->g + cost * (step.diagonal ? diagonalFactor : 1.0f);
            const float h = float(std::abs(p.goalX - x) + std::abs(p.goalY - y));
            const float f = (h - g) * w + g;
            if (!Visit(current, x, y, g, f)) {
                // Kept in the closed set so that Release gets every node back.
                closed_.Insert(current);
                idle_ = true;
                return false;
            }
        }
        closed_.Insert(current);
    }
    idle_ = true;
    return true;
}

bool AStarPlanner::Visit(Node* current, int32_t x, int32_t y, float g, float f) {
    Node*& node = cellNodes_[CellIndex(x, y)];
    if (!node) {
        if (open_.Full() || !(node = factory_.Take())) return false;
        *node = Node{nullptr, x, y, 0.0f, 0.0f, nullptr};
    } else if (node->g <= g) {
        return true;
    } else if (closed_.Find(x, y)) {
        if (open_.Full()) return false;
        closed_.UnlinkFound(); // re-opened: a cheaper way into a cell already expanded
    } else {
        OpenRemove(node);
    }
    node->parent = current;
    node->g = g;
    node->f = f;
    OpenInsert(node);
    return true;
}

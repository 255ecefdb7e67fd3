// Planner: the parameters of a search and the abstract planner that holds the grid, the node pool,
// the open list and the closed set.
#pragma once

#include "runtime/path/fixed_deque.h"
#include "runtime/path/node.h"
#include "runtime/path/node_factory.h"
#include "runtime/path/node_hash_table.h"
#include "runtime/path/zeroed_block.h"

#include <cstdint>
#include <memory>

struct PlannerParameters {
    int32_t startX = 0, startY = 0;
    int32_t goalX = 0, goalY = 0;
    bool diagonalCostSqrt2 = false; // a diagonal step costs the entered cell's cost x 1.4142137
    bool allowDiagonal = false;     // the four diagonal neighbours are visited too
    int32_t poolSize = 0;           // nodes in the pool; 0 or less: width x height
    int32_t openCapacity = 0;       // open list places; 0 or less: width x height
    int32_t hashBits = 8;           // bucket bits of the closed set
    float heuristicWeight = 0.5f;   // 0 uniform-cost search, 1 greedy best-first
    int32_t width = 0, height = 0;
    const double* cells = nullptr; // cell (x, y) at y * width + x; 0 or less is blocked
};

// Grids of more cells are refused: the planner needs about 60 bytes a cell.
constexpr int64_t kPlannerMaxCells = int64_t(1) << 24;
// The cost map's mark of a blocked cell.
constexpr float kBlockedCell = -1.0f;

class Planner {
  public:
    virtual ~Planner() = default;
    // Starts a search: not idle, no path, no searches counted.
    virtual void Begin();
    // Runs the search to its end: true when it finished (path found or none exists), false when the
    // pool or the open list ran out.
    virtual bool Search() = 0;
    // Returns every node to the pool, empties the open list and the closed set; idle again.
    virtual void Release();

    // Checks the cells, builds the cost map and makes room for the search; false when the start or
    // goal is outside the grid, they are the same cell, no cell is walkable, or the grid is too big.
    bool Setup(const PlannerParameters& parameters);
    float PathCost() const;     // the goal's g, or -1 without a path
    int32_t PathLength() const; // nodes on the path, start and goal included; 0 without one
    int32_t OpenCount() const { return open_.Size(); }
    int32_t ClosedCount() const { return closed_.Count(); }
    const Node* PathHead() const { return pathHead_; }   // the goal node; follow parent to the start
    bool Idle() const { return idle_; }                  // no search under way
    int32_t SearchCount() const { return searchCount_; } // Search calls since Begin

  protected:
    size_t CellIndex(int32_t x, int32_t y) const { return size_t(y) * size_t(parameters_.width) + size_t(x); }
    // Takes the node out of the open list: it sits among the nodes of its f, found by bisection.
    void OpenRemove(Node* node);
    // Puts the node in front of every node of equal f, so equal f leave in the order they came.
    void OpenInsert(Node* node);

    PlannerParameters parameters_;
    bool idle_ = true;
    NodeFactory factory_;
    std::unique_ptr<float[]> costs_; // normalised cell costs in (1, 2], or kBlockedCell
    int32_t searchCount_ = 0;
    FixedDeque<Node*> open_; // sorted by f descending: the lowest f at the back
    NodeHashTable closed_;
    Node* pathHead_ = nullptr;
    // The one node of each cell, open or closed, or null: membership without scanning.
    ZeroedBlock<Node*> cellNodes_;

  private:
    // Drops the cost map and every buffer, as before the first Setup.
    void Reset();
    // The first open-list position whose f is not above f.
    int32_t OpenLowerBound(float f);
};

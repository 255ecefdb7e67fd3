// Planner: set-up of the grid and the buffers, the open list's order, the path's cost and length.
#include "runtime/path/planner.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

// Doubles from here up (and from its negative down) round to an infinite float.
constexpr double kFloatOverflow = 0x1.ffffffp127;

// Single precision; a value that does not stay finite (NaN, infinity, beyond the float range)
// becomes 0, blocked like every value not above 0.
float CellValue(double v) { return v > -kFloatOverflow && v < kFloatOverflow ? float(v) : 0.0f; }

} // namespace

void Planner::Begin() {
    idle_ = false;
    searchCount_ = 0;
    pathHead_ = nullptr;
}

void Planner::Release() {
    for (int32_t i = 0; i < open_.Size(); ++i) factory_.Return();
    open_.Clear();
    closed_.Clear(factory_);
    pathHead_ = nullptr;
    if (cellNodes_) std::fill_n(cellNodes_.get(), size_t(parameters_.width) * size_t(parameters_.height), nullptr);
    idle_ = true;
}

void Planner::Reset() {
    parameters_ = PlannerParameters{};
    costs_.reset();
    cellNodes_.reset();
    factory_.Reserve(0);
    open_.Reserve(0);
    closed_.SetBits(0);
    pathHead_ = nullptr;
    searchCount_ = 0;
    idle_ = true;
}

bool Planner::Setup(const PlannerParameters& p) {
    Reset();
    auto inside = [&p](int32_t x, int32_t y) { return x >= 0 && x < p.width && y >= 0 && y < p.height; };
    if (!inside(p.startX, p.startY) || !inside(p.goalX, p.goalY)) return false;
    if (p.startX == p.goalX && p.startY == p.goalY) return false;
    const int64_t cells = int64_t(p.width) * int64_t(p.height);
    if (cells > kPlannerMaxCells) return false;

    std::unique_ptr<float[]> costs(new (std::nothrow) float[size_t(cells)]);
    if (!costs) return false;
    float largest = 0.0f;
    for (int64_t i = 0; i < cells; ++i) {
        float v = CellValue(p.cells[i]);
        costs[i] = v > 0.0f ? v : kBlockedCell;
        largest = std::max(largest, v);
    }
    if (largest <= 0.0f) return false;
    for (int64_t i = 0; i < cells; ++i)
        if (costs[i] > 0.0f) costs[i] = costs[i] / largest + 1.0f;

    // At most one node per cell exists, so no search needs more nodes or places than cells.
    auto places = [cells](int32_t wanted) { return int32_t(wanted > 0 ? std::min<int64_t>(wanted, cells) : cells); };
    cellNodes_ = AllocateZeroed<Node*>(size_t(cells));
    if (!cellNodes_ || !factory_.Reserve(places(p.poolSize)) || !open_.Reserve(places(p.openCapacity)) ||
        !closed_.SetBits(p.hashBits)) {
        Reset();
        return false;
    }
    costs_ = std::move(costs);
    parameters_ = p;
    float& w = parameters_.heuristicWeight;
    w = std::isnan(w) ? 0.0f : std::clamp(w, 0.0f, 1.0f);
    return true;
}

float Planner::PathCost() const { return pathHead_ ? pathHead_->g : -1.0f; }

int32_t Planner::PathLength() const {
    int32_t length = 0;
    for (const Node* n = pathHead_; n; n = n->parent) ++length;
    return length;
}

// Gallops from the back, where the lowest f and most new nodes go, then bisects the last stride.
int32_t Planner::OpenLowerBound(float f) {
    int32_t high = open_.Size(); // every position from high on has f <= the given f
    int32_t low = high - 1, stride = 1;
    while (low >= 0 && open_.At(low)->f <= f) {
        high = low;
        low -= stride;
        stride *= 2;
    }
    low = low < 0 ? 0 : low + 1; // positions below low + 1 are known to be above f
    while (low < high) {
        int32_t middle = low + (high - low) / 2;
        if (open_.At(middle)->f > f)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

void Planner::OpenRemove(Node* node) {
    int32_t at = OpenLowerBound(node->f);
    while (open_.At(at) != node) ++at;
    open_.Remove(at);
}

void Planner::OpenInsert(Node* node) { open_.Insert(OpenLowerBound(node->f), node); }

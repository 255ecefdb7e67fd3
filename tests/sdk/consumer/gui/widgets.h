// The game's own widgets, under a folder name the toolkit uses inside.
#pragma once

#include "platform/video.h"

#include <vector>

class Planner {
  public:
    void Add(Node node) { nodes_.push_back(node); }
    int Count() const { return static_cast<int>(nodes_.size()); }

  private:
    std::vector<Node> nodes_;
};

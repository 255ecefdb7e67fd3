// NodeFactory: the planner's pool of search nodes, handed out in order and reused without freeing.
#pragma once

#include "runtime/path/node.h"

#include <cstdint>
#include <memory>

class NodeFactory {
  public:
    virtual ~NodeFactory() = default;

    // Frees the earlier nodes and makes count new ones; false (and no nodes) when they cannot be had.
    bool Reserve(int32_t count);
    // The next free node, or null when all are handed out.
    Node* Take();
    // Nodes go back only all together, so a returned node is not named: the next index moves back.
    void Return();

  private:
    // One block rather than a node per allocation: the same nodes, one request.
    std::unique_ptr<Node[]> nodes_;
    int32_t count_ = 0;
    int32_t next_ = 0;
};

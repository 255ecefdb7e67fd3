// NodeFactory: the pool of search nodes.
#include "runtime/path/node_factory.h"

#include <new>

bool NodeFactory::Reserve(int32_t count) {
    nodes_.reset();
    count_ = next_ = 0;
    if (count <= 0) return true;
    nodes_.reset(new (std::nothrow) Node[size_t(count)]);
    if (!nodes_) return false;
    count_ = count;
    return true;
}

Node* NodeFactory::Take() { return next_ < count_ ? &nodes_[next_++] : nullptr; }

void NodeFactory::Return() {
    if (next_ > 0) --next_;
}

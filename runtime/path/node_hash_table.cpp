// NodeHashTable: the closed set.
#include "runtime/path/node_hash_table.h"

#include <algorithm>

bool NodeHashTable::SetBits(int32_t bits) {
    bits = std::clamp(bits, 0, 24) & ~1;
    buckets_.reset();
    bits_ = count_ = 0;
    found_ = nullptr;
    buckets_ = AllocateZeroed<Node*>(size_t(1) << bits);
    if (!buckets_) return false;
    bits_ = bits;
    return true;
}

size_t NodeHashTable::Bucket(int32_t x, int32_t y) const {
    const int half = bits_ / 2;
    const uint32_t mask = (uint32_t(1) << half) - 1;
    return (uint32_t(x) & mask) + (size_t(uint32_t(y) & mask) << half);
}

bool NodeHashTable::Insert(Node* node) {
    Node*& head = buckets_[Bucket(node->x, node->y)];
    for (Node* n = head; n; n = n->next)
        if (n == node) return false;
    node->next = head;
    head = node;
    ++count_;
    return true;
}

Node* NodeHashTable::Find(int32_t x, int32_t y) {
    found_ = nullptr;
    if (!buckets_) return nullptr;
    for (Node** link = &buckets_[Bucket(x, y)]; *link; link = &(*link)->next)
        if ((*link)->x == x && (*link)->y == y) {
            found_ = link;
            return *link;
        }
    return nullptr;
}

void NodeHashTable::UnlinkFound() {
    if (!found_) return;
    *found_ = (*found_)->next;
    found_ = nullptr;
    --count_;
}

void NodeHashTable::Clear(NodeFactory& factory) {
    found_ = nullptr;
    count_ = 0;
    if (!buckets_) return;
    const size_t buckets = size_t(1) << bits_;
    for (size_t b = 0; b < buckets; ++b) {
        if (!buckets_[b]) continue; // an untouched page stays untouched
        for (Node* n = buckets_[b]; n; n = n->next) factory.Return();
        buckets_[b] = nullptr;
    }
}

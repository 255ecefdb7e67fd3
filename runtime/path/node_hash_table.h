// NodeHashTable: the planner's closed set, nodes chained in buckets chosen by their cell.
#pragma once

#include "runtime/path/node.h"
#include "runtime/path/node_factory.h"
#include "runtime/path/zeroed_block.h"

#include <cstddef>
#include <cstdint>

class NodeHashTable {
  public:
    virtual ~NodeHashTable() = default;

    // 2^bits empty buckets, bits limited to 0..24 and lowered to even; false when they cannot be had.
    bool SetBits(int32_t bits);
    int32_t Bits() const { return bits_; }
    // (x mod 2^(bits/2)) + 2^(bits/2) * (y mod 2^(bits/2)); negative cells wrap like the others.
    size_t Bucket(int32_t x, int32_t y) const;

    // Chains the node newest first; refuses (false) a node already in its chain.
    bool Insert(Node* node);
    // The node of cell (x, y) or null; remembers where it hangs for UnlinkFound.
    Node* Find(int32_t x, int32_t y);
    // Takes the node of the last successful Find out of its chain.
    void UnlinkFound();
    int32_t Count() const { return count_; }
    // Returns every node to the factory and empties the buckets.
    void Clear(NodeFactory& factory);

  private:
    ZeroedBlock<Node*> buckets_;
    int32_t bits_ = 0;
    int32_t count_ = 0;
    Node** found_ = nullptr; // the link that points to the node found last
};

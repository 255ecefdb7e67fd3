// ZeroedBlock: an owned block of pointers that starts null. calloc hands large blocks over as pages
// the system zeroes when first touched, so a big grid's bucket and cell tables cost nothing up front.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>

struct FreeBlock {
    void operator()(void* block) const { std::free(block); }
};

template <typename T>
using ZeroedBlock = std::unique_ptr<T[], FreeBlock>;

// Null when the block cannot be had.
template <typename T>
ZeroedBlock<T> AllocateZeroed(size_t count) {
    return ZeroedBlock<T>(static_cast<T*>(std::calloc(count, sizeof(T))));
}

// Data statements: the read cursor over the item lists a program carries (the lists and DataRestore
// and DataRead are in <tmv/core.h>).
#pragma once

#include <tmv/core.h>

using tmv::DataBlock;
using tmv::DataItem;

struct DataState {
    // Null until the first DataRestore.
    DataBlock* current = nullptr;
};

DataState& DataStatements();

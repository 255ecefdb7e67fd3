// Data statements: the constant item lists a program carries and the read cursor over them
// (DataRestore and DataRead are in core.h).
#pragma once

#include <cstdint>

// A text item when text is set; the number is then unused.
struct DataItem {
    double number;
    const char* text;
};

// One data statement list of the program; only next changes.
struct DataBlock {
    const DataItem* items;
    int32_t count;
    int32_t next;
};

struct DataState {
    // Null until the first DataRestore.
    DataBlock* current = nullptr;
};

DataState& DataStatements();

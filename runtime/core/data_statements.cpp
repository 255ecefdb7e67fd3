// Data statements: restoring a block and reading its items into numbers, integers and texts.
#include "runtime/core/data_statements.h"

#include "runtime/core/core.h"
#include "runtime/core/number_convert.h"

namespace {

// The next item of the current block; past its end, or with no block, error 20.
const DataItem& NextItem() {
    DataBlock* block = DataStatements().current;
    if (!block || block->next < 0 || block->next >= block->count) RuntimeError(20);
    return block->items[block->next++];
}

} // namespace

DataState& DataStatements() {
    static DataState* state = new DataState;
    return *state;
}

void DataRestore(DataBlock& block) {
    block.next = 0;
    DataStatements().current = &block;
}

void DataRead(double& target) {
    const DataItem& item = NextItem();
    target = item.text ? TextToNumber(item.text) : item.number;
}

void DataRead(int32_t& target) {
    double value;
    DataRead(value);
    target = NumberToInt(value);
}

void DataRead(RtString& target) {
    const DataItem& item = NextItem();
    target = item.text ? RtString(item.text) : RtString(item.number);
}

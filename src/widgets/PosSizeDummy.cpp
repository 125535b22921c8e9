#include "widgets/PosSizeDummy.h"

namespace ObjectData::PosSizeDummy {

namespace {
VariableOffsetTable table;
}  // namespace

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "PosSizeDummy", table);
    ObjectTemplate::StartVariables(prototype, table);
    BindVariable(table, *prototype, enum_position, prototype->vars.position);
    BindVariable(table, *prototype, enum_size, prototype->vars.size);
}

}  // namespace ObjectData::PosSizeDummy

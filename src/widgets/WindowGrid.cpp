#include "widgets/WindowGrid.h"

namespace ObjectData::WindowGrid {

namespace {
VariableOffsetTable table;
}  // namespace

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "WindowGrid", table, &ObjectTemplate::CopyLoadOnly);
    prototype->_TempAddEngine("Behavior", Event());
    prototype->_TempAddEngine("GraphicsUpdate", Event());
    prototype->_TempAddEngine("GraphicsDraw", Event());
    prototype->_AddEvent("Load", Event());
    prototype->_AddEvent("Unload", Event());
    ObjectTemplate::StartVariables(prototype, table);
}

}  // namespace ObjectData::WindowGrid

#include "objects/Bots.h"

namespace ObjectData::SolverBotAI {

namespace {
VariableOffsetTable table;
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "SolverBotAI", table);
    prototype->_TempAddEngine("Behavior", Event());
    prototype->_TempAddEngine("GraphicsDraw", Event());
    prototype->_AddEvent("Load", Event());
    prototype->_AddEvent("Unload", Event());
    ObjectTemplate::StartVariables(prototype, table);
    BindVariable(table, *prototype, enum_solverData, prototype->vars.solverData);
}

}  // namespace ObjectData::SolverBotAI

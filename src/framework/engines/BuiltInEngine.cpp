// What the built-in engine types share.
#include "framework/engines/BuiltInEngines.h"

// Constant-initialised (all null), so that a higher layer may fill it in
// during static initialisation whatever the order of the units.
EngineHooks engineHooks;

namespace EngineData {

void PlainCopy(Entity* copy, const Entity*) { copy->DoEvent("Load"); }

void SetUpPrototype(Engine& prototype, VariableOffsetTable& table) {
    ClearVariableTable(table);
    prototype._map = table;
    prototype._startVar = nullptr;
    prototype._copy = &PlainCopy;
    prototype._free = &Entity::_CallUnload;
}

}  // namespace EngineData

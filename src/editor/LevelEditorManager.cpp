#include "editor/LevelEditorManager.h"

#include "framework/ObjectTemplate.h"

namespace ObjectData::LevelEditorManager {

namespace {

struct NoVariables {};

VariableOffsetTable table;

}  // namespace

void _Init(Object*& slot) {
    auto* prototype =
        ObjectTemplate::Begin<NoVariables>(slot, "LevelEditorManager", table, &ObjectTemplate::CopyLoadOnly);
    for (const char* engine : {"Behavior", "GraphicsUpdate", "GraphicsDraw"})
        prototype->_TempAddEngine(engine, Event());
    prototype->_AddEvent("Load", Event());
    prototype->_AddEvent("Unload", Event());
    // No variables: the table stays empty and there is no block to reach.
    ClearVariableTable(table);
}

}  // namespace ObjectData::LevelEditorManager

// "GraphicsUpdate": raises "GraphicsUpdate" on each member every frame, before drawing; levels take it at 1.05.
#include "framework/engines/BuiltInEngines.h"

namespace EngineData::GraphicsUpdate {

namespace {
VariableOffsetTable table;
}  // namespace

struct _DATA : Engine {
    _DATA() : Engine(sizeof(_DATA)) {
        SetUpPrototype(*this, table);
        _AddEvent("Load", Event());
        _AddEvent("Unload", Event());
    }
};

Engine* _Init() { return new _DATA(); }

}  // namespace EngineData::GraphicsUpdate

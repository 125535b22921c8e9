// "GraphicsDraw": raises "GraphicsDraw" on each member every frame, last of all; levels take it at 1.0.
#include "framework/engines/BuiltInEngines.h"

namespace EngineData::GraphicsDraw {

namespace {
VariableOffsetTable table;
}  // namespace

struct _DATA : Engine {
    _DATA() : Engine(sizeof(_DATA)) {
        SetUpPrototype(*this, table);
        _AddEvent("Load", Event());
        _AddEvent("Update", &Engine::Update);
        _AddEvent("Unload", Event());
    }
};

Engine* _Init() { return new _DATA(); }

}  // namespace EngineData::GraphicsDraw

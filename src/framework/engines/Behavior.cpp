// "Behavior": raises "Behavior" on each member every frame; levels take it at 5.0.
#include "framework/engines/BuiltInEngines.h"

namespace EngineData::Behavior {

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

}  // namespace EngineData::Behavior

// "Behavior2": a second behaviour pass that members may join; no level takes it.
#include "framework/engines/BuiltInEngines.h"

namespace EngineData::Behavior2 {

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

}  // namespace EngineData::Behavior2

// "WindowEngine": registered for scripts that want it; it does nothing of its own.
#include "framework/engines/BuiltInEngines.h"

namespace EngineData::WindowEngine {

namespace {
VariableOffsetTable table;
}  // namespace

struct _DATA : Engine {
    _DATA() : Engine(sizeof(_DATA)) {
        SetUpPrototype(*this, table);
        _AddEvent("Load", Event());
        _AddEvent("Update", Event());
        _AddEvent("Unload", Event());
    }
};

Engine* _Init() { return new _DATA(); }

}  // namespace EngineData::WindowEngine

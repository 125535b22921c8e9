// "Input": when taken, forgets what the keys and buttons did before, so
// nothing reads as newly pressed. No level and not the game take it.
#include "platform/input/Input.h"
#include "platform/engines/PlatformEngines.h"

namespace EngineData::Input {

namespace {
VariableOffsetTable table;

void ResetInput(Entity*, Entity*) { inputEngine.Reset(); }
}  // namespace

struct _DATA : Engine {
    _DATA() : Engine(sizeof(_DATA)) {
        SetUpPrototype(*this, table);
        _AddEvent("Load", &ResetInput);
        _AddEvent("Update", Event());
        _AddEvent("Unload", Event());
    }
};

Engine* _Init() { return new _DATA(); }

}  // namespace EngineData::Input

// "GameInput": each frame takes the input thread's pending keyboard and mouse
// blocks as the frame's input. No level and not the game take it: the game
// entity's own "Update" does the same hand-over.
#include "platform/engines/PlatformEngines.h"
#include "platform/input/Input.h"

namespace EngineData::GameInput {

namespace {
VariableOffsetTable table;

// The hand-over holds the input lock only while it copies the blocks.
void TakeInput(Entity*, Entity*) { inputEngine.GameUpdate(); }
}  // namespace

struct _DATA : Engine {
    _DATA() : Engine(sizeof(_DATA)) {
        SetUpPrototype(*this, table);
        _AddEvent("Load", Event());
        _AddEvent("Update", &TakeInput);
        _AddEvent("Unload", Event());
    }
};

Engine* _Init() { return new _DATA(); }

}  // namespace EngineData::GameInput

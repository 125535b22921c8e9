// "Sound": starts the sound engine when taken and updates it every frame.
// The game takes it at 1.1, so it runs before every state.
#include "framework/Fatal.h"
#include "platform/engines/PlatformEngines.h"
#include "platform/sound/SoundEngine.h"

namespace EngineData::Sound {

namespace {
VariableOffsetTable table;

void StartSound(Entity*, Entity*) {
    if (!soundEngine.Init()) FatalError("Failed to initialize the sound engine!", "Error during initialization", 1);
}

void UpdateSound(Entity*, Entity*) { soundEngine.Update(); }
}  // namespace

struct _DATA : Engine {
    _DATA() : Engine(sizeof(_DATA)) {
        SetUpPrototype(*this, table);
        _AddEvent("Load", &StartSound);
        _AddEvent("Update", &UpdateSound);
        _AddEvent("Unload", Event());
    }
};

Engine* _Init() { return new _DATA(); }

}  // namespace EngineData::Sound

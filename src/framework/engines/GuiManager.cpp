// "GuiManager": each frame lets the window manager decide the cursor. The
// game takes it at 2.0, so it runs before every state.
#include "framework/engines/BuiltInEngines.h"

namespace EngineData::GuiManager {

namespace {
VariableOffsetTable table;

void UpdateCursor(Entity*, Entity*) {
    if (engineHooks.updateCursor != nullptr) engineHooks.updateCursor();
}
}  // namespace

struct _DATA : Engine {
    _DATA() : Engine(sizeof(_DATA)) {
        SetUpPrototype(*this, table);
        _AddEvent("Load", Event());
        _AddEvent("Update", &UpdateCursor);
        _AddEvent("Unload", Event());
    }
};

Engine* _Init() { return new _DATA(); }

}  // namespace EngineData::GuiManager

// "GuiManager": each frame lets the window manager decide the cursor. The
// game takes it at 2.0, so it runs before every state.
#include "platform/window/GuiManager.h"
#include "platform/engines/PlatformEngines.h"

namespace EngineData::GuiManager {

namespace {
VariableOffsetTable table;

// The window manager takes its registry lock for the cursor decision.
void UpdateCursor(Entity*, Entity*) { guiManager.UpdateCursor(); }
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

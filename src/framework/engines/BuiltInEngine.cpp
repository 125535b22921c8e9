// What the built-in engine types share.
#include "framework/engines/BuiltInEngines.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"

namespace {
// A bar is one quad in the general list of the buffer being filled.
void AddBarToBuffer(const ProfilerBar& bar) {
    if (graphicsEngine.GetCurrentBuffer() == nullptr) return;
    graphicsEngine.AddFrame(bar.x, bar.y, bar.z, bar.width, bar.height, 0.0f, FrameMap("Profiler White", 0, 0),
                            static_cast<int>(bar.colour));
}

EngineHooks DefaultEngineHooks() {
    EngineHooks hooks;
    hooks.addBar = &AddBarToBuffer;
    return hooks;
}
}  // namespace

EngineHooks engineHooks = DefaultEngineHooks();

namespace EngineData {

void PlainCopy(Entity* copy, const Entity*) { copy->DoEvent("Load"); }

void SetUpPrototype(Engine& prototype, VariableOffsetTable& table) {
    ClearVariableTable(table);
    prototype._map = table;
    prototype._startVar = nullptr;
    prototype._copy = &PlainCopy;
    prototype._free = &Entity::_CallUnload;
}

}  // namespace EngineData

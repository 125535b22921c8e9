// The profiler viewer's bars, drawn by the renderer and scaled to the current
// state's window: filled into the
// framework's engine hooks before main, so that every program (and test)
// that links the platform draws them.
#include "framework/State.h"
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

[[maybe_unused]] const bool barsWired = [] {
    engineHooks.addBar = &AddBarToBuffer;
    engineHooks.renderWidth = [] { return State::GetRenderWidth(); };
    return true;
}();

}  // namespace

#pragma once
// The program's built-in engine types. Each is a type derived from Engine,
// registered by name at start-up; most only order the per-frame work of their
// members, a few do work of their own each frame.
#include "framework/Engine.h"
#include "framework/Variables.h"
#include "framework/engines/ProfilerView.h"

namespace EngineData {

// The copy function of plain engines: raises "Load" on the new copy, with the
// copy as both arguments.
void PlainCopy(Entity* copy, const Entity* source);

// Gives a freshly constructed built-in prototype what every built-in engine
// has: its own (empty) offset table, the plain copy function and the
// teardown that raises its own "Unload".
void SetUpPrototype(Engine& prototype, VariableOffsetTable& table);

// One registration function per built-in engine type of the framework (the
// platform's engines are in platform/engines/PlatformEngines.h).
namespace Behavior {
Engine* _Init();
}
namespace Behavior2 {
Engine* _Init();
}
namespace GraphicsDraw {
Engine* _Init();
}
namespace GraphicsUpdate {
Engine* _Init();
}
namespace PostCameraUpdate {
Engine* _Init();
}
namespace PreCameraUpdate {
Engine* _Init();
}
namespace ProfilerDraw {
Engine* _Init();
}
namespace WindowEngine {
Engine* _Init();
}

}  // namespace EngineData

// What the built-in engines need from higher layers, which fill the hooks in
// (the platform puts in the bar drawing before main); a null hook is skipped.
struct EngineHooks {
    // The profiler viewer's drawing: one bar into the renderer's current
    // buffer (the platform's: the sprite "Profiler White"), and one line of text
    // drawn with the viewer's text object on behalf of the engine (none until
    // the text widget brings its drawing).
    void (*addBar)(const ProfilerBar& bar) = nullptr;
    void (*drawTextLine)(Entity* textObject, Entity* engine, const ProfilerTextLine& line) = nullptr;
    // The width in pixels the viewer's bars are scaled by (the platform's:
    // the current state's render width). Null: 0, no bars.
    int (*renderWidth)() = nullptr;
};

extern EngineHooks engineHooks;

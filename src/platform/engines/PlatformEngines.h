#pragma once
// The built-in engine types that drive the platform: input, sound and the
// window manager. Registered by name like the framework's engines.
#include "framework/TypeRegistry.h"
#include "framework/engines/BuiltInEngines.h"

namespace EngineData {
namespace GameInput {
Engine* _Init();
}
namespace GuiManager {
Engine* _Init();
}
namespace Input {
Engine* _Init();
}
namespace Sound {
Engine* _Init();
}
}  // namespace EngineData

// The platform's registered types (its engines).
TypeRows PlatformTypes();

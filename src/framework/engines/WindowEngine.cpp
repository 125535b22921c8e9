// "WindowEngine": registered for scripts that want it; it does nothing of its own.
#include "framework/engines/PlainEngine.h"

namespace EngineData::WindowEngine {

struct _DATA : PlainEngine<_DATA, PlainEvents::Empty> {};

Engine* _Init() { return new _DATA(); }

}  // namespace EngineData::WindowEngine

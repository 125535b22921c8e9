// "GraphicsUpdate": raises "GraphicsUpdate" on each member every frame, before drawing; levels take it at 1.05.
#include "framework/engines/PlainEngine.h"

namespace EngineData::GraphicsUpdate {

struct _DATA : PlainEngine<_DATA, PlainEvents::EmptyLoadUnload> {};

Engine* _Init() { return new _DATA(); }

}  // namespace EngineData::GraphicsUpdate

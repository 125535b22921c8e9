// "Behavior": raises "Behavior" on each member every frame; levels take it at 5.0.
#include "framework/engines/PlainEngine.h"

namespace EngineData::Behavior {

struct _DATA : PlainEngine<_DATA, PlainEvents::EmptyLoadUnload> {};

Engine* _Init() { return new _DATA(); }

}  // namespace EngineData::Behavior

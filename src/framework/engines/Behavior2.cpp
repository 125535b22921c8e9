// "Behavior2": a second behaviour pass that members may join; no level takes it.
#include "framework/engines/PlainEngine.h"

namespace EngineData::Behavior2 {

struct _DATA : PlainEngine<_DATA, PlainEvents::EmptyLoadUnload> {};

Engine* _Init() { return new _DATA(); }

}  // namespace EngineData::Behavior2

// "GraphicsDraw": raises "GraphicsDraw" on each member every frame, last of all; levels take it at 1.0.
#include "framework/engines/PlainEngine.h"

namespace EngineData::GraphicsDraw {

struct _DATA : PlainEngine<_DATA, PlainEvents::MembersUpdate> {};

Engine* _Init() { return new _DATA(); }

}  // namespace EngineData::GraphicsDraw

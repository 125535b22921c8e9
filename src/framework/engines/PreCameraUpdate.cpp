// "PreCameraUpdate": raises "PreCameraUpdate" on each member every frame, first of all; levels take it at 5.1.
// It keeps the engine defaults: "Unload" takes every member out.
#include "framework/engines/PlainEngine.h"

namespace EngineData::PreCameraUpdate {

struct _DATA : PlainEngine<_DATA, PlainEvents::Defaults> {};

Engine* _Init() { return new _DATA(); }

}  // namespace EngineData::PreCameraUpdate

// "PostCameraUpdate": raises "PostCameraUpdate" on each member every frame, after behaviour; levels take it at 4.9.
// It keeps the engine defaults: "Unload" takes every member out.
#include "framework/engines/PlainEngine.h"

namespace EngineData::PostCameraUpdate {

struct _DATA : PlainEngine<_DATA, PlainEvents::Defaults> {};

Engine* _Init() { return new _DATA(); }

}  // namespace EngineData::PostCameraUpdate

// "PostCameraUpdate": raises "PostCameraUpdate" on each member every frame, after behaviour; levels take it at 4.9.
#include "framework/engines/BuiltInEngines.h"

namespace EngineData::PostCameraUpdate {

namespace {
VariableOffsetTable table;
}  // namespace

struct _DATA : Engine {
    _DATA() : Engine(sizeof(_DATA)) {
        SetUpPrototype(*this, table);
        // Keeps the engine defaults: "Unload" takes every member out.
    }
};

Engine* _Init() { return new _DATA(); }

}  // namespace EngineData::PostCameraUpdate

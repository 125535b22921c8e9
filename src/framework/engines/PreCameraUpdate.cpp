// "PreCameraUpdate": raises "PreCameraUpdate" on each member every frame, first of all; levels take it at 5.1.
#include "framework/engines/BuiltInEngines.h"

namespace EngineData::PreCameraUpdate {

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

}  // namespace EngineData::PreCameraUpdate

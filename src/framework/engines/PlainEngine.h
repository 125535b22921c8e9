#pragma once
// The shape of the built-in engines that do nothing of their own but order
// their members' work: one type per engine name (its record `_DATA` derives
// from PlainEngine<_DATA, ...>), each with its own empty offset table, the
// plain copy function and the teardown that raises its own "Unload".
#include "framework/engines/BuiltInEngines.h"

namespace EngineData {

// Which events a plain engine binds over the engine defaults, in the order
// "Load", "Update", "Unload" (an engine default not bound stays as it is).
enum class PlainEvents {
    Defaults,         // none: "Update" raises the engine's event on members, "Unload" takes every member out
    EmptyLoadUnload,  // empty "Load" and "Unload"; "Update" stays the engine's
    MembersUpdate,    // empty "Load" and "Unload"; "Update" bound to Engine::Update
    Empty,            // empty "Load", "Update" and "Unload": nothing of its own
};

template <class Self, PlainEvents events>
struct PlainEngine : Engine {
    PlainEngine() : Engine(sizeof(Self)) {
        SetUpPrototype(*this, table);
        if constexpr (events == PlainEvents::Defaults) return;
        _AddEvent("Load", Event());
        if constexpr (events == PlainEvents::MembersUpdate) _AddEvent("Update", &Engine::Update);
        if constexpr (events == PlainEvents::Empty) _AddEvent("Update", Event());
        _AddEvent("Unload", Event());
    }

    static inline VariableOffsetTable table;
};

}  // namespace EngineData

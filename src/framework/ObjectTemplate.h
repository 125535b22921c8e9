#pragma once
// The shape every object type shares: a record `_DATA` that derives from
// Object and holds the type's variables as one block, a copy step, a free
// step and a registration step that builds the one prototype.
//
// A type's registration, in order: allocate the prototype and store it in
// the registry slot; set the copy and free steps; set the type name; point
// the offset table at the type's own; join the engines; bind the events;
// clear the offset table; point the variable block at the first variable;
// store each variable's offset under its program-wide number. The defaults
// are the block's member initialisers, so every clone starts from them.
#include "framework/Entity.h"
#include "framework/Object.h"
#include "framework/Variables.h"

namespace ObjectTemplate {

// The record of a type whose variables are the block Vars.
template <class Vars>
struct Data : Object {
    Data() : Object(static_cast<int>(sizeof(Data))) {}
    Vars vars;
};

// The copy step of a type with variables: the copy gets every variable of
// the source (pointers as pointers), then its own "Load" runs with (copy, copy).
template <class Vars>
void Copy(Entity* copy, const Entity* source) {
    ConstructVariables<Vars>(copy, source);
    copy->DoEvent("Load");
}

// The copy step of a type with no variables of its own: only "Load" runs.
inline void CopyLoadOnly(Entity* copy, const Entity*) { copy->DoEvent("Load"); }

// Steps 1 to 4 of a registration: the prototype of Data<Vars>, in the slot.
template <class Vars>
Data<Vars>* Begin(Object*& slot, const char* typeName, VariableOffsetTable& table,
                  void (*copy)(Entity*, const Entity*) = &Copy<Vars>, void (*free)(Entity*) = &Entity::_CallUnload) {
    auto* prototype = new Data<Vars>();
    slot = prototype;
    prototype->_copy = copy;
    prototype->_free = free;
    prototype->_type = typeName;
    prototype->_map = table;
    return prototype;
}

// Steps 7 and 8, after the engines and events are bound: an empty table and
// the variable block's start.
template <class Vars>
void StartVariables(Data<Vars>* prototype, VariableOffsetTable& table) {
    ClearVariableTable(table);
    prototype->_startVar = reinterpret_cast<char*>(&prototype->vars);
}

}  // namespace ObjectTemplate

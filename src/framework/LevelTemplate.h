#pragma once
// The shape every screen and play level shares: a record `_DATA` that derives
// from Level and holds the screen's script variables as one block, reached
// through the type's own offset table exactly as an object type's are.
//
// A level type's registration, in order: build the prototype, set its copy
// and free steps, name it, point the offset table at the type's own, bind
// its events, clear the table, point the variable block at the first
// variable and store each variable's offset. The defaults are the block's
// member initialisers.
#include <string>

#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "framework/Variables.h"

namespace LevelTemplate {

template <class Vars>
struct Data : Level {
    Data() : Level(static_cast<int>(sizeof(Data))) {}
    Vars vars;
};

// Steps 1 to 4: the prototype of Data<Vars>, named, with its steps and table.
template <class Vars>
Data<Vars>* Begin(const char* levelName, VariableOffsetTable& table, void (*copy)(Entity*, const Entity*),
                  void (*free)(Entity*)) {
    auto* prototype = new Data<Vars>();
    prototype->_copy = copy;
    prototype->_free = free;
    prototype->_SetName(levelName);
    prototype->_type = levelName;
    prototype->_map = table;
    return prototype;
}

// After the events: an empty table and the variable block's start.
template <class Vars>
void StartVariables(Data<Vars>* prototype, VariableOffsetTable& table) {
    ClearVariableTable(table);
    prototype->_startVar = reinterpret_cast<char*>(&prototype->vars);
}

// Whether a type name (object type or extended object) is registered.
inline bool IsRegisteredType(const std::string& type) {
    return Object::_FindPrototype(type) != nullptr || Object::_exobjects.count(type) != 0;
}

// Creates an object of type in the current state, or nothing (null) while the
// type is not registered: screens name types that other work registers.
inline Object* SpawnIn(State* state, const std::string& type, const std::string& name = "") {
    if (!IsRegisteredType(type)) return nullptr;
    return Object::MakeCopy(state, type, name.c_str());
}
inline Object* Spawn(const std::string& type, const std::string& name = "") {
    return SpawnIn(State::_currentState, type, name);
}

// Writes a variable of an object when its type has it.
template <class T>
bool SetIfPresent(Entity* entity, int number, const T& value) {
    if (T* variable = FindVariable<T>(entity, number)) {
        *variable = value;
        return true;
    }
    return false;
}

}  // namespace LevelTemplate

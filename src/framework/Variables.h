#pragma once
#include <climits>
#include <cstdint>
#include <new>

#include "framework/Entity.h"
#include "framework/VariableBindings.h"
#include "framework/VariableNames.h"
#include "framework/VariableTypeText.h"

// Per-type table: slot n holds the byte offset of variable n from the entity's
// _startVar, or kVariableAbsent when the type has no variable n.
using VariableOffsetTable = std::int32_t[MAX_ENUM_VALUE];
constexpr std::int32_t kVariableAbsent = INT_MIN;

// Sets every slot of a type's table to "absent"; a type's registration runs it
// before it stores its own offsets, so nothing of an earlier registration stays.
inline void ClearVariableTable(VariableOffsetTable& table) {
    for (int i = 0; i < MAX_ENUM_VALUE; ++i) table[i] = kVariableAbsent;
    ForgetVariableBindings(table);
}

// Records where member lives relative to the entity's variable block, and
// its type text for the script converter.
template <class T>
void BindVariable(VariableOffsetTable& table, const Entity& entity, int number, const T& member) {
    table[number] = static_cast<std::int32_t>(reinterpret_cast<const char*>(&member) - entity._startVar);
    // The member's own size, a pointer's for a pointer member.
    // NOLINTNEXTLINE(bugprone-sizeof-expression)
    RecordVariableBinding(table, number, VariableTypeText(std::type_identity<T>{}), sizeof(T));
}

// Whether the entity's type has variable number.
inline bool HasVariable(const Entity* entity, int number) {
    return entity != nullptr && entity->_map != nullptr && number >= 0 && number < MAX_ENUM_VALUE &&
           entity->_map[number] != kVariableAbsent;
}

// Variable number of entity taken as a T; the caller knows the type has it.
template <class T>
T& Variable(Entity* entity, int number) {
    return *std::launder(reinterpret_cast<T*>(entity->_startVar + entity->_map[number]));
}
template <class T>
const T& Variable(const Entity* entity, int number) {
    return *std::launder(reinterpret_cast<const T*>(entity->_startVar + entity->_map[number]));
}

// Variable number of entity, or null when its type has no such variable.
template <class T>
T* FindVariable(Entity* entity, int number) {
    return HasVariable(entity, number) ? &Variable<T>(entity, number) : nullptr;
}

// The variable block of a type, as a whole. A type keeps its variables in one
// struct Block; the prototype holds it as a member and a clone gets its own
// Block constructed at the same distance from the start of the entity, so
// every offset of the type's table holds for both.
template <class Block>
Block& VariablesOf(Entity* entity) {
    return *std::launder(reinterpret_cast<Block*>(entity->_startVar));
}
template <class Block>
const Block& VariablesOf(const Entity* entity) {
    return *std::launder(reinterpret_cast<const Block*>(entity->_startVar));
}

// Ends a clone's block; the clone's destruction runs it.
template <class Block>
void DestroyVariables(Entity* entity) {
    VariablesOf<Block>(entity).~Block();
}

// Constructs the copy's block from the source's, member by member, and has
// the copy end it when the copy is destroyed. A type's copy function calls it
// first.
template <class Block>
void ConstructVariables(Entity* copy, const Entity* source) {
    ::new (static_cast<void*>(copy->_startVar)) Block(VariablesOf<Block>(source));
    copy->_endVariables = &DestroyVariables<Block>;
}

#pragma once
// The plug-in build environment: what every generated source sees first.
// Plug-ins are built with hidden visibility and -Bsymbolic; everything they
// use of the program (the registries, the entities, the events) is declared
// here from the program's own headers and defined only in the program, so a
// plug-in registers into the program's tables, never copies of its own.
//
// The program's variable enumeration header is never included here: a
// plug-in numbers its variables from its own "ENTITY Enum.h", which may hold
// more names than the program's, and it calls no function of the program
// whose signature holds a table sized by the enumeration.
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <list>
#include <new>
#include <stack>
#include <string>
#include <type_traits>
#include <vector>

#include "framework/Engine.h"
#include "framework/Entity.h"
#include "framework/Event.h"
#include "framework/ExObject.h"
#include "framework/Game.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "framework/TypeReplacement.h"
#include "framework/Vector.h"

// The export and import markers of generated text.
#define GF_DECLSPEC_dllexport __attribute__((visibility("default")))
#define GF_DECLSPEC_dllimport
#define __declspec(what) GF_DECLSPEC_##what
#define EXPORT __declspec(dllexport)
#define IMPORT __declspec(dllimport)

namespace gf_plugin {

// Variable number of entity as a T. A variable the entity's type lacks, or a
// number beyond its table, reaches a zeroed stand-in of the plug-in's own
// (the program logs it once), never memory outside the entity.
template <class T>
T& Variable(const Entity* entity, int number, const char* name) {
    if (void* at = _PluginVariable(const_cast<Entity*>(entity), number, name)) return *static_cast<T*>(at);
    static T standIn{};
    standIn = T{};
    return standIn;
}

// The first element of array variable number of entity, as Pointer; a
// zeroed stand-in array when the entity's type lacks it.
template <class Pointer>
Pointer ArrayVariable(const Entity* entity, int number, const char* name) {
    using Element = std::remove_pointer_t<Pointer>;
    if (void* at = _PluginVariable(const_cast<Entity*>(entity), number, name)) return static_cast<Pointer>(at);
    static Element standIn[64]{};
    for (Element& element : standIn) element = Element{};
    return standIn;
}

}  // namespace gf_plugin

// GETVARIABLE(entity, type, name): the variable name of entity, as type.
// GETVARIABLEP(entity, type *, name): an array variable, as a pointer to its
// first element.
#define GETVARIABLE(entity, type, name) (::gf_plugin::Variable<type>((entity), enum_##name, #name))
#define GETVARIABLEP(entity, type, name) (::gf_plugin::ArrayVariable<type>((entity), enum_##name, #name))

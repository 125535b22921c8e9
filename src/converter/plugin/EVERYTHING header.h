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

// A value made zero again; an array element by element.
template <class T>
void Zero(T& value) {
    if constexpr (std::is_array_v<T>) {
        for (auto& element : value) Zero(element);
    } else {
        value = T{};
    }
}

// Variable number of entity as a T (an array type for an array variable, as
// an extended object's differences name it). A variable the entity's type
// lacks, or a number beyond its table, reaches a zeroed stand-in of the
// plug-in's own (the program logs it once), never memory outside the entity.
template <class T>
T& Variable(const Entity* entity, int number, const char* name) {
    if (void* at = _PluginVariable(const_cast<Entity*>(entity), number, name)) return *static_cast<T*>(at);
    static T standIn{};
    Zero(standIn);
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

// The generated macros take a type text as written, and a type may hold
// commas ("std::unordered_map<unsigned int, unsigned int>*"): they take the
// name as their last argument and the type as everything before it (a type
// of up to seven commas).
#define GF_STRING_(text) #text
#define GF_STRING(text) GF_STRING_(text)
#define GF_JOIN_(a, b) a##b
#define GF_JOIN(a, b) GF_JOIN_(a, b)
#define GF_COUNT_(a1, a2, a3, a4, a5, a6, a7, a8, a9, n, ...) n
#define GF_COUNT(...) GF_COUNT_(__VA_ARGS__, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0)
#define GF_LAST_2(a1, a2) a2
#define GF_LAST_3(a1, a2, a3) a3
#define GF_LAST_4(a1, a2, a3, a4) a4
#define GF_LAST_5(a1, a2, a3, a4, a5) a5
#define GF_LAST_6(a1, a2, a3, a4, a5, a6) a6
#define GF_LAST_7(a1, a2, a3, a4, a5, a6, a7) a7
#define GF_LAST_8(a1, a2, a3, a4, a5, a6, a7, a8) a8
#define GF_LAST_9(a1, a2, a3, a4, a5, a6, a7, a8, a9) a9
#define GF_FIRSTS_2(a1, a2) a1
#define GF_FIRSTS_3(a1, a2, a3) a1, a2
#define GF_FIRSTS_4(a1, a2, a3, a4) a1, a2, a3
#define GF_FIRSTS_5(a1, a2, a3, a4, a5) a1, a2, a3, a4
#define GF_FIRSTS_6(a1, a2, a3, a4, a5, a6) a1, a2, a3, a4, a5
#define GF_FIRSTS_7(a1, a2, a3, a4, a5, a6, a7) a1, a2, a3, a4, a5, a6
#define GF_FIRSTS_8(a1, a2, a3, a4, a5, a6, a7, a8) a1, a2, a3, a4, a5, a6, a7
#define GF_FIRSTS_9(a1, a2, a3, a4, a5, a6, a7, a8, a9) a1, a2, a3, a4, a5, a6, a7, a8
// The last argument; all the others.
#define GF_LAST(...) GF_JOIN(GF_LAST_, GF_COUNT(__VA_ARGS__))(__VA_ARGS__)
#define GF_FIRSTS(...) GF_JOIN(GF_FIRSTS_, GF_COUNT(__VA_ARGS__))(__VA_ARGS__)

// GETVARIABLE(entity, type, name): the variable name of entity, as type.
// GETVARIABLEP(entity, type *, name): an array variable, as a pointer to its
// first element.
#define GETVARIABLE(entity, ...)                                                                   \
    (::gf_plugin::Variable<GF_FIRSTS(__VA_ARGS__)>((entity), GF_JOIN(enum_, GF_LAST(__VA_ARGS__)), \
                                                   GF_STRING(GF_LAST(__VA_ARGS__))))
#define GETVARIABLEP(entity, ...)                                                                       \
    (::gf_plugin::ArrayVariable<GF_FIRSTS(__VA_ARGS__)>((entity), GF_JOIN(enum_, GF_LAST(__VA_ARGS__)), \
                                                        GF_STRING(GF_LAST(__VA_ARGS__))))

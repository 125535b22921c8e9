#pragma once
// The type text a bound variable reports to the script converter: the C++
// spelling of the variable's type in the script dialect, so that the instance
// editor and generated code read the variable's memory as what it is. Every
// type a registration binds needs one; a type defined in a higher layer
// declares its own overload next to its definition (found by argument-
// dependent lookup when the binding is compiled); a type with none reports
// an empty text.
#include <cstdint>
#include <list>
#include <stack>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "framework/HashCompare.h"
#include "framework/Vector.h"

class Entity;
class Object;
class Level;
class Engine;
class Game;

inline std::string VariableTypeText(std::type_identity<std::int32_t>) { return "int"; }
inline std::string VariableTypeText(std::type_identity<std::uint32_t>) { return "unsigned int"; }
inline std::string VariableTypeText(std::type_identity<float>) { return "float"; }
inline std::string VariableTypeText(std::type_identity<double>) { return "double"; }
inline std::string VariableTypeText(std::type_identity<bool>) { return "bool"; }
inline std::string VariableTypeText(std::type_identity<char>) { return "char"; }
inline std::string VariableTypeText(std::type_identity<char*>) { return "char *"; }
inline std::string VariableTypeText(std::type_identity<const char*>) { return "char *"; }
inline std::string VariableTypeText(std::type_identity<unsigned char*>) { return "unsigned char *"; }
inline std::string VariableTypeText(std::type_identity<std::int32_t*>) { return "int *"; }
inline std::string VariableTypeText(std::type_identity<std::uint32_t*>) { return "unsigned int *"; }
inline std::string VariableTypeText(std::type_identity<D3DXVECTOR2>) { return "Vec2"; }
inline std::string VariableTypeText(std::type_identity<D3DXVECTOR3>) { return "Vec3"; }
inline std::string VariableTypeText(std::type_identity<std::string>) { return "std::string"; }
inline std::string VariableTypeText(std::type_identity<Entity*>) { return "Entity*"; }
inline std::string VariableTypeText(std::type_identity<Object*>) { return "Object*"; }
inline std::string VariableTypeText(std::type_identity<Level*>) { return "Level*"; }
inline std::string VariableTypeText(std::type_identity<Engine*>) { return "Engine*"; }
inline std::string VariableTypeText(std::type_identity<Game*>) { return "Game*"; }
inline std::string VariableTypeText(std::type_identity<HashMap<Entity*>>) { return "EngineHashMap"; }
inline std::string VariableTypeText(std::type_identity<HashMap<Object*>>) { return "ObjectHashMap"; }
inline std::string VariableTypeText(std::type_identity<std::list<Entity*>>) { return "std::list<Entity*>"; }
inline std::string VariableTypeText(std::type_identity<std::list<Entity*>::iterator>) {
    return "std::list<Entity*>::iterator";
}
inline std::string VariableTypeText(std::type_identity<std::list<char>>) { return "std::list<char>"; }
inline std::string VariableTypeText(std::type_identity<std::list<int>>) { return "std::list<int>"; }
inline std::string VariableTypeText(std::type_identity<std::list<Engine*>>) { return "std::list<Engine*>"; }
inline std::string VariableTypeText(std::type_identity<std::vector<int>>) { return "std::vector<int>"; }
inline std::string VariableTypeText(std::type_identity<std::vector<void*>>) { return "std::vector<HANDLE>"; }
inline std::string VariableTypeText(std::type_identity<std::vector<D3DXVECTOR2>>) { return "std::vector<Vec2>"; }
inline std::string VariableTypeText(std::type_identity<std::vector<Entity*>>) { return "std::vector<Entity*>"; }
inline std::string VariableTypeText(std::type_identity<std::vector<Object*>>) { return "std::vector<Object*>"; }
inline std::string VariableTypeText(std::type_identity<std::vector<Engine*>>) { return "std::vector<Engine*>"; }
inline std::string VariableTypeText(std::type_identity<std::vector<std::string>>) { return "std::vector<std::string>"; }
inline std::string VariableTypeText(std::type_identity<std::stack<D3DXVECTOR2>>) { return "std::stack<Vec2>"; }
inline std::string VariableTypeText(std::type_identity<std::unordered_map<std::uint32_t, std::uint32_t>*>) {
    return "std::unordered_map<unsigned int, unsigned int>*";
}
inline std::string VariableTypeText(std::type_identity<std::unordered_map<std::uint32_t, std::vector<Entity*>>*>) {
    return "std::unordered_map<unsigned int, std::vector<Entity*>>*";
}
inline std::string VariableTypeText(std::type_identity<std::vector<Entity*>*>) { return "std::vector<Entity*>*"; }
// A function pointer has no "type name" spelling of its own: its text is the
// name the plug-in build environment gives the type, so that a script can
// declare such a variable and generated code compiles.
inline std::string VariableTypeText(std::type_identity<void (*)(void*)>) { return "VoidFunction"; }

// A type without a text of its own reports none: the converter lists the
// variable but reads and writes nothing through it.
template <class T>
std::string VariableTypeText(std::type_identity<T>) {
    return {};
}

// An array member reports its element type and "[]" ("int[]"): it is no
// pointer, so nothing may read it as one. The count stays out, so that two
// types holding the same array variable in different lengths name it alike.
template <class T, std::size_t N>
std::string VariableTypeText(std::type_identity<T[N]>) {
    return VariableTypeText(std::type_identity<T>{}) + "[]";
}

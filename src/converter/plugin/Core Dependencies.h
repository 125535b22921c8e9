#pragma once
// The program's records that a stencil's variables may hold, under the names
// the script dialect gives them; the copy and free steps of generated code
// construct and end the special ones in place.
#include <list>
#include <stack>
#include <string>
#include <unordered_map>
#include <vector>

#include "collision/CollisionEngine.h"
#include "converter/CppData.h"
#include "framework/HashCompare.h"
#include "framework/LevelCollision.h"
#include "framework/Profiler.h"
#include "framework/Vector.h"
#include "platform/graphics/FrameCounter.h"

// Records a stencil variable may point to; only the program reaches into them.
struct TextData;
class SolverData;
struct Action;

typedef void* HANDLE;
typedef D3DXVECTOR2 Vec2;
typedef D3DXVECTOR3 Vec3;
// A function taking one pointer (the game's "GameFunction", say).
typedef void (*VoidFunction)(void*);

// A map by name, the dialect's hash_map (its destructor is named so).
template <class Key, class Value>
class hash_map : public std::unordered_map<Key, Value, HashCompare> {
public:
    using std::unordered_map<Key, Value, HashCompare>::unordered_map;
};

typedef hash_map<std::string, Engine*> EngineHashMap;
typedef hash_map<std::string, Object*> ObjectHashMap;
typedef hash_map<std::string, CppData> CppDataHashMap;
typedef std::list<Entity*>::iterator EntityListIter;

// A window's placement as a stencil variable may keep it (windows themselves
// belong to states and are made by the window layer).
class GuiWindow {
public:
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::string title;
};

namespace gf_plugin {

template <class T, class... Special>
constexpr bool IsOneOf = (std::is_same_v<T, Special> || ...);

// The member types the generated copy step constructs in place.
template <class T>
constexpr bool IsSpecial =
    IsOneOf<T, std::string, EngineHashMap, ObjectHashMap, EntityListIter, std::list<Entity*>, std::list<char>,
            std::list<Engine*>, std::vector<int>, std::vector<HANDLE>, std::vector<Vec2>, std::vector<Profile>,
            std::vector<Object*>, std::vector<Engine*>, std::vector<std::string>, std::stack<Vec2>, FrameCounter,
            CollisionInfo2D, GuiWindow, LevelCollision, Profile, CppData, CppFunctions, CppDataHashMap>;

// Whether the copy step may assign a member of type T: the clone's storage
// comes raw, so a member must be trivially copyable or constructed first.
template <class T>
constexpr bool IsCopyableMember =
    std::is_trivially_copyable_v<std::remove_all_extents_t<T>> || IsSpecial<std::remove_all_extents_t<T>>;

// Joins the copy to an engine: with a handler, or with the handler already
// bound under the engine's name.
inline void JoinEngine(Entity* copy, const char* engine, Event::Handler handler) {
    static_cast<Object*>(copy)->AddToEngine(engine, Event(handler));
}
inline void JoinEngine(Entity* copy, const char* engine, double) {
    static_cast<Object*>(copy)->AddToEngine(engine, copy->GetEvent(engine));
}

// A copy of a registered engine, into the current state (the game's engines
// when state is null).
inline void CopyEngine(State* state, const char* engine, double priority) {
    State* remembered = State::_currentState;
    State::_currentState = state;
    Engine::_MakeCopy(engine, priority);
    State::_currentState = remembered;
}

// An object of type named name in the state of copy.
inline void MakeInstance(Entity* copy, const char* type, const char* name) {
    Object::MakeCopy(copy->_state != nullptr ? copy->_state : State::_currentState, type, name);
}

}  // namespace gf_plugin

// What BIND does for every kind: the prototype of the generated record in
// slot, its type name, its free step, and its offset table's slot count.
#define GF_BIND_PROTOTYPE(slot, TypeName) \
    slot = new _DATA();                   \
    slot->_type = #TypeName;              \
    slot->_free = &_Free;                 \
    _RegisterVariableTable(_entityOffset_##TypeName, MAX_ENUM_VALUE)

// BINDVARIABLE(type, member): refuses at compile time, by name, a member the
// copy step cannot copy into a clone's raw storage.
// The type (its text may hold commas) is everything before the member.
#define BINDVARIABLE(...) \
    static_assert(::gf_plugin::IsCopyableMember<decltype(_DATA::GF_LAST(__VA_ARGS__))>,         \
                  "variable \"" GF_STRING(GF_LAST(__VA_ARGS__)) "\" is neither trivially copyable " \
                  "nor of a special type: the copy step cannot copy it")

// INSTANCE(type, "name"): an object of the objects section, made with the copy.
#define INSTANCE(type, name) ::gf_plugin::MakeInstance(copy, #type, name)

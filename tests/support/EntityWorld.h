#pragma once
// Test helper: a clean entity world (registries, game entity, states) per
// test, and small object, engine and level types that log what they hear.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Engine.h"
#include "framework/ExObject.h"
#include "framework/Game.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/Quit.h"
#include "framework/State.h"
#include "framework/Variables.h"

namespace world {

// What the handlers heard, in order.
inline std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

// Logs "<self name>:<tag>".
template <const char* Tag>
void LogHandler(Entity* self, Entity*) {
    Log().push_back(self->GetName() + ":" + Tag);
}

// A small object type with a variable block.
struct ThingVariables {
    D3DXVECTOR3 position;
    D3DXVECTOR2 size{1.0f, 1.0f};
    bool navigable = true;
    int counter = 0;
    std::string label = "thing";
};

struct Thing : Object {
    Thing() : Object(sizeof(Thing)) {}
    double padding = 0.0;  // keeps the block away from the Object part
    ThingVariables vars;
};

inline VariableOffsetTable& ThingTable() {
    static VariableOffsetTable table;
    return table;
}

inline void CopyThing(Entity* copy, const Entity* source) {
    ConstructVariables<ThingVariables>(copy, source);
    copy->DoEvent("Load");
}

inline void CountLoad(Entity* self, Entity*) { ++VariablesOf<ThingVariables>(self).counter; }

// A prototype of the thing type under name, registered.
inline Thing* RegisterThing(const char* name) {
    auto* prototype = new Thing();
    prototype->_SetName(name);
    prototype->_copy = &CopyThing;
    prototype->_free = &Entity::_CallUnload;
    prototype->_map = ThingTable();
    prototype->_startVar = reinterpret_cast<char*>(&prototype->vars);
    ClearVariableTable(ThingTable());
    BindVariable(ThingTable(), *prototype, enum_position, prototype->vars.position);
    BindVariable(ThingTable(), *prototype, enum_size, prototype->vars.size);
    BindVariable(ThingTable(), *prototype, enum_isButton, prototype->vars.navigable);
    BindVariable(ThingTable(), *prototype, enum_counter, prototype->vars.counter);
    prototype->_AddEvent("Load", &CountLoad);
    Object::_IncludeObject(name, prototype);
    prototype->_type = name;
    return prototype;
}

// A plain engine type registered under name.
inline Engine* RegisterEngine(const char* name) {
    auto* prototype = new Engine(sizeof(Engine));
    prototype->_SetName(name);
    prototype->_type = name;
    Engine::_IncludeEngine(name, prototype);
    return prototype;
}

// Everything a world or a run of the program leaves: the states, the objects,
// the game, and every registry with its prototypes.
inline void TakeApart() {
    for (State* state : State::_list) delete state;
    State::_list.clear();
    State::_currentState = nullptr;
    Object::_DeleteAll();
    Game::_Shutdown();
    for (auto& [name, prototype] : Object::_objects) Entity::_Destroy(prototype);
    Object::_objects.clear();
    for (auto& [name, exObject] : Object::_exobjects) delete exObject;
    Object::_exobjects.clear();
    Object::_groups.clear();
    for (auto& [name, prototype] : Engine::_engines) Entity::_Destroy(prototype);
    Engine::_engines.clear();
    for (auto& [name, prototype] : Level::_levels) Entity::_Destroy(prototype);
    Level::_levels.clear();
}

// The fixture: every test starts from empty registries and a fresh game.
class EntityWorld : public ::testing::Test {
protected:
    void SetUp() override {
        Log().clear();
        Quitting.store(false);
        // No devices in these tests: every hook starts empty.
        State::hooks = StateHooks{};
        Game::hooks = GameHooks{};
        Object::_ResetID();
        Game::_FirstInit();
    }

    void TearDown() override {
        TakeApart();
        State::hooks = State::DefaultHooks();
        Game::hooks = Game::DefaultHooks();
        Quitting.store(false);
    }

    // Makes a state and lists it as CreateStateByName does.
    State* NewState(const std::string& level) {
        auto* state = new State(level, true);
        State::_list.push_back(state);
        return state;
    }
};

}  // namespace world

namespace world {

// A level type registered under name; its copy function (if any) builds it.
inline Level* RegisterLevel(const char* name, void (*copy)(Entity*, const Entity*) = nullptr) {
    auto* prototype = new Level(sizeof(Level));
    prototype->_SetName(name);
    prototype->_type = name;
    prototype->_copy = copy;
    prototype->_free = &Entity::_CallUnload;
    Level::_IncludeLevel(name, prototype);
    return prototype;
}

}  // namespace world

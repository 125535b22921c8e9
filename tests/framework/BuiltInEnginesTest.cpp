#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "framework/TypeRegistry.h"
#include "framework/engines/BuiltInEngines.h"
#include "platform/window/WindowClass.h"
#include "support/EntityWorld.h"

using namespace world;

namespace {

// The framework's own built-in engines (the network step is the network
// layer's, and "Sound" would start the sound device).
class BuiltInEnginesTest : public EntityWorld {
protected:
    void SetUp() override {
        EntityWorld::SetUp();
        for (const EngineTypeEntry& entry : EngineTypes()) {
            const std::string name = entry.name;
            if (entry.init == nullptr || name == "Sound" || name == "NetworkingUpdate") continue;
            Engine* prototype = entry.init();
            prototype->_type = entry.name;
            Engine::_IncludeEngine(entry.name, prototype);
        }
    }
    void TearDown() override {
        WindowClass::showCursor.store(true);
        EntityWorld::TearDown();
    }
    static Engine* Prototype(const std::string& name) { return Engine::_engines[name]; }
};

// One level type that takes the engines its table lists, in that order.
std::vector<std::pair<std::string, double>> levelEngines;
void TakeListedEngines(Entity*, const Entity*) {
    for (const auto& [name, priority] : levelEngines) Engine::_MakeCopy(name, priority);
}

// Members that note which engine reached them.
void NoteBehavior(Entity* self, Entity*) { Log().push_back(self->GetName() + ":Behavior"); }
void NoteDraw(Entity* self, Entity*) { Log().push_back(self->GetName() + ":GraphicsDraw"); }

}  // namespace

TEST_F(BuiltInEnginesTest, AllThirteenAreRegisteredInOrder) {
    const std::vector<std::string> expected = {
        "Behavior",     "Behavior2", "GameInput",        "GraphicsDraw",     "GraphicsUpdate",
        "GuiManager",   "Input",     "NetworkingUpdate", "PostCameraUpdate", "PreCameraUpdate",
        "ProfilerDraw", "Sound",     "WindowEngine"};
    std::vector<std::string> names;
    for (const EngineTypeEntry& entry : EngineTypes()) {
        names.push_back(entry.name);
        EXPECT_NE(entry.init, nullptr) << entry.name;
    }
    EXPECT_EQ(names, expected);
}

TEST_F(BuiltInEnginesTest, PrototypesShareTheirShape) {
    for (const auto& [name, prototype] : Engine::_engines) {
        SCOPED_TRACE(name);
        ASSERT_NE(prototype, nullptr);
        EXPECT_EQ(prototype->_copy, &EngineData::PlainCopy);
        EXPECT_EQ(prototype->_free, &Entity::_CallUnload);
        ASSERT_NE(prototype->_map, nullptr);
        EXPECT_FALSE(HasVariable(prototype, enum_position));  // no variables of their own
        EXPECT_EQ(prototype->_startVar, nullptr);
    }
}

TEST_F(BuiltInEnginesTest, HandlersAsBound) {
    // What each event holds: "engine" = the engine default, "empty", "own" = a
    // handler of the type's own; "Super." keeps the replaced default.
    struct Row {
        const char* name;
        const char* load;
        const char* update;
        const char* unload;
    };
    const Row rows[] = {
        {"Behavior", "empty", "engine", "empty"},
        {"Behavior2", "empty", "engine", "empty"},
        {"GameInput", "empty", "own", "empty"},
        {"GraphicsDraw", "empty", "engine", "empty"},
        {"GraphicsUpdate", "empty", "engine", "empty"},
        {"GuiManager", "empty", "own", "empty"},
        {"Input", "own", "empty", "empty"},
        {"PostCameraUpdate", "engine", "engine", "engine"},
        {"PreCameraUpdate", "engine", "engine", "engine"},
        {"ProfilerDraw", "empty", "own", "empty"},
        {"WindowEngine", "empty", "empty", "empty"},
    };
    auto kind = [](Engine* e, const std::string& event, Event::Handler fallback) -> std::string {
        Event handler = e->GetEvent(event);
        if (handler == fallback) return "engine";
        if (!handler) return "empty";
        return "own";
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Engine* e = Prototype(row.name);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(kind(e, "Load", &Engine::Load), row.load);
        EXPECT_EQ(kind(e, "Update", &Engine::Update), row.update);
        EXPECT_EQ(kind(e, "Unload", &Engine::Unload), row.unload);
        // A bound default moves under "Super.".
        if (std::string(row.unload) != "engine") {
            EXPECT_TRUE(e->GetEvent("Super.Unload") == &Engine::Unload);
        } else {
            EXPECT_FALSE(e->GetEvent("Super.Unload"));
        }
    }
    EXPECT_TRUE(Prototype("GraphicsDraw")->GetEvent("Super.Update") == &Engine::Update);
    EXPECT_FALSE(Prototype("Behavior")->GetEvent("Super.Update"));
    EXPECT_TRUE(Prototype("ProfilerDraw")->GetEvent("Draw"));
}

TEST_F(BuiltInEnginesTest, BehaviourRunsBeforeDrawingWhateverTheOrderTaken) {
    RegisterThing("Dot");
    for (bool drawFirst : {false, true}) {
        SCOPED_TRACE(drawFirst);
        levelEngines = drawFirst ? decltype(levelEngines){{"GraphicsDraw", 1.0}, {"Behavior", 5.0}}
                                 : decltype(levelEngines){{"Behavior", 5.0}, {"GraphicsDraw", 1.0}};
        const std::string levelName = drawFirst ? "DrawFirst" : "BehaviorFirst";
        RegisterLevel(levelName.c_str(), &TakeListedEngines);
        State* state = NewState(levelName);
        State::_currentState = state;
        Object* dot = Object::MakeCopy(state, "Dot", "dot");
        ASSERT_NE(dot, nullptr);
        static_cast<Engine*>(state->level->GetMyEngine("Behavior"))->AddAnObject(dot, &NoteBehavior);
        static_cast<Engine*>(state->level->GetMyEngine("GraphicsDraw"))->AddAnObject(dot, &NoteDraw);
        State::_currentState = nullptr;
        Log().clear();
        state->Update();
        EXPECT_EQ(Log(), (std::vector<std::string>{"dot:Behavior", "dot:GraphicsDraw"}));
        state->Quit();
        State::EndOfFrame();
        Quitting.store(false);
    }
}

TEST_F(BuiltInEnginesTest, UnusedEnginesCanBeTakenByNameAndWindowEngineDoesNothing) {
    levelEngines = {{"Behavior2", 3.0}, {"GameInput", 2.0}, {"Input", 1.5}, {"WindowEngine", 1.0}};
    RegisterLevel("Unused", &TakeListedEngines);
    RegisterThing("Dot");
    State* state = NewState("Unused");
    ASSERT_EQ(state->Engines().size(), 4u);
    State::_currentState = state;
    Object* dot = Object::MakeCopy(state, "Dot", "dot");
    auto* window = static_cast<Engine*>(state->level->GetMyEngine("WindowEngine"));
    ASSERT_NE(window, nullptr);
    window->AddAnObject(dot, &NoteBehavior);
    State::_currentState = nullptr;
    Log().clear();
    state->Update();
    EXPECT_TRUE(Log().empty());  // its "Update" raises nothing on its members
}

TEST_F(BuiltInEnginesTest, GuiManagerUpdatesTheCursorEachFrame) {
    Engine* copy = Engine::_MakeCopy("GuiManager", 2.0);  // game-wide
    ASSERT_NE(copy, nullptr);
    // No window asks for the game's own cursor: the system cursor shows.
    WindowClass::showCursor.store(false);
    Game::Update();
    EXPECT_TRUE(WindowClass::showCursor.load());
}

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "framework/Globals.h"
#include "framework/SaveFile.h"
#include "support/EntityWorld.h"
#include "support/TempFolder.h"

using namespace world;

namespace {

// Every engine's members log "<engine>" when the engine raises its name.
void LogEngine(Entity*, Entity* engine) { Log().push_back(engine->GetName()); }
void LogLevelUpdate(Entity* self, Entity*) { Log().push_back(self->GetName() + ":update"); }
void LogLevelUnload(Entity* self, Entity*) { Log().push_back(self->GetName() + ":unload"); }
void LogRestart(Entity* self, Entity* old) {
    Log().push_back(self->GetName() + ":restart from " + (old != nullptr && old != self ? old->GetName() : "?"));
}

bool throwInEngine = false;
void MaybeThrow(Entity*, Entity*) {
    if (throwInEngine) throw std::runtime_error("handler failed");
}

// The logging level: engines at 5, 1, 5, 3 and -2, and one member in each.
void BuildLogger(Entity* self, Entity*) {
    Log().push_back(self->GetName() + ":built");
    Engine::_MakeCopy("A5", 5.0);
    Engine::_MakeCopy("B1", 1.0);
    Engine::_MakeCopy("C5", 5.0);
    Engine::_MakeCopy("D3", 3.0);
    Engine::_MakeCopy("ENeg", -2.0);
    Object* member = MakeCopy("Member", "M");
    for (const char* name : {"A5", "B1", "C5", "D3", "ENeg"}) member->AddToEngine(name, &LogEngine);
}

void CopyLogger(Entity* self, const Entity*) { BuildLogger(self, nullptr); }

class StateTest : public EntityWorld {
protected:
    void SetUp() override {
        EntityWorld::SetUp();
        CopyPath(Globals.userDataFolder, home.Path());
        for (const char* name : {"A5", "B1", "C5", "D3", "ENeg"}) RegisterEngine(name);
        auto* member = RegisterThing("Member");
        member->_AddEvent("Throw", &MaybeThrow);
        for (const char* name : {"Logger", "Other"}) {
            Level* level = RegisterLevel(name, &CopyLogger);
            level->_AddEvent("Update", &LogLevelUpdate);
            level->_AddEvent("Unload", &LogLevelUnload);
            level->_AddEvent("Restart", &LogRestart);
        }
        RegisterLevel("Plain");
        throwInEngine = false;
        State::hooks.beginFrame = [](State* s) {
            s->takenBuffer = reinterpret_cast<Buffer*>(s);  // any non-null mark
            Log().push_back("begin");
        };
        State::hooks.endFrame = [](State*) { Log().push_back("end"); };
        State::hooks.abandonFrame = [](State*) { Log().push_back("abandon"); };
    }
    void TearDown() override {
        EntityWorld::TearDown();
        Globals.userDataFolder[0] = '\0';
    }
    bool Saved() const { return std::filesystem::exists(SaveFilePath()); }
    void ForgetSave() { std::filesystem::remove(SaveFilePath()); }

    TempFolder home;
};

}  // namespace

TEST_F(StateTest, FrameRunsLevelThenEnginesByPriority) {
    State* state = NewState("Logger");
    EXPECT_EQ(Log(), (std::vector<std::string>{"Logger:built"}));
    EXPECT_EQ(state->GetLevelName(), "Logger");
    Log().clear();
    EXPECT_TRUE(State::UpdateAll());
    EXPECT_EQ(Log(), (std::vector<std::string>{"begin", "Logger:update", "A5", "C5", "D3", "B1", "ENeg", "end"}));
    EXPECT_EQ(State::_currentState, nullptr);
    EXPECT_EQ(state->takenBuffer, nullptr);

    // A new priority does not move an engine already listed.
    State::_currentState = state;
    static_cast<Engine*>(state->entities["B1"])->SetPriority(10.0);
    State::_currentState = nullptr;
    EXPECT_TRUE(state->priorityChanged);
    Log().clear();
    State::UpdateAll();
    EXPECT_EQ(Log(), (std::vector<std::string>{"begin", "Logger:update", "A5", "C5", "D3", "B1", "ENeg", "end"}));
    EXPECT_FALSE(state->priorityChanged);
    EXPECT_FALSE(Saved());
}

TEST_F(StateTest, GameEnginesRunBeforeTheStates) {
    RegisterEngine("GuiManager");
    RegisterEngine("Sound");
    Game::_FirstInit();
    ASSERT_EQ(GetMyGame()->engines.size(), 2u);
    EXPECT_EQ(GetMyGame()->engines.front()->GetName(), "GuiManager");
    Object* member = Object::MakeCopy(nullptr, "Member", "GameWide");
    member->AddToEngine("Sound", &LogEngine);
    member->AddToEngine("GuiManager", &LogEngine);
    NewState("Logger");
    Log().clear();
    State::UpdateAll();
    EXPECT_EQ(Log(), (std::vector<std::string>{"GuiManager", "Sound", "begin", "Logger:update", "A5", "C5", "D3", "B1",
                                               "ENeg", "end"}));
    member->_Delete();
}

TEST_F(StateTest, QuitBeforeTheEnginesSavesOnceAndEndsTheState) {
    State* state = NewState("Logger");
    State::SetLevel(state, "Quit");
    Log().clear();
    State::UpdateAll();
    EXPECT_TRUE(Saved());
    EXPECT_TRUE(state->Deleted());
    EXPECT_TRUE(Log().empty());  // nothing else ran for this state
    ForgetSave();
    State::EndOfFrame();
    EXPECT_TRUE(State::_list.empty());
    EXPECT_TRUE(Quitting.load());
    // The level heard "Unload" as the state went.
    EXPECT_EQ(Log(), (std::vector<std::string>{"Logger:unload"}));
    EXPECT_FALSE(Saved());
}

namespace {
State* asking = nullptr;
std::string request;
void AskDuringEngines(Entity*, Entity*) {
    if (!request.empty()) State::SetLevel(asking, request);
    request.clear();
}
}  // namespace

TEST_F(StateTest, QuitAfterTheEnginesStillEndsTheFrame) {
    State* state = NewState("Logger");
    asking = state;
    request = "Quit";
    static_cast<Object*>(state->entities["M"])->AddToEngine("D3", &AskDuringEngines);
    Log().clear();
    State::UpdateAll();
    EXPECT_EQ(Log(), (std::vector<std::string>{"begin", "Logger:update", "A5", "C5", "B1", "ENeg", "end"}));
    EXPECT_TRUE(Saved());
    EXPECT_TRUE(state->Deleted());
    State::EndOfFrame();
    EXPECT_TRUE(Quitting.load());
}

TEST_F(StateTest, RestartReloadsTheLevelBeforeOrAfterTheEngines) {
    for (bool during : {false, true}) {
        SCOPED_TRACE(during ? "after the engines" : "before the engines");
        State* state = NewState("Logger");
        Level* old = state->GetLevel();
        asking = state;
        if (during) {
            request = "Restart";
            static_cast<Object*>(state->entities["M"])->AddToEngine("D3", &AskDuringEngines);
        } else {
            State::SetLevel(state, "Restart");
        }
        Log().clear();
        State::UpdateAll();
        EXPECT_TRUE(Saved());
        EXPECT_NE(state->GetLevel(), old);
        EXPECT_EQ(state->GetLevelName(), "Logger");
        EXPECT_EQ(state->GetNextLevelName(), "Logger");
        const std::vector<std::string> restart = {"Logger:unload", "Logger:built", "Logger:restart from Logger"};
        auto at = std::search(Log().begin(), Log().end(), restart.begin(), restart.end());
        EXPECT_NE(at, Log().end());
        EXPECT_EQ(std::count(Log().begin(), Log().end(), "Logger:unload"), 1);
        ForgetSave();
        Log().clear();
        State::UpdateAll();
        EXPECT_FALSE(Saved());  // one save per request
        EXPECT_EQ(Log(), (std::vector<std::string>{"begin", "Logger:update", "A5", "C5", "D3", "B1", "ENeg", "end"}));
        State::SetLevel(state, "Quit");
        State::UpdateAll();
        State::EndOfFrame();
        Quitting.store(false);
    }
}

TEST_F(StateTest, SwitchUnloadsTheOldLevelWithItsHandlers) {
    State* state = NewState("Logger");
    State::SetLevel(state, "Other");
    Log().clear();
    State::UpdateAll();
    ASSERT_GE(Log().size(), 2u);
    EXPECT_EQ(Log()[0], "Logger:unload");
    EXPECT_EQ(Log()[1], "Other:built");
    EXPECT_EQ(state->GetLevelName(), "Other");
    EXPECT_EQ(state->previousLevelName, "Logger");
    EXPECT_EQ(state->entities.count("Logger"), 0u);
    EXPECT_NE(state->entities["Other"], nullptr);
    // Writing the current level's own name changes nothing.
    ForgetSave();
    State::SetLevel(state, "Other");
    Level* level = state->GetLevel();
    State::UpdateAll();
    EXPECT_EQ(state->GetLevel(), level);
    EXPECT_FALSE(Saved());
}

TEST_F(StateTest, UnknownLevelKeepsTheStateWhereItIs) {
    State* state = NewState("Logger");
    Level* level = state->GetLevel();
    const std::size_t registered = Level::_levels.size();
    State::SetLevel(state, "Nowhere");
    Log().clear();
    State::UpdateAll();
    EXPECT_EQ(state->GetLevel(), level);
    EXPECT_EQ(state->GetLevelName(), "Logger");
    EXPECT_EQ(state->GetNextLevelName(), "Logger");
    EXPECT_EQ(Level::_levels.size(), registered);
    EXPECT_EQ(Level::_Load("Nowhere"), nullptr);
    EXPECT_EQ(Level::_levels.size(), registered);
    EXPECT_FALSE(Saved());
    EXPECT_EQ(Log(), (std::vector<std::string>{"begin", "Logger:update", "A5", "C5", "D3", "B1", "ENeg", "end"}));

    // A state made on an unknown level holds none and still runs its frames.
    State* empty = NewState("Nowhere");
    EXPECT_EQ(empty->GetLevel(), nullptr);
    EXPECT_TRUE(State::UpdateAll());
}

TEST_F(StateTest, UnknownEngineIsNotMade) {
    State* state = NewState("Plain");
    State::_currentState = state;
    const std::size_t registered = Engine::_engines.size();
    EXPECT_EQ(Engine::_MakeCopy("NoEngine", 1.0), nullptr);
    EXPECT_EQ(Engine::_engines.size(), registered);
    EXPECT_TRUE(state->engines.empty());
    EXPECT_EQ(state->entities.count("NoEngine"), 0u);
    State::_currentState = nullptr;
}

TEST_F(StateTest, AnEscapedExceptionRestartsEveryStateButOneQuitting) {
    State* failing = NewState("Logger");
    State* leaving = NewState("Other");
    static_cast<Object*>(failing->entities["M"])->AddToEngine("C5", &MaybeThrow);
    State::SetLevel(leaving, "Quit");
    leaving->Quit();
    throwInEngine = true;
    Log().clear();
    EXPECT_FALSE(State::UpdateAll());
    EXPECT_EQ(State::_currentState, nullptr);
    EXPECT_EQ(failing->takenBuffer, nullptr);
    EXPECT_EQ(std::count(Log().begin(), Log().end(), "abandon"), 1);
    EXPECT_EQ(failing->GetNextLevelName(), "Restart");
    EXPECT_EQ(leaving->GetNextLevelName(), "Quit");
    throwInEngine = false;
    State::EndOfFrame();
    ASSERT_EQ(State::_list.size(), 1u);
    Log().clear();
    EXPECT_TRUE(State::UpdateAll());
    EXPECT_NE(std::find(Log().begin(), Log().end(), "Logger:restart from Logger"), Log().end());
}

TEST_F(StateTest, EngineWalkSurvivesRemovals) {
    // Members P, Q and R of one engine: P removes R, Q removes itself.
    struct Script {
        static void RemoveR(Entity* self, Entity* engine) {
            Log().push_back(self->GetName());
            static_cast<Engine*>(engine)->RemoveAnObject("R");
        }
        static void RemoveSelf(Entity* self, Entity* engine) {
            Log().push_back(self->GetName());
            static_cast<Engine*>(engine)->RemoveAnObject(self);
        }
        static void Plain(Entity* self, Entity*) { Log().push_back(self->GetName()); }
    };
    State* state = NewState("Plain");
    State::_currentState = state;
    Engine* engine = Engine::_MakeCopy("A5", 5.0);
    Object* p = MakeCopy("Member", "P");
    Object* q = MakeCopy("Member", "Q");
    Object* r = MakeCopy("Member", "R");
    Object* s = MakeCopy("Member", "S");
    p->AddToEngine(engine, &Script::RemoveR);
    q->AddToEngine(engine, &Script::RemoveSelf);
    r->AddToEngine(engine, &Script::Plain);
    s->AddToEngine(engine, &Script::Plain);
    Log().clear();
    Entity::_DoEvent("Update", nullptr, engine);
    EXPECT_EQ(Log(), (std::vector<std::string>{"P", "Q", "S"}));
    EXPECT_EQ(engine->MemberCount(), 2u);
    Log().clear();
    Entity::_DoEvent("Update", nullptr, engine);
    EXPECT_EQ(Log(), (std::vector<std::string>{"P", "S"}));
    State::_currentState = nullptr;
}

TEST_F(StateTest, StatesUpdateInCreationOrderAndDeletedObjectsLastTheFrame) {
    State* first = NewState("Logger");
    State* second = NewState("Other");
    EXPECT_EQ(State::GetState("Other"), second);
    EXPECT_EQ(State::GetState("Missing"), nullptr);
    Log().clear();
    State::UpdateAll();
    auto firstAt = std::find(Log().begin(), Log().end(), "Logger:update");
    auto secondAt = std::find(Log().begin(), Log().end(), "Other:update");
    EXPECT_LT(firstAt, secondAt);

    Object* m = static_cast<Object*>(first->entities["M"]);
    m->_Delete();
    State::_currentState = first;
    EXPECT_EQ(Entity::FindByName("M"), m);
    State::_currentState = nullptr;
    State::EndOfFrame();
    EXPECT_EQ(first->entities.count("M"), 0u);
    EXPECT_EQ(first->objects.size(), 0u);
}

#include <gtest/gtest.h>

#include <algorithm>

#include "support/EntityWorld.h"

using namespace world;

namespace {
constexpr char kBehave[] = "behave";
constexpr char kOther[] = "other";
constexpr char kBye[] = "bye";
Event::Handler Behave = &LogHandler<kBehave>;
Event::Handler OtherBehave = &LogHandler<kOther>;
Event::Handler Bye = &LogHandler<kBye>;

void BehaviorLevelCopy(Entity*, const Entity*) { Engine::_MakeCopy("Behavior", 5.0); }

class ObjectTest : public EntityWorld {
protected:
    void SetUp() override {
        EntityWorld::SetUp();
        thing = RegisterThing("Thing");
        thing->_TempAddEngine("Behavior", Behave);
        thing->_AddEvent("Unload", Bye);
        thing->_AddEvent("Loose", Event());  // carried unbound
        RegisterEngine("Behavior");
        RegisterEngine("Draw");
        RegisterLevel("Blank", &BehaviorLevelCopy);
        state = NewState("Blank");
    }
    Object* Make(const char* name, const std::string& type = "Thing") { return Object::MakeCopy(state, type, name); }
    Engine* Behavior() { return static_cast<Engine*>(state->entities["Behavior"]); }
    std::size_t ListSize(const std::string& event) { return state->subscribers[event].entries.size(); }
    std::size_t Holds(const std::string& event, const void* entity) {
        const auto& entries = state->subscribers[event].entries;
        return static_cast<std::size_t>(std::count(entries.begin(), entries.end(), entity));
    }

    Thing* thing = nullptr;
    State* state = nullptr;
};

// Differences that log their order.
void DiffCursor(Object* o) { Log().push_back(o->GetName() + ":MMCursor"); }
void DiffSuper(Object* o) { Log().push_back(o->GetName() + ":MMSuperCursor"); }
void DiffRebind(Object* o) { o->AddToEngine("Behavior", OtherBehave); }
void DiffLoose(Object* o) { o->SetEvent("Loose", Behave); }
}  // namespace

TEST_F(ObjectTest, CloneCarriesEveryEventEntryAndSubscribesOnce) {
    Object* a = Make("A");
    ASSERT_NE(a, nullptr);
    EXPECT_FALSE(a->IsPrototype());
    EXPECT_EQ(a->GetType(), "Thing");
    EXPECT_EQ(a->GetParentStencil(), thing);
    EXPECT_EQ(a->GetRootStencil(), thing);
    for (const char* name : {"Load", "Unload", "Loose", "Behavior"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(a->IsSubscribed(name));
        EXPECT_EQ(Holds(name, a), 1u);
    }
    // The copy function ran ("Load" counted once) and the block is the clone's own.
    EXPECT_EQ(Variable<int>(a, enum_counter), 1);
    EXPECT_EQ(thing->vars.counter, 0);
    EXPECT_EQ(a->_startVar - reinterpret_cast<char*>(a), thing->_startVar - reinterpret_cast<char*>(thing));
    EXPECT_EQ(a->_map, thing->_map);
    EXPECT_EQ(VariablesOf<ThingVariables>(a).label, "thing");

    // Binding a name the prototype carried unbound keeps one subscription.
    a->SetEvent("Loose", Behave);
    EXPECT_EQ(Holds("Loose", a), 1u);
    const void* gone = a;
    a->_Delete();
    State::RemoveDeletedObjects();
    for (const char* name : {"Load", "Unload", "Loose", "Behavior"}) EXPECT_EQ(Holds(name, gone), 0u) << name;
}

TEST_F(ObjectTest, DifferencesBindingAnUnboundNameSubscribeOnce) {
    Object::_IncludeExObject("LooseThing", new ExObject("LooseThing", "Thing", &DiffLoose));
    Object* a = Make("A", "LooseThing");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(ListSize("Loose"), 1u);
    Log().clear();
    a->CallEvent("Loose");
    EXPECT_EQ(Log(), (std::vector<std::string>{"A:behave"}));
}

TEST_F(ObjectTest, DuplicateNamesAndRenames) {
    Object* first = Make("Same");
    Object* second = Make("Same");
    State::_currentState = state;
    EXPECT_EQ(Entity::FindByName("Same"), second);
    second->SetName("Other");
    EXPECT_EQ(Entity::FindByName("Other"), second);
    ASSERT_EQ(state->entities.count("Same"), 1u);
    EXPECT_EQ(state->entities["Same"], nullptr);

    // Destroying an entity does not take a name that now belongs to another.
    first->SetName("Other");
    EXPECT_EQ(Entity::FindByName("Other"), first);
    Object* third = Make("Keep");
    Object* fourth = Make("Keep");
    third->_Delete();
    State::RemoveDeletedObjects();
    State::_currentState = state;
    EXPECT_EQ(Entity::FindByName("Keep"), fourth);
    State::_currentState = nullptr;
}

TEST_F(ObjectTest, IdsCountAcrossStates) {
    State* other = NewState("Blank");
    Object* a = Make("A");
    Object* b = Object::MakeCopy(other, "Thing", "B");
    EXPECT_EQ(b->_GetID(), a->_GetID() + 1);
    Object* c = a->Copy("C");
    EXPECT_EQ(c->_GetID(), b->_GetID() + 1);
    EXPECT_EQ(c->_state, state);
    EXPECT_EQ(c->GetParentStencil(), a);
    EXPECT_EQ(c->GetRootStencil(), thing);
    // Live list: newest first.
    EXPECT_EQ(Object::_start, c);
    EXPECT_EQ(c->_Next(), b);
    EXPECT_EQ(b->_Prev(), c);
}

TEST_F(ObjectTest, Groups) {
    Object* a = Make("A");
    Object* b = Make("B");
    a->AddGroup("A");
    a->AddGroup("A");
    a->AddGroup("");
    b->AddGroup("A");
    EXPECT_EQ(Object::FindByGroup("A"), (std::vector<Object*>{a, b}));
    a->SetGroup("B");
    EXPECT_EQ(Object::FindByGroup("A"), (std::vector<Object*>{b}));
    EXPECT_EQ(Object::FindByGroup("B"), (std::vector<Object*>{a}));
    a->SetGroups({"C", "D", "C"});
    EXPECT_EQ(a->GetGroups(), (std::vector<std::string>{"C", "D"}));
    a->RemoveGroup("C");
    a->RemoveGroup("Z");
    EXPECT_TRUE(Object::FindByGroup("C").empty());
    EXPECT_TRUE(Object::FindByGroup("Never").empty());
    b->_Delete();
    State::RemoveDeletedObjects();
    EXPECT_TRUE(Object::FindByGroup("A").empty());
}

TEST_F(ObjectTest, EngineMembership) {
    Object* a = Make("A");
    Engine* behavior = Behavior();
    ASSERT_NE(behavior, nullptr);
    EXPECT_TRUE(behavior->IsMember(a));
    Log().clear();
    Entity::_DoEvent("Update", nullptr, behavior);
    EXPECT_EQ(Log(), (std::vector<std::string>{"A:behave"}));

    // Joining again keeps one membership with the new handler.
    EXPECT_TRUE(a->AddToEngine("Behavior", OtherBehave));
    EXPECT_EQ(behavior->MemberCount(), 1u);
    Log().clear();
    Entity::_DoEvent("Update", nullptr, behavior);
    EXPECT_EQ(Log(), (std::vector<std::string>{"A:other"}));

    // No such engine in the state: nothing changes.
    EXPECT_FALSE(a->AddToEngine("Missing", Behave));
    Object* notAnEngine = Make("Draw2");
    EXPECT_FALSE(a->AddToEngine("Draw2", Behave));
    EXPECT_EQ(a->GetEngines().count("Draw2"), 0u);
    notAnEngine->_Delete();
    State::RemoveDeletedObjects();
    EXPECT_EQ(a->GetEngines().count("Missing"), 0u);
    EXPECT_EQ(state->entities.count("Missing"), 0u);

    // Leaving, and leaving again, and leaving an engine never joined.
    a->RemoveFromEngine("Behavior");
    a->RemoveFromEngine("Behavior");
    a->RemoveFromEngine("Draw");
    EXPECT_FALSE(behavior->IsMember(a));
    EXPECT_EQ(a->GetEngines().count("Behavior"), 0u);
    EXPECT_TRUE(a->GetEvent("Behavior") == OtherBehave);  // the handler stays bound

    // A differences function rebinding the engine handler.
    Object::_IncludeExObject("Rebound", new ExObject("Rebound", "Thing", &DiffRebind));
    Object* r = Make("R", "Rebound");
    Log().clear();
    Entity::_DoEvent("Update", nullptr, behavior);
    EXPECT_EQ(Log(), (std::vector<std::string>{"R:other"}));
    EXPECT_EQ(behavior->MemberCount(), 1u);
    EXPECT_EQ(ListSize("Behavior"), 2u);  // A keeps its binding; R holds one subscription
    (void)r;
}

TEST_F(ObjectTest, DeletionByMarking) {
    Object* a = Make("A");
    a->AddGroup("G");
    Log().clear();
    a->_Delete();
    a->_Delete();  // a second deletion runs no second teardown
    EXPECT_EQ(Log(), (std::vector<std::string>{"A:bye"}));
    EXPECT_TRUE(a->_Deleted());
    // Still listed until the end of the frame, but no broadcast reaches it.
    EXPECT_EQ(Object::FindByGroup("G"), (std::vector<Object*>{a}));
    EXPECT_TRUE(Behavior()->IsMember(a));
    Log().clear();
    a->CallEvent("Behavior");
    EXPECT_TRUE(Log().empty());
    const int before = Object::_totalObjects;
    State::RemoveDeletedObjects();
    EXPECT_EQ(Object::_totalObjects, before - 1);
    EXPECT_TRUE(Object::FindByGroup("G").empty());
    EXPECT_EQ(Behavior()->MemberCount(), 0u);
    EXPECT_TRUE(state->objects.empty());
    EXPECT_EQ(Object::_start, nullptr);
}

TEST_F(ObjectTest, ExtendedObjectsApplyNearestTheBaseFirst) {
    RegisterThing("Cursor");
    Object::_IncludeExObject("MMCursor", new ExObject("MMCursor", "Cursor", &DiffCursor));
    Object::_IncludeExObject("MMSuperCursor", new ExObject("MMSuperCursor", "MMCursor", &DiffSuper));
    Log().clear();
    Object* o = Make("Pointer", "MMSuperCursor");
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->GetType(), "Cursor");
    EXPECT_EQ(Log(), (std::vector<std::string>{"Pointer:MMCursor", "Pointer:MMSuperCursor"}));
    // The copy function ran before the differences: "Load" counted once.
    EXPECT_EQ(Variable<int>(o, enum_counter), 1);
}

TEST_F(ObjectTest, UnknownNamesMakeNothingAndInsertNothing) {
    Object::_IncludeExObject("Orphan", new ExObject("Orphan", "NoSuchType", &DiffCursor));
    Object::_IncludeExObject("LoopA", new ExObject("LoopA", "LoopB", &DiffCursor));
    Object::_IncludeExObject("LoopB", new ExObject("LoopB", "LoopA", &DiffCursor));
    const std::size_t objects = Object::_objects.size();
    const std::size_t exobjects = Object::_exobjects.size();
    const int total = Object::_totalObjects;
    for (const char* name : {"Nothing", "Orphan", "LoopA"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Make("X", name), nullptr);
    }
    EXPECT_EQ(Object::_objects.size(), objects);
    EXPECT_EQ(Object::_exobjects.size(), exobjects);
    EXPECT_EQ(Object::_totalObjects, total);
    EXPECT_TRUE(state->objects.empty());
    EXPECT_EQ(state->entities.count("X"), 0u);
    EXPECT_EQ(Object::_MakeCopy(state, nullptr, "X"), nullptr);
}

#include <gtest/gtest.h>

#include <algorithm>

#include "framework/HashCompare.h"
#include "support/EntityWorld.h"

using namespace world;

namespace {
constexpr char kFirst[] = "first";
constexpr char kSecond[] = "second";
constexpr char kThird[] = "third";
constexpr char kPing[] = "ping";

Event::Handler First = &LogHandler<kFirst>;
Event::Handler Second = &LogHandler<kSecond>;
Event::Handler Third = &LogHandler<kThird>;
Event::Handler Ping = &LogHandler<kPing>;

class EventTest : public EntityWorld {
protected:
    void SetUp() override {
        EntityWorld::SetUp();
        RegisterThing("Thing");
        RegisterLevel("Blank");
        state = NewState("Blank");
        State::_currentState = state;
    }
    void TearDown() override {
        State::_currentState = nullptr;
        EntityWorld::TearDown();
    }
    Object* Make(const char* name) { return Object::MakeCopy(state, "Thing", name); }
    std::size_t Subscribers(const std::string& event) {
        auto found = state->subscribers.find(event);
        if (found == state->subscribers.end()) return 0;
        return static_cast<std::size_t>(
            std::count_if(found->second.entries.begin(), found->second.entries.end(), [](Entity* e) { return e; }));
    }
    State* state = nullptr;
};
}  // namespace

TEST(HashCompareTest, Fnv1OverBytesWithSignExtension) {
    EXPECT_EQ(HashCompare::Hash(""), 0x811C9DC5u);
    // One step by hand: multiply, then exclusive-or with the byte.
    EXPECT_EQ(HashCompare::Hash("a"), (0x811C9DC5u * 16777619u) ^ 0x61u);
    // A byte above 127 is sign-extended before the exclusive-or.
    EXPECT_EQ(HashCompare::Hash("\xE9"), (0x811C9DC5u * 16777619u) ^ 0xFFFFFFE9u);
    EXPECT_EQ(IntHashCompare{}(0), 0xDEADBEEFu);
}

TEST(EventValueTest, UnboundHoldsTheEmptyHandler) {
    Event unbound;
    EXPECT_FALSE(unbound);
    EXPECT_TRUE(unbound == &Event::DefaultFunction);
    Event nullBound(static_cast<Event::Handler>(nullptr));
    EXPECT_TRUE(nullBound == &Event::DefaultFunction);
    Event bound(First);
    EXPECT_TRUE(bound);
    EXPECT_TRUE(bound == First);
}

TEST_F(EventTest, SuperChainTable) {
    Object* a = Make("A");
    a->AddEvent("Update", First);
    a->AddEvent("Update", Second);
    EXPECT_TRUE(a->GetEvent("Update") == Second);
    EXPECT_TRUE(a->GetEvent("Super.Update") == First);
    a->AddEvent("Update", Third);
    EXPECT_TRUE(a->GetEvent("Update") == Third);
    EXPECT_TRUE(a->GetEvent("Super.Update") == Second);
    EXPECT_TRUE(a->GetEvent("Super.Super.Update") == First);
    // Each chained name is subscribed once, on its first binding.
    EXPECT_EQ(Subscribers("Update"), 1u);
    EXPECT_EQ(Subscribers("Super.Update"), 1u);
    EXPECT_EQ(Subscribers("Super.Super.Update"), 1u);

    // SetEvent replaces without touching the chain.
    a->SetEvent("Update", First);
    EXPECT_TRUE(a->GetEvent("Update") == First);
    EXPECT_TRUE(a->GetEvent("Super.Update") == Second);
    EXPECT_TRUE(a->GetEvent("Super.Super.Update") == First);

    // _AddEvent chains the same way and never subscribes.
    a->_AddEvent("Draw", First);
    a->_AddEvent("Draw", Second);
    EXPECT_TRUE(a->GetEvent("Super.Draw") == First);
    EXPECT_EQ(Subscribers("Draw"), 0u);
    EXPECT_EQ(Subscribers("Super.Draw"), 0u);
}

TEST_F(EventTest, BroadcastRunsNewestFirstAndRemovalStopsIt) {
    Object* a = Make("A");
    Object* b = Make("B");
    Object* c = Make("C");
    for (Object* o : {a, b, c}) o->AddEvent("Ping", Ping);
    a->CallEvent("Ping");
    EXPECT_EQ(Log(), (std::vector<std::string>{"C:ping", "B:ping", "A:ping"}));

    Log().clear();
    b->RemoveEvent("Ping");
    a->CallEvent("Ping");
    EXPECT_EQ(Log(), (std::vector<std::string>{"C:ping", "A:ping"}));
    Log().clear();
    b->DoEvent("Ping");
    EXPECT_TRUE(Log().empty());

    // The game-wide broadcast reaches the current state's subscribers with no other.
    Log().clear();
    Entity::_CallEvent("Ping");
    EXPECT_EQ(Log(), (std::vector<std::string>{"C:ping", "A:ping"}));
}

TEST_F(EventTest, EmptyHandlerSubscribesAndRemoveEventThenDoesNothing) {
    Object* a = Make("A");
    a->AddEvent("Quiet", Event());
    EXPECT_EQ(Subscribers("Quiet"), 1u);
    a->RemoveEvent("Quiet");
    EXPECT_EQ(Subscribers("Quiet"), 1u);
    EXPECT_TRUE(a->IsSubscribed("Quiet"));
}

namespace {
Object* victim = nullptr;
Object* newcomer = nullptr;
State* walkState = nullptr;

void RemoveSelf(Entity* self, Entity*) {
    Log().push_back(self->GetName() + ":self");
    self->RemoveEvent("Walk");
}
void RemoveVictim(Entity* self, Entity*) {
    Log().push_back(self->GetName() + ":remove");
    if (victim != nullptr) victim->RemoveEvent("Walk");
}
void DeleteVictim(Entity* self, Entity*) {
    Log().push_back(self->GetName() + ":delete");
    if (victim != nullptr) victim->_Delete();
}
void AddNewcomer(Entity* self, Entity*) {
    Log().push_back(self->GetName() + ":add");
    newcomer = Object::MakeCopy(walkState, "Thing", "N");
    newcomer->AddEvent("Walk", Ping);
}
}  // namespace

TEST_F(EventTest, BroadcastStaysSoundWhenHandlersChangeTheList) {
    struct Case {
        const char* name;
        Event::Handler middle;  // B's handler; A, B, C subscribe in that order
        std::vector<std::string> expected;
        std::size_t left;  // subscribers left afterwards
    };
    const Case cases[] = {
        {"self removal", &RemoveSelf, {"C:ping", "B:self", "A:ping"}, 2},
        {"removal of the next one", &RemoveVictim, {"C:ping", "B:remove"}, 2},
        {"deletion of the next one", &DeleteVictim, {"C:ping", "B:delete"}, 2},
        {"addition during the walk", &AddNewcomer, {"C:ping", "B:add", "A:ping"}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Object* a = Make("A");
        Object* b = Make("B");
        Object* cc = Make("C");
        walkState = state;
        victim = a;  // A comes after B in the walk
        a->AddEvent("Walk", Ping);
        b->AddEvent("Walk", c.middle);
        cc->AddEvent("Walk", Ping);
        Log().clear();
        cc->CallEvent("Walk");
        EXPECT_EQ(Log(), c.expected);
        EXPECT_EQ(Subscribers("Walk"), c.left);
        // The list is compacted after the walk: no blank node is left.
        EXPECT_EQ(state->subscribers["Walk"].entries.size(), c.left);
        victim = nullptr;
        for (Object* o : std::vector<Object*>(state->objects.begin(), state->objects.end())) o->_Delete();
        State::RemoveDeletedObjects();
        State::_currentState = state;
        EXPECT_EQ(state->subscribers["Walk"].entries.size(), 0u);
    }
}

TEST_F(EventTest, DoEventTargets) {
    Object* a = Make("A");
    Object* b = Make("B");
    b->SetEvent("Hit", Ping);
    a->DoEvent("Hit", b);
    a->DoEvent("Hit", std::string("B"));
    a->DoEvent("Hit", std::string("Nobody"));
    Entity::_DoEvent("Hit", a, b);
    EXPECT_EQ(Log(), (std::vector<std::string>{"B:ping", "B:ping", "B:ping"}));
    EXPECT_EQ(Entity::FindByName("Nobody"), nullptr);
    EXPECT_EQ(state->entities.count("Nobody"), 0u);
}

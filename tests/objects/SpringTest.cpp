#include <gtest/gtest.h>

#include <cmath>

#include "PickupWorld.h"
#include "objects/Spring.h"

using namespace objtest;
namespace Springs = ObjectData::Spring;

namespace {

class SpringTest : public PickupWorld {
protected:
    void SetUp() override {
        PickupWorld::SetUp();
        SetGrid({"......", "......", "......", "%%%%%%"});
    }
    static Springs::Variables& V(Entity* spring) { return VariablesOf<Springs::Variables>(spring); }
};

// The spring's own trigger pass, as its "Behavior" engine runs it.
void Behave(Entity* spring) {
    const std::string& type = spring->GetType();
    const Springs::Kind kind = type == "Spring"       ? Springs::Kind::Up
                               : type == "SideSpring" ? Springs::Kind::Right
                                                      : Springs::Kind::Left;
    Springs::Behavior(spring, kind);
}

TEST_F(SpringTest, FiresOnlyWhenItsGateHolds) {
    struct Case {
        const char* type;
        D3DXVECTOR2 velocity;
        float playerY;  // the spring stands at y 1.5
        bool fires;
    };
    const Case cases[] = {
        {"Spring", {0.0f, -0.2f}, 1.9f, true},       // falling onto it from above
        {"Spring", {0.0f, 0.0f}, 1.9f, false},       // resting on it
        {"Spring", {0.0f, -0.005f}, 1.9f, false},    // barely moving
        {"Spring", {0.0f, -0.2f}, 1.7f, false},      // beside it, below its middle + 0.25
        {"Spring", {0.0f, 0.2f}, 1.9f, false},       // rising through it
        {"SideSpring", {-0.1f, 0.0f}, 1.5f, true},   // moving left
        {"SideSpring", {0.0f, -0.1f}, 1.5f, true},   // moving down
        {"SideSpring", {0.2f, 0.1f}, 1.5f, false},   // right and up
        {"SideSpring", {0.1f, -0.1f}, 1.5f, false},  // right as fast as down
        {"SideSpring2", {0.1f, 0.0f}, 1.5f, true},   // moving right
        {"SideSpring2", {0.0f, -0.1f}, 1.5f, true},  // moving down
        {"SideSpring2", {-0.2f, 0.1f}, 1.5f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " vx " + std::to_string(c.velocity.x) + " vy " +
                     std::to_string(c.velocity.y));
        Object* spring = Place(c.type, "S_1", 2.5f, 1.5f);
        Object* player = MakePlayer("Player_0", 2.5f, c.playerY);
        P(player).velocity = c.velocity;
        Behave(spring);
        EXPECT_EQ(V(spring).spring > 0.5f, c.fires);
        EXPECT_EQ(P(player).velocity.y == 0.3f, c.fires);
        spring->_Delete();
        player->_Delete();
        Object::_RemoveDeleted();
    }
}

TEST_F(SpringTest, LaunchWritesThePlayersVariables) {
    struct Case {
        const char* type;
        float vx;
        int springMessages;
    };
    const Case cases[] = {{"Spring", 0.05f, 1}, {"SideSpring", 0.4f, 0}, {"SideSpring2", -0.4f, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        SentMessages().clear();
        Recorded() = Record{};
        Object* spring = Place(c.type, "S_1", 2.5f, 1.5f);
        Object* player = MakePlayer("Player_0", 2.5f, 1.9f);
        P(player).velocity = {0.05f, -0.3f};
        P(player).wallJump = 7;
        P(player).rolling = false;
        P(player).hoverTime = 12;
        P(player).camChangeY = false;
        Behave(spring);
        EXPECT_FLOAT_EQ(P(player).velocity.y, 0.3f);
        EXPECT_FLOAT_EQ(P(player).velocity.x, c.vx);
        EXPECT_EQ(P(player).wallJump, 0);
        EXPECT_TRUE(std::fabs(P(player).airRun) == 1.0f);
        EXPECT_TRUE(P(player).rolling);
        EXPECT_EQ(P(player).hoverTime, 0);
        EXPECT_TRUE(P(player).camChangeY);
        EXPECT_EQ(Recorded().SoundCount(SPRING_SOUND), 1);
        EXPECT_EQ(Recorded().padRumbles, std::vector<unsigned>{100});
        EXPECT_EQ(Recorded().remoteRumbles, std::vector<unsigned>{100});
        EXPECT_EQ(CountSent("AnimateSpring"), c.springMessages);
        if (c.springMessages == 1) {
            EXPECT_EQ(SentMessages()[0].name, "S_1");
        }
        spring->_Delete();
        player->_Delete();
        Object::_RemoveDeleted();
    }
}

TEST_F(SpringTest, ExtensionSettlesBelowAHundredthAfterItsFrames) {
    Object* spring = Place("Spring", "S_1", 2.5f, 1.5f);
    Springs::Logic(spring, Springs::Kind::Up);
    EXPECT_EQ(V(spring).spring, 1.0f);
    for (int frame = 1; frame <= 44; ++frame) {
        Behave(spring);
        if (frame == 43) {
            EXPECT_GT(V(spring).spring, 0.01f);
        }
    }
    EXPECT_LT(V(spring).spring, 0.01f);
}

TEST_F(SpringTest, PlayerFallingOntoASpringOnAGridIsThrownUp) {
    // The player falls from above under its own movement; the spring fires on
    // the frame they meet and leaves the player rising at the launch speed.
    Object* player = MakePlayer("Player_0", 2.5f, 3.4f);
    Object* spring = Place("Spring", "S_1", 2.5f, 1.5f);
    bool fired = false;
    for (int frame = 0; frame < 120 && !fired; ++frame) {
        Frame();
        if (V(spring).spring > 0.5f) {
            fired = true;
            EXPECT_FLOAT_EQ(P(player).velocity.y, 0.3f);
            EXPECT_TRUE(P(player).rolling);
        }
    }
    EXPECT_TRUE(fired);
    EXPECT_EQ(CountSent("AnimateSpring"), 1);
}

}  // namespace

// The player's network roles: remote copies, speed zones, removing remote
// copies, telling a joining client, and breaking up at the level's end.
#include <gtest/gtest.h>

#include "ObjectWorld.h"
#include "objects/LevelObjectHooks.h"
#include "objects/PlayerNetwork.h"

using namespace objtest;

namespace {

struct Sent {
    int finished = 0;
    std::vector<Entity*> created;
};
Sent& Out() {
    static Sent sent;
    return sent;
}

class PlayerNetworkTest : public ObjectWorld {
protected:
    void SetUp() override {
        ObjectWorld::SetUp();
        Out() = Sent{};
        levelObjectHooks.sendFinished = [] { ++Out().finished; };
        levelObjectHooks.sendCreateToNewClient = [](Entity* player) { Out().created.push_back(player); };
        if (Object::_FindPrototype("Firefly") == nullptr) world::RegisterThing("Firefly");
    }
    void TearDown() override {
        ResetLevelObjectHooks();
        ObjectWorld::TearDown();
    }
    int Fireflies() const {
        int n = 0;
        for (Object* object : state->Objects()) n += object->GetType() == "Firefly" && !object->_Deleted() ? 1 : 0;
        return n;
    }
};

TEST_F(PlayerNetworkTest, KillUnownedRemovesOnlyRemoteCopies) {
    Object* local = MakePlayer("Player_0", 2.0f, 2.0f, true);
    Object* remote = MakePlayer("Player_1", 4.0f, 2.0f, true);
    remote->DoEvent("SetClientBehavior");
    remote->DoEvent("SetClientBehavior");
    EXPECT_TRUE(remote->GetEvent("Behavior") == &ObjectData::Player::ClientBehavior);
    EXPECT_FALSE(P(remote).userControlled);
    local->DoEvent("KillUnowned");
    remote->DoEvent("KillUnowned");
    EXPECT_FALSE(local->_Deleted());
    EXPECT_TRUE(remote->_Deleted());
}

TEST_F(PlayerNetworkTest, RemoteCopiesMoveByDeadReckoningAndMarkSpeedZonesOverLongSolidGround) {
    SetGrid({
        "....................",
        "....................",
        "..%%%%%%%%%B%.......",
        "..%%%%%%%%%#%.......",
    });
    Object* local = MakePlayer("Player_0", 1.0f, 3.0f, true);
    Object* remote = MakePlayer("Player_1", 7.5f, 2.5f, true);
    remote->DoEvent("SetClientBehavior");
    P(remote).velocity = {0.0f, 0.0f};
    remote->DoEvent("ClientBehavior");
    // Columns 3..11 of row 1: dirt and a breakable tile.
    EXPECT_EQ(P(local).speedZone[2 * 256 + 7], 1);

    P(remote).position = {8.5f, 1.5f, 0.0f};  // row 0 has a grass cell under it
    remote->DoEvent("ClientBehavior");
    EXPECT_EQ(P(local).speedZone[1 * 256 + 8], 0);

    P(remote).position = {300.0f, 1.5f, 0.0f};
    P(remote).velocity = {0.25f, -0.5f};
    remote->DoEvent("ClientBehavior");
    EXPECT_FLOAT_EQ(P(remote).position.x, 300.25f);
    EXPECT_FLOAT_EQ(P(remote).position.y, 1.0f);
}

TEST_F(PlayerNetworkTest, AHeldRemoteCopyRidesOnItsHoldersLiftedPlace) {
    SetGrid({
        "....................",
        "....................",
        "....................",
        "....................",
    });
    Object* holder = MakePlayer("Player_2", 5.0f, 1.0f, true);
    Object* held = MakePlayer("Player_3", 9.0f, 3.0f, true);
    holder->DoEvent("SetClientBehavior");
    held->DoEvent("SetClientBehavior");
    P(holder).velocity = {0.125f, 0.0f};
    P(held).velocity = {-0.5f, 0.5f};
    P(held).grabbed = 5;
    P(held).grabbedBy = 2;
    for (int frame = 0; frame < 20; ++frame) {
        holder->DoEvent("ClientBehavior");
        held->DoEvent("ClientBehavior");
        // Over open sky the held copy sits the full lift above its holder,
        // with its holder's motion, frame after frame: no drift of its own.
        EXPECT_FLOAT_EQ(P(held).position.x, P(holder).position.x) << frame;
        EXPECT_NEAR(P(held).position.y, P(holder).position.y + 32 * 0.01875f, 1e-4) << frame;
        EXPECT_EQ(P(held).velocity, P(holder).velocity) << frame;
    }
    // Let go, it moves on by its own velocity again.
    P(held).grabbed = 0;
    P(held).velocity = {0.0f, -0.25f};
    const float y = P(held).position.y;
    held->DoEvent("ClientBehavior");
    EXPECT_FLOAT_EQ(P(held).position.y, y - 0.25f);
}

TEST_F(PlayerNetworkTest, ALivingPlayerBreaksUpAtTheLevelsEndAndADeadOneOnlyWaits) {
    Object* player = MakePlayer("Player_0", 5.0f, 5.0f, true);
    P(player).velocity = {0.1f, 0.0f};
    const int balls = P(player).ballCurrent;
    player->DoEvent("LevelEnd");
    EXPECT_EQ(P(player).deathDelay, 3600);
    EXPECT_EQ(Out().finished, 1);
    EXPECT_EQ(Fireflies(), 6 * 6 + 25);
    EXPECT_EQ((P(player).ballCurrent - balls + ObjectData::Player::kBallCount) % ObjectData::Player::kBallCount,
              6 * 22);

    Object* dead = MakePlayer("Player_2", 5.0f, 5.0f, true);
    P(dead).deathDelay = 10;
    dead->DoEvent("LevelEnd");
    EXPECT_EQ(P(dead).deathDelay, 3600);
    EXPECT_EQ(Fireflies(), 6 * 6 + 25);
    EXPECT_EQ(Out().finished, 1);

    // Alone, a finish is told to no one.
    Object* single = MakePlayer("Player_3", 5.0f, 5.0f, false);
    single->DoEvent("LevelEnd");
    EXPECT_EQ(Out().finished, 1);
}

TEST_F(PlayerNetworkTest, AJoiningClientIsToldAboutEachPlayer) {
    Object* player = MakePlayer("Player_0", 5.0f, 5.0f, true);
    player->DoEvent("OnNewPlayer");
    ASSERT_EQ(Out().created.size(), 1u);
    EXPECT_EQ(Out().created[0], player);
}

}  // namespace

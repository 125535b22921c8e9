#include <gtest/gtest.h>

#include <cmath>

#include "PickupWorld.h"
#include "objects/Firefly.h"

using namespace objtest;
namespace Fly = ObjectData::Firefly;

namespace {

class FireflyTest : public PickupWorld {
protected:
    void SetUp() override {
        PickupWorld::SetUp();
        SetGrid({"......", "......", "%%%%%%"});
        firefly = Place("Firefly", "f0", 2.5f, 1.5f);
    }
    Fly::Variables& V() { return VariablesOf<Fly::Variables>(firefly); }
    void Step(int n = 1) {
        for (int i = 0; i < n; ++i) Fly::Behavior(firefly, firefly);
    }
    Object* firefly = nullptr;
};

TEST_F(FireflyTest, TouchScoresOnceTakesThePlayersColourAndQueuesItsMessage) {
    Object* player = MakePlayer("Player_0", 2.5f, 1.5f);
    P(player).playerColor = 0xFF112233u;
    const int before = P(player).score;
    const int counter = V().counter;
    Step();
    EXPECT_TRUE(V().follow);
    EXPECT_EQ(V().color, 0xFF112233u);
    EXPECT_EQ(V().counter, counter + 1);  // the following spell starts from Load's count
    Step(20);
    EXPECT_EQ(P(player).score, before + GameVars().SCORE_FIREFLY);
    EXPECT_EQ(CountSent("CollectFireFly"), 1);
    EXPECT_EQ(SentMessages().front().name, "f0");
    EXPECT_EQ(Recorded().SoundCount(FIREFLY_COLLECT), 1);
    EXPECT_EQ(Recorded().remoteRumbles, std::vector<unsigned>{50});
    EXPECT_EQ(Recorded().padLightRumbles, std::vector<unsigned>{35});
    EXPECT_TRUE(Recorded().padRumbles.empty());
}

TEST_F(FireflyTest, LoadPlacesItsDriftAndOffsetInRange) {
    for (int i = 0; i < 50; ++i) {
        Object* other = Place("Firefly", "", 0.0f, 0.0f);
        const auto& v = VariablesOf<Fly::Variables>(other);
        for (float part : {v.velocity.x, v.velocity.y}) {
            EXPECT_GE(std::fabs(part), 0.025f);
            EXPECT_LE(std::fabs(part), 0.05f);
        }
        for (float offset : {v.frandPosX, v.frandPosY}) {
            EXPECT_GE(offset, -0.25f);
            EXPECT_LE(offset, 0.245f);
        }
        EXPECT_GE(v.counter, 0);
        EXPECT_LT(v.counter, 60);
    }
}

TEST_F(FireflyTest, FollowingFireflyNeverExceedsItsTopSpeedAndEasesItsColour) {
    Object* player = MakePlayer("Player_0", 2.5f, 1.5f);
    P(player).playerColor = 0xFF000000u;
    Step();
    ASSERT_TRUE(V().follow);
    P(player).cameraPosition = {30.0f, 10.0f};
    for (int i = 0; i < 2000; ++i) {
        Step();
        const float speed = std::sqrt(V().velocity.x * V().velocity.x + V().velocity.y * V().velocity.y);
        ASSERT_LE(speed, 0.1f + 1e-5f) << i;
    }
    EXPECT_EQ(V().fireflyColor, 0xFF000000u);
    EXPECT_EQ(CountSent("CollectFireFly"), 1);
}

TEST_F(FireflyTest, LateJoinerLearnsOnlyOfACollectedFirefly) {
    firefly->DoEvent("OnNewPlayer");
    EXPECT_TRUE(SentMessages().empty());
    V().follow = true;
    firefly->DoEvent("OnNewPlayer");
    ASSERT_EQ(SentMessages().size(), 1u);
    EXPECT_EQ(SentMessages()[0].kind, "CollectFireFly");
    EXPECT_TRUE(SentMessages()[0].toNewClient);
}

}  // namespace

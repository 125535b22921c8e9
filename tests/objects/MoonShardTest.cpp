#include <gtest/gtest.h>

#include <cmath>

#include "PickupWorld.h"
#include "objects/MoonShard.h"

using namespace objtest;
namespace Shard = ObjectData::MoonShard;

namespace {

class MoonShardTest : public PickupWorld {
protected:
    void SetUp() override {
        PickupWorld::SetUp();
        SetGrid({"......", "......", "%%%%%%"});
        shard = Place("MoonShard", "m0", 2.5f, 1.5f);
    }
    Shard::Variables& V() { return VariablesOf<Shard::Variables>(shard); }
    void Step(int n = 1) {
        for (int i = 0; i < n; ++i) Shard::Behavior(shard, shard);
    }
    Object* shard = nullptr;
};

TEST_F(MoonShardTest, TouchScoresOnceBurstsAndQueuesItsMessage) {
    Object* player = MakePlayer("Player_0", 2.6f, 1.6f);
    const int before = P(player).score;
    Step(5);
    EXPECT_EQ(P(player).score, before + GameVars().SCORE_MOONSHARD);
    EXPECT_TRUE(V().shardFollow);
    EXPECT_TRUE(V().shardsVisible);
    EXPECT_EQ(CountSent("CollectMoonRock"), 1);
    EXPECT_EQ(SentMessages().front().name, "m0");
    EXPECT_EQ(Recorded().SoundCount(MOONSHARD_COLLECT), 1);
    EXPECT_EQ(Recorded().remoteRumbles, std::vector<unsigned>{100});
    EXPECT_EQ(Recorded().padRumbles, std::vector<unsigned>{100});
}

TEST_F(MoonShardTest, BurstPiecesStartNearTheCentreWithBoundedSizes) {
    Shard::Explode(shard, shard);
    for (int i = 0; i < Shard::kPieces; ++i) {
        const float dx = V().shardPosition[i].x - 2.5f, dy = V().shardPosition[i].y - 1.5f;
        EXPECT_LE(std::sqrt(dx * dx + dy * dy), 0.25f + 1e-5f) << i;
        for (float s : {V().shardSize[i].x, V().shardSize[i].y}) {
            EXPECT_GE(s, 0.175f - 1e-6f) << i;
            EXPECT_LE(s, 0.35f + 1e-6f) << i;
        }
    }
}

TEST_F(MoonShardTest, RemoteCollectionBurstsWithoutScoringAndASecondBurstChangesNothing) {
    Object* player = MakePlayer("Player_0", 20.0f, 20.0f);
    const int before = P(player).score;
    shard->DoEvent("Explode");  // as the message's handler raises it
    ASSERT_TRUE(V().shardFollow);
    const D3DXVECTOR2 first = V().shardPosition[0];
    shard->DoEvent("Explode");
    EXPECT_EQ(V().shardPosition[0], first);
    // Touching it now adds nothing: a collected shard no longer tests for contact.
    P(player).position = {2.5f, 1.5f, 0.0f};
    Step(3);
    EXPECT_EQ(P(player).score, before);
    EXPECT_TRUE(SentMessages().empty());
}

TEST_F(MoonShardTest, WithoutALocalPlayerOnlyTheRingAnimates) {
    MakePlayer("Player_1", 2.5f, 1.5f);  // another peer's player
    const float pulse = V().pulse;
    Step(10);
    EXPECT_FALSE(V().shardFollow);
    EXPECT_EQ(V().pulse, pulse);
    EXPECT_GT(V().moonPhase, 0.0f);
}

TEST_F(MoonShardTest, LateJoinerIsToldOnlyOfATakenShard) {
    shard->DoEvent("OnNewPlayer");
    EXPECT_TRUE(SentMessages().empty());
    shard->DoEvent("Explode");
    shard->DoEvent("OnNewPlayer");
    ASSERT_EQ(SentMessages().size(), 1u);
    EXPECT_EQ(SentMessages()[0].kind, "CollectShard");
    EXPECT_EQ(SentMessages()[0].name, "m0");
    EXPECT_TRUE(SentMessages()[0].toNewClient);
}

TEST_F(MoonShardTest, CollectedShardRisesFadesAndDeletesItself) {
    MakePlayer("Player_0", 40.0f, 40.0f);
    shard->DoEvent("Explode");
    int frames = 0;
    float lastY = V().position.y;
    while (!shard->_Deleted() && frames < 10000) {
        Step();
        ++frames;
        ASSERT_GE(V().position.y, lastY);
        lastY = V().position.y;
    }
    EXPECT_TRUE(shard->_Deleted());
    EXPECT_NEAR(frames, 4603, 5);  // 0.999 per frame down to 0.01
    EXPECT_FALSE(V().shardsVisible);
}

}  // namespace

#include <gtest/gtest.h>

#include "PickupWorld.h"
#include "objects/Camera.h"
#include "objects/SpdBoost.h"

using namespace objtest;
namespace Boost = ObjectData::SpdBoost;

namespace {

class SpdBoostTest : public PickupWorld {
protected:
    void SetUp() override {
        PickupWorld::SetUp();
        SetGrid({"......", "......", "%%%%%%"});
        boost = Place("SpdBoost", "", 2.5f, 1.5f);
        player = MakePlayer("Player_0", 2.5f, 1.5f);
    }
    Boost::Variables& V() { return VariablesOf<Boost::Variables>(boost); }
    void Step(int n = 1) {
        for (int i = 0; i < n; ++i) Boost::Behavior(boost, boost);
    }
    Object* boost = nullptr;
    Object* player = nullptr;
};

TEST_F(SpdBoostTest, SoundOnFirstContactOnlyButRefillEveryFrame) {
    P(player).playerColor = 0xFF445566u;
    P(player).spdBoost = 0.0f;
    Step();
    EXPECT_EQ(P(player).spdBoost, P(player).speedBoostLength);
    EXPECT_EQ(V().boostColor, 0xFF445566u);
    EXPECT_EQ(V().size, D3DXVECTOR2(1.2f, 1.2f));
    for (int i = 0; i < 5; ++i) {
        P(player).spdBoost -= 1.0f;
        Step();
        EXPECT_EQ(P(player).spdBoost, P(player).speedBoostLength);
    }
    EXPECT_EQ(Recorded().SoundCount(SPEED_BOOST_SOUND), 1);
    // Leaving resets it; coming back plays the sound again.
    P(player).position = {20.0f, 20.0f, 0.0f};
    Step();
    EXPECT_FALSE(V().triggered);
    EXPECT_EQ(V().boostColor, 0xFFFFFFFFu);
    P(player).position = {2.5f, 1.5f, 0.0f};
    Step();
    EXPECT_EQ(Recorded().SoundCount(SPEED_BOOST_SOUND), 2);
}

TEST_F(SpdBoostTest, RumblesOnlyWhenTheBoostRanDownAndThePlayerIsNotDying) {
    struct Case {
        float missing;
        int deathDelay;
        bool rumbles;
    };
    const Case cases[] = {{0.0f, 0, false}, {2.0f, 0, false}, {2.5f, 0, true}, {100.0f, 0, true}, {100.0f, 5, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.missing);
        Recorded().remoteRumbles.clear();
        Recorded().padRumbles.clear();
        P(player).spdBoost = P(player).speedBoostLength - c.missing;
        P(player).deathDelay = c.deathDelay;
        Step();
        EXPECT_EQ(Recorded().padRumbles.size(), c.rumbles ? 1u : 0u);
        EXPECT_EQ(Recorded().remoteRumbles.size(), c.rumbles ? 1u : 0u);
    }
}

TEST_F(SpdBoostTest, DrawsThreeLightsInItsColourWhenInView) {
    // A camera of scale 4 sees two units either side (aspect 1); the boost
    // is drawn while its unit square touches that view.
    Object* camera = Make("Camera", "Camera");
    auto& view = VariablesOf<ObjectData::Camera::Variables>(camera);
    view.scale = 4.0f;
    view.position = {2.5f, 1.5f, 0.0f};
    Recorded().quads.clear();
    Boost::GraphicsDraw(boost, boost);
    ASSERT_EQ(Recorded().quads.size(), 3u);
    for (const Quad& q : Recorded().quads) {
        EXPECT_EQ(q.texture, "firefly");
        EXPECT_FLOAT_EQ(q.z, -1.0f);
    }
    struct Case {
        float x, y;
        bool drawn;
    };
    const Case cases[] = {
        {2.5f + 2.9f, 1.5f, true},  {2.5f + 3.1f, 1.5f, false}, {2.5f - 2.9f, 1.5f, true},
        {2.5f - 3.1f, 1.5f, false}, {2.5f, 1.5f + 2.9f, true},  {2.5f, 1.5f + 3.1f, false},
        {2.5f, 1.5f - 2.9f, true},  {2.5f, 1.5f - 3.1f, false}, {50.0f, 50.0f, false},
    };
    for (const Case& c : cases) {
        view.position = {c.x, c.y, 0.0f};
        Recorded().quads.clear();
        Boost::GraphicsDraw(boost, boost);
        EXPECT_EQ(Recorded().quads.size(), c.drawn ? 3u : 0u) << "camera at " << c.x << ", " << c.y;
    }
}

}  // namespace

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "PickupWorld.h"
#include "objects/ShatterMoon.h"
#include "platform/graphics/CameraGlobals.h"

using namespace objtest;
namespace Moon = ObjectData::ShatterMoon;

namespace {

bool pressed = false;

class ShatterMoonTest : public PickupWorld {
protected:
    void SetUp() override {
        PickupWorld::SetUp();
        pressed = false;
        Moon::anythingPressed = [] { return pressed; };
    }
    void TearDown() override {
        Moon::anythingPressed = saved;
        PickupWorld::TearDown();
    }
    static Moon::Variables& V(Entity* moon) { return VariablesOf<Moon::Variables>(moon); }
    bool (*saved)() = Moon::anythingPressed;
};

TEST_F(ShatterMoonTest, TwoShattersFromTheFixedSeedAreIdentical) {
    Object* first = Make("ShatterMoon");
    Object* second = Make("ShatterMoon");
    pressed = true;
    std::srand(1);
    Moon::Behavior(first, first);
    std::srand(99);
    for (int i = 0; i < 777; ++i) std::rand();
    Moon::Behavior(second, second);
    const Moon::Variables& a = V(first);
    const Moon::Variables& b = V(second);
    EXPECT_EQ(std::memcmp(a.shardPosition, b.shardPosition, sizeof a.shardPosition), 0);
    EXPECT_EQ(std::memcmp(a.shardVelocity, b.shardVelocity, sizeof a.shardVelocity), 0);
    EXPECT_EQ(std::memcmp(a.shardSize, b.shardSize, sizeof a.shardSize), 0);
    EXPECT_EQ(std::memcmp(a.shardRotation, b.shardRotation, sizeof a.shardRotation), 0);
    EXPECT_EQ(std::memcmp(a.shardShrink, b.shardShrink, sizeof a.shardShrink), 0);
    EXPECT_STREQ(a.texture, "moon00");
    EXPECT_STREQ(a.backTexture, "gmoon00");
    EXPECT_EQ(Recorded().remoteRumbles, (std::vector<unsigned>{200, 200}));
    EXPECT_EQ(Recorded().padLightRumbles, (std::vector<unsigned>{200, 200}));
}

TEST_F(ShatterMoonTest, WithoutInputTheMoonStaysWholeAndItsTintCycles) {
    Object* moon = Make("ShatterMoon");
    EXPECT_GE(V(moon).camX, 0.0f);
    EXPECT_LT(V(moon).camX, 4096.0f);
    float previous = 0.0f;
    int wraps = 0;
    for (int i = 0; i < 1300; ++i) {
        Moon::Behavior(moon, moon);
        if (V(moon).moonPhase < previous) ++wraps;
        previous = V(moon).moonPhase;
    }
    EXPECT_FALSE(V(moon).shardsVisible);
    EXPECT_STREQ(V(moon).texture, "moon07");
    EXPECT_EQ(wraps, 2);  // one cycle in about 628 frames
    EXPECT_FLOAT_EQ(CameraGlobals::x, V(moon).camX);
    EXPECT_FLOAT_EQ(CameraGlobals::y, 10.0f);
    EXPECT_FLOAT_EQ(CameraGlobals::r, 1.0f / 32.0f);
}

TEST_F(ShatterMoonTest, PieceSizesFollowTheirOdds) {
    Moon::Variables v;
    Moon::Shatter(v);
    int tiny = 0, doubled = 0;
    for (int i = 0; i < Moon::kFirstSpecial; ++i) {
        const float base = v.shardSize[i].x;
        if (base < 0.015f * 0.5f * 0.1f * 2.0f + 1e-7f) ++tiny;
        if (base > 0.03f * 0.5f + 1e-7f) ++doubled;
    }
    EXPECT_NEAR(tiny, Moon::kFirstSpecial / 4, 80);
    EXPECT_NEAR(doubled, Moon::kFirstSpecial * 3 / 4 / 32, 25);
    for (int j = 0; j < Moon::kPieces - Moon::kFirstSpecial; ++j)
        EXPECT_FLOAT_EQ(v.shardShrink[Moon::kFirstSpecial + j], 0.994f + static_cast<float>(j) * 0.000625f);
}

}  // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "ObjectWorld.h"
#include "objects/PlayerDrawing.h"
#include "platform/graphics/Buffer.h"
#include "platform/graphics/GraphicsEngine.h"

using namespace objtest;

namespace {

class PlayerDrawingTest : public ObjectWorld {
protected:
    void SetUp() override {
        ObjectWorld::SetUp();
        graphicsEngine.SetCurrentBuffer(&buffer);
    }
    void TearDown() override {
        graphicsEngine.SetCurrentBuffer(nullptr);
        ObjectWorld::TearDown();
    }
    std::vector<Quad> Drawn(Object* player) {
        Recorded().quads.clear();
        buffer.Clear();
        ObjectData::Player::Draw(player, player);
        return Recorded().quads;
    }
    static int Count(const std::vector<Quad>& quads, const std::string& texture) {
        return static_cast<int>(
            std::count_if(quads.begin(), quads.end(), [&](const Quad& q) { return q.texture == texture; }));
    }
    Buffer buffer;
};

TEST_F(PlayerDrawingTest, ALivingPlayerDrawsItsBodyEyesAndGlow) {
    Object* player = MakePlayer("Player_0", 5.0f, 3.0f);
    P(player).playerColor = 0xFF804020u;
    const auto quads = Drawn(player);
    EXPECT_EQ(Count(quads, "playerCircle"), 12);  // six discs and their rims
    EXPECT_EQ(Count(quads, "playerEye"), 2);
    EXPECT_EQ(Count(quads, "playerMouth"), 0);
    EXPECT_EQ(buffer.layers[0].size(), 6u);  // the glow, one light per part
    // The body disc: at its offset, darkened by its depth; its rim behind it.
    const auto& v = P(player);
    const Quad& body = quads[4];
    EXPECT_FLOAT_EQ(body.x, 5.0f + v.bodyPosition.x);
    EXPECT_FLOAT_EQ(body.y, 3.0f + v.bodyPosition.y);
    const auto red = static_cast<std::uint32_t>(0x80 * v.bodyPosition.z);
    EXPECT_EQ((body.colour >> 16) & 0xFF, red);
    EXPECT_EQ(quads[5].colour, 0xFFCCCCCCu);
    EXPECT_FLOAT_EQ(quads[5].z, body.z - 0.0075f);
}

TEST_F(PlayerDrawingTest, TheWarningMouthGrowsWithTheSelfDestructCount) {
    Object* player = MakePlayer("Player_0", 5.0f, 3.0f);
    P(player).explodeMe = 5.0f;
    EXPECT_EQ(Count(Drawn(player), "playerMouth"), 0);
    P(player).explodeMe = 9.0f;
    const auto quads = Drawn(player);
    ASSERT_EQ(Count(quads, "playerMouth"), 1);
    EXPECT_FLOAT_EQ(quads[0].width, 0.32f);
    EXPECT_FLOAT_EQ(quads[0].height, -0.32f);  // upside down
    EXPECT_EQ(quads[0].colour, 0xFFFF4444u);
    EXPECT_NEAR(quads[1].width, P(player).leftEyeSize.x * 2.6f, 1e-5f);  // the eyes widen
}

TEST_F(PlayerDrawingTest, TheDeadDrawOnlyTheirPaintAndBallsNeedACamera) {
    Object* player = MakePlayer("Player_0", 5.0f, 3.0f);
    auto& v = P(player);
    v.deathDelay = 100;
    ObjectData::Player::AddSplat(v, {5.0f, 3.0f, 0.0f}, {1.5f, 1.5f}, 1.0f, 0.0f, 0.99f);
    ObjectData::Player::AddBall(v, {5.0f, 3.0f, 0.0f}, {0.0f, 0.0f}, {0.2f, 0.2f}, true);
    auto quads = Drawn(player);
    EXPECT_TRUE(quads.empty());  // no body, and no camera: no balls
    EXPECT_EQ(buffer.tiles[5].size(), 1u);
    EXPECT_TRUE(buffer.layers[0].empty());

    Make("Camera", "Camera")->SetPosition(5.0f, 3.0f, 0.0f);
    quads = Drawn(player);
    ASSERT_EQ(quads.size(), 2u);  // the ball and, as it will splat, its rim
    EXPECT_EQ(quads[0].colour >> 24, 0xFFu);
    EXPECT_EQ(quads[1].colour, 0xFFCCCCCCu);
    EXPECT_FLOAT_EQ(quads[1].width, 0.225f);
}

TEST_F(PlayerDrawingTest, RemoteCopiesNeverShareADepth) {
    Object* a = MakePlayer("Player_1", 5.0f, 3.0f);
    Object* b = MakePlayer("Player_2", 5.0f, 3.0f);
    P(a).userControlled = P(b).userControlled = false;
    Drawn(a);
    Drawn(b);
    EXPECT_FLOAT_EQ(P(a).position.z, -50.0f);
    EXPECT_FLOAT_EQ(P(b).position.z, -75.0f);
    EXPECT_EQ(Drawn(a)[5].colour, 0xFF000000u);  // remote rims are black
}

TEST_F(PlayerDrawingTest, ABoostedPlayerLeavesAFadingTrail) {
    Object* player = MakePlayer("Player_0", 5.0f, 3.0f);
    auto& v = P(player);
    v.spdBoost = 100.0f;
    v.oldPosition = v.position;
    v.position.x += 0.5f;
    ObjectData::Player::Animate(player, player);
    const int laid = v.trailCurrent;
    EXPECT_GE(laid, 6 * 8);  // each part's half-unit way cut into many steps
    EXPECT_EQ(v.oldPosition, v.position);
    EXPECT_FLOAT_EQ(v.trailAlpha[0], 0.3f);
    v.spdBoost = 0.0f;
    ObjectData::Player::Animate(player, player);
    EXPECT_EQ(v.trailCurrent, laid);
    EXPECT_FLOAT_EQ(v.trailAlpha[0], 0.3f * 0.88f);
    EXPECT_EQ(Count(Drawn(player), "firefly"), laid);
}

TEST_F(PlayerDrawingTest, PaintBallsBurstOnTilesIntoSmallBallsAndASplat) {
    SetGrid({"....", "....", "%%%%"});
    Object* player = MakePlayer("Player_0", 1.5f, 2.5f);
    auto& v = P(player);
    ObjectData::Player::AddBall(v, {2.5f, 1.05f, 0.0f}, {0.0f, -0.1f}, {0.2f, 0.2f}, true);
    ObjectData::Player::Animate(player, player);
    EXPECT_EQ(v.ballCurrent, 1 + 8);
    EXPECT_EQ(v.splatCurrent, 1);
    EXPECT_FLOAT_EQ(v.splatSize[0].x, 0.8f);
    EXPECT_LE(v.ballPosition[0].y, -1.0f);  // out of play
    for (int i = 1; i < 9; ++i) EXPECT_FALSE(v.ballSplats[i]);
}

}  // namespace

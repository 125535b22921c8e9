#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "ObjectWorld.h"
#include "networking/Match.h"
#include "objects/GuiImage.h"
#include "objects/MenuStars.h"
#include "objects/ParaBack.h"
#include "platform/graphics/Buffer.h"
#include "platform/graphics/GraphicsEngine.h"

using namespace objtest;

namespace {

class BackdropTest : public ObjectWorld {
protected:
    void SetUp() override {
        ObjectWorld::SetUp();
        graphicsEngine.SetCurrentBuffer(&buffer);
    }
    void TearDown() override {
        graphicsEngine.SetCurrentBuffer(nullptr);
        CurrentLevelIndex = 0;
        MatchLevelCount = 0;
        ObjectWorld::TearDown();
    }
    void Draw(Entity* e) {
        buffer.Clear();
        e->DoEvent("GraphicsDraw");
    }
    Buffer buffer;
};

TEST_F(BackdropTest, TheHudMoonShowsProgressThroughTheLevels) {
    struct Case {
        int index, count, picture;
    };
    const Case cases[] = {
        {0, 13, 0},               // the first level: a negative value is clamped
        {1, 13, 0}, {12, 13, 6},  // the last of 13: trunc(11 / 13 * 8)
        {5, 8, 4},  {13, 8, 7},   // past the end: clamped
        {3, 0, 0},                // no level order yet: no division by zero
    };
    for (const Case& c : cases) EXPECT_EQ(ObjectData::guiImage::MoonPicture(c.index, c.count), c.picture) << c.index;

    CurrentLevelIndex = 12;
    MatchLevelCount = 13;
    Object* moon = Make("guiImage");
    auto& v = VariablesOf<ObjectData::guiImage::Variables>(moon);
    EXPECT_STREQ(v.texture, "moon06");
    EXPECT_STREQ(v.backTexture, "gmoon06");

    // Every moon shows the same pair: a new one rewrites the names in place.
    CurrentLevelIndex = 0;
    MatchLevelCount = 0;
    Make("guiImage");
    EXPECT_STREQ(v.texture, "moon00");

    Draw(moon);
    ASSERT_EQ(buffer.tiles[0].size(), 1u);
    ASSERT_EQ(buffer.backgrounds.size(), 1u + 480u);
    const Plane2D& disc = buffer.tiles[0][0];
    EXPECT_FLOAT_EQ(disc.depth, -9000.0f);
    EXPECT_FLOAT_EQ(disc.width, 0.25f * v.moonSize);
    // The moon keeps its place and size on screen when the camera zooms.
    Recorded().r = 0.5f;
    Recorded().cameraX = 10.0f;
    Draw(moon);
    EXPECT_FLOAT_EQ(buffer.tiles[0][0].width, 0.5f * v.moonSize);
    EXPECT_FLOAT_EQ(buffer.tiles[0][0].x, 10.0f - 0.4f);
}

TEST_F(BackdropTest, TheMoonGrowsUntilFourAndPulses) {
    Object* moon = Make("guiImage");
    auto& v = VariablesOf<ObjectData::guiImage::Variables>(moon);
    v.moonSize = 3.9999f;
    moon->DoEvent("Behavior");
    const float grown = v.moonSize;
    EXPECT_GE(grown, 4.0f);
    moon->DoEvent("Behavior");
    EXPECT_EQ(v.moonSize, grown);
    v.moonPhase = 6.28f;
    moon->DoEvent("Behavior");
    EXPECT_NEAR(v.moonPhase, 6.29f - 6.28318f, 1e-5f);
}

TEST_F(BackdropTest, MenuStarsScatterTwinkleAndAreBornAgainInvisible) {
    std::srand(11);
    Object* stars = Make("MenuStars");
    auto& v = VariablesOf<ObjectData::MenuStars::Variables>(stars);
    int below = 0, bright = 0;
    for (int i = 0; i < StarField::kStars; ++i) {
        EXPECT_GE(v.starPosition[i].x, -0.5f);
        EXPECT_LT(v.starPosition[i].x, 0.5f);
        EXPECT_GE(v.starPosition[i].y, -0.2f);
        below += v.starPosition[i].y < 0.0f ? 1 : 0;
        bright += v.starAlpha[i] >= 0.75f ? 1 : 0;
    }
    EXPECT_GT(below, 30);  // about one in eight
    EXPECT_LT(below, 95);
    EXPECT_LT(bright, 16);  // about one in 128

    v.starPhase[0] = 6.28f;
    v.starSpeed[0] = 0.03f;
    stars->DoEvent("Behavior");
    EXPECT_EQ(v.starPhase[0], 0.0f);
    Draw(stars);
    ASSERT_EQ(buffer.backgrounds.size(), 480u);
    EXPECT_EQ(static_cast<std::uint32_t>(buffer.backgrounds[0].colour) >> 24, 0u);  // invisible at phase 0
    EXPECT_EQ(static_cast<std::uint32_t>(buffer.backgrounds[0].colour) & 0xFFFFFFu, 0x8080FFu);
    EXPECT_FLOAT_EQ(buffer.backgrounds[0].depth, -10000.5f);
}

TEST_F(BackdropTest, ParallaxStripsScrollAtTheirOwnRate) {
    Object* strip = Make("ParaBack");
    auto& v = VariablesOf<ObjectData::ParaBack::Variables>(strip);
    v.cameraParallax = {0.0f, 1.0f};
    Recorded().aspect = 1.6f;
    Recorded().r = 0.1f;
    // The level x under the picture's left edge (u = 0), and the strip's y.
    auto origin = [&](float cameraX, float cameraY, float& y) {
        Recorded().cameraX = cameraX;
        Recorded().cameraY = cameraY;
        Draw(strip);
        EXPECT_EQ(buffer.tiles[1].size(), 1u);
        const Plane2D& p = buffer.tiles[1].at(0);
        y = p.y;
        EXPECT_FLOAT_EQ(p.width, 16.0f);  // the whole view
        return (p.x - p.width / 2.0f) - p.u * p.width / p.du;
    };
    float y1 = 0.0f, y2 = 0.0f;
    const float x1 = origin(10.0f, 5.0f, y1), x2 = origin(30.0f, 8.0f, y2);
    EXPECT_NEAR(x1, x2, 1e-3f);      // parallax 0: fixed in the level
    EXPECT_FLOAT_EQ(y2 - y1, 3.0f);  // parallax 1: fixed on screen

    Object* layer = Make("PseudoPara");
    Draw(layer);
    const float u1 = buffer.backgrounds.at(0).u;
    layer->DoEvent("Behavior");
    Draw(layer);
    EXPECT_NE(buffer.backgrounds.at(0).u, u1);  // drifts with the camera still
    EXPECT_STREQ(VariablesOf<ObjectData::ParaBack::Variables>(layer).texture, "nightSkyGround");
}

// The screen between levels writes what it waits for on its backdrop: the
// backdrop is drawn behind everything, never over the screen's lines.
TEST_F(BackdropTest, TheLoadingBackdropFillsTheViewBehindEverything) {
    Object* back = Make("LoadingLevelBackground");
    Draw(back);
    ASSERT_EQ(buffer.backgrounds.size(), 1u);
    EXPECT_FLOAT_EQ(buffer.backgrounds[0].width, 3.0f);
    EXPECT_TRUE(buffer.tiles[15].empty());
    EXPECT_TRUE(buffer.frames.empty());
}

}  // namespace

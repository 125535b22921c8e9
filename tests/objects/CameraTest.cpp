#include <gtest/gtest.h>

#include "ObjectWorld.h"
#include "objects/Camera.h"
#include "platform/graphics/CameraGlobals.h"

using namespace objtest;

namespace {

void BuildCameraLevel(Entity*, const Entity*) {
    Engine::_MakeCopy("PreCameraUpdate", 5.1);
    Engine::_MakeCopy("PostCameraUpdate", 4.9);
}

// Only the camera's passes run: the players stand where the test puts them.
class CameraTest : public ObjectWorld {
protected:
    void SetUp() override {
        ObjectWorld::SetUp();
        world::RegisterEngine("PreCameraUpdate");
        world::RegisterEngine("PostCameraUpdate");
        world::RegisterLevel("CameraOnly", &BuildCameraLevel);
        state = NewState("CameraOnly");
        GameVars().basicLevel = LevelCollision(60, 40);
        camera = Make("Camera", "Camera");
        CameraGlobals::x = CameraGlobals::y = 0.0f;
        CameraGlobals::r = 1.0f;
    }
    void TearDown() override {
        CameraGlobals::x = CameraGlobals::y = 0.0f;
        CameraGlobals::r = 1.0f;
        ObjectWorld::TearDown();
    }
    ObjectData::Camera::Variables& C() { return VariablesOf<ObjectData::Camera::Variables>(camera); }
    Object* Standing(const char* name, float x, float y) {
        Object* p = MakePlayer(name, x, y);
        P(p).cameraPosition = {x, y};
        return p;
    }
    // The level start: the camera on the player, zoomed right in.
    void PlaceAt(float x, float y) {
        C().position = {x, y, 0.0f};
        C().scale = 1.0f;
    }
    Object* camera = nullptr;
};

TEST_F(CameraTest, AnUnplacedCameraShowsTheNormalViewAndPublishesItUnchangedWithoutAPlayer) {
    EXPECT_FLOAT_EQ(C().scale, ObjectData::Camera::kNormalScale);
    EXPECT_TRUE(C().firstTime);
    C().position = {3.0f, 4.0f, 0.0f};
    Frame();
    EXPECT_FLOAT_EQ(CameraGlobals::x, 3.0f);
    EXPECT_FLOAT_EQ(CameraGlobals::y, 4.0f);
    EXPECT_FLOAT_EQ(CameraGlobals::r, 0.1f);
    EXPECT_TRUE(C().firstTime);  // the fade-in is asked for again next frame
}

TEST_F(CameraTest, ALonePlayerSettlesAtTheNormalAndTheRollingZoom) {
    Object* player = Standing("Player_0", 30.0f, 20.0f);
    PlaceAt(30.0f, 20.0f);
    Frame();
    EXPECT_NEAR(C().scale, 1.0f * 0.95f + 10.0f * 0.05f, 1e-5f);  // 5 % a frame
    EXPECT_FALSE(C().firstTime);
    Frames(400);
    EXPECT_NEAR(C().scale, 10.0f, 1e-3f);
    EXPECT_NEAR(C().position.x, 30.0f, 1e-3f);
    EXPECT_NEAR(C().position.y, 20.0f, 1e-3f);
    EXPECT_NEAR(CameraGlobals::r, 0.1f, 1e-5f);
    P(player).rolling = true;
    Frames(400);
    EXPECT_NEAR(C().scale, 15.0f, 1e-3f);
    P(player).rolling = false;
    P(player).spdBoost = 10.0f;
    Frames(5);
    EXPECT_NEAR(C().scale, 15.0f, 1e-3f);  // boosted: still zoomed out
}

TEST_F(CameraTest, ASecondPlayerIsWeighedInByItsDistance) {
    Standing("Player_0", 20.0f, 15.0f);
    Object* other = Standing("Player_1", 31.5f, 15.0f);  // 11.5 away: half weight
    PlaceAt(20.0f, 15.0f);
    C().scale = 10.0f;
    Frame();
    // Centroid (20 + 25.75) / 2 = 22.875; the view widens by 5.75; w = 0.7125.
    EXPECT_NEAR(C().scale, 15.75f * 0.05f + 10.0f * 0.95f, 1e-4f);
    EXPECT_NEAR(C().position.x, 20.0f * 0.9f + (20.0f * 0.7125f + 22.875f * 0.2875f) * 0.1f, 1e-4f);
    EXPECT_NEAR(C().position.y, 15.0f, 1e-4f);

    // Thirteen or more away: as if alone.
    P(other).cameraPosition = {33.5f, 15.0f};
    PlaceAt(20.0f, 15.0f);
    C().scale = 10.0f;
    Frame();
    EXPECT_NEAR(C().scale, 10.0f, 1e-5f);
    EXPECT_NEAR(C().position.x, 20.0f, 1e-5f);
}

TEST_F(CameraTest, ASmallGridPinsTheViewToItsLowerLeftEdges) {
    GameVars().basicLevel = LevelCollision(8, 6);
    Recorded().aspect = 1.5f;
    Standing("Player_0", 3.0f, 2.0f);
    PlaceAt(3.0f, 2.0f);
    Frames(50);
    EXPECT_NEAR(C().scale, 8.0f / 1.5f, 1e-4f);  // as wide as the level
    EXPECT_NEAR(C().position.x - 0.5f * 1.5f * C().scale, 0.0f, 1e-4f);
    EXPECT_NEAR(C().position.y - 0.5f * C().scale, 0.0f, 1e-4f);

    // A level lower than the view: the height is cut to it.
    GameVars().basicLevel = LevelCollision(100, 4);
    Frames(50);
    EXPECT_NEAR(C().scale, 4.0f, 1e-4f);
    EXPECT_NEAR(C().position.y, 2.0f, 1e-4f);
}

TEST_F(CameraTest, ADeadPlayerIsForcedIntoViewOnlyInItsLastSecond) {
    Object* player = Standing("Player_0", 30.0f, 20.0f);
    PlaceAt(30.0f, 20.0f);
    C().scale = 10.0f;
    P(player).cameraPosition = {45.0f, 20.0f};  // looking far away, body left behind
    P(player).deathDelay = 61;
    Frames(100);
    EXPECT_GT(C().position.x - 5.0f, 30.0f - 1.5f);  // the body is out of view
    P(player).deathDelay = 60;
    Frame();
    EXPECT_NEAR(C().position.x - 5.0f, 30.0f - 1.5f, 1e-4f);
}

}  // namespace

// The level's pick-ups, springs and grass drawn by their own handlers through
// the renderer with the baked sheets, read back as pixels.
#include <gtest/gtest.h>

#include "support/SheetRenderWorld.h"

#include <SDL2/SDL.h>

#include <cstdint>
#include <vector>

#include "objects/Camera.h"
#include "objects/Checkpoint.h"
#include "objects/Firefly.h"
#include "objects/GrassBlade.h"
#include "objects/GrassManager.h"
#include "objects/LevelGraphics.h"
#include "objects/MoonShard.h"
#include "objects/Spring.h"
#include "platform/graphics/CameraGlobals.h"
#include "platform/graphics/DirectX.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/SheetData.h"
#include "platform/graphics/TripleBuffer.h"

using namespace objtest;

namespace {

class PickupPixelTest : public SheetRenderWorld {
protected:
    // One frame of the drawing passes of the given objects, drawn and read back.
    void DrawFrame(Object* camera, Object* graphics, const std::vector<Object*>& drawn) {
        Buffer* buffer = BeginFrame(camera);
        ASSERT_NE(buffer, nullptr);
        ObjectData::LevelGraphics::GraphicsDraw(graphics, graphics);
        for (Object* o : drawn) o->GetEvent("GraphicsDraw")(o, o);
        EndFrame(buffer);
    }
    // The brightest pixel of a small square around a level point.
    int Brightest(float x, float y, float half) const {
        const float perUnit = static_cast<float>(kHeight) / scale;
        int best = 0;
        for (float dy = -half; dy <= half; dy += 0.05f) {
            for (float dx = -half; dx <= half; dx += 0.05f) {
                const int px = static_cast<int>((x + dx - cx) * perUnit + kWidth / 2.0f);
                const int py = static_cast<int>(kHeight / 2.0f - (y + dy - cy) * perUnit);
                if (px < 0 || py < 0 || px >= kWidth || py >= kHeight) continue;
                const std::size_t i = static_cast<std::size_t>((py * kWidth + px) * 4);
                best = std::max(best, pixels[i] + pixels[i + 1] + pixels[i + 2]);
            }
        }
        return best;
    }
};

TEST_F(PickupPixelTest, ShardFireflySpringAndGrassShowWhereTheyStand) {
    SetGrid({
        "%%%%%%%%%%%%%%%%",
        "%..............%",
        "%..............%",
        "%..............%",
        "%..............%",
        "%..............%",
        "%..............%",
        "%%%%%%%%%%%%%%%%",
    });
    GameVars().basicLevel.GenerateCompleteTileGrid();
    cx = 8.0f;
    cy = 4.0f;
    Object* camera = Make("Camera", "Camera");
    VariablesOf<ObjectData::Camera::Variables>(camera).position = {cx, cy, 0.0f};
    Object* graphics = Make("LevelGraphics", "LevelGraphics");
    MakePlayer("Player_0", 14.0f, 1.5f);

    Object* shard = Make("MoonShard", "m0");
    VariablesOf<ObjectData::MoonShard::Variables>(shard).position = {4.5f, 4.5f, 0.0f};
    Object* spring = Make("Spring", "S_1");
    VariablesOf<ObjectData::Spring::Variables>(spring).position = {8.5f, 1.5f, 0.0f};
    Object* firefly = Make("Firefly", "f0");
    auto& fly = VariablesOf<ObjectData::Firefly::Variables>(firefly);
    fly.position = {11.5f, 4.5f, 0.0f};
    fly.frandPosX = fly.frandPosY = 0.0f;

    Object* grass = Make("GrassManager");
    Object* blade = Make("GrassBlade");
    auto& b = VariablesOf<ObjectData::GrassBlade::Variables>(blade);
    b.position = {6.5f, 1.05f, 0.0f};
    b.grassRotation = 1.570795f;
    VariablesOf<ObjectData::GrassManager::Variables>(grass).currentGrass = blade;
    grass->DoEvent("AddGrass");

    DrawFrame(camera, graphics, {});
    const int emptyBlade = Brightest(6.5f, 1.45f, 0.05f);
    const int emptyShard = Brightest(4.5f, 4.5f, 0.2f);
    const int emptySpring = Brightest(8.5f, 1.5f, 0.3f);
    const int emptyFly = Brightest(11.5f, 4.5f, 0.05f);

    DrawFrame(camera, graphics, {shard, spring, firefly, grass});
    EXPECT_GT(Brightest(4.5f, 4.5f, 0.2f), emptyShard + 100);
    EXPECT_GT(Brightest(8.5f, 1.5f, 0.3f), emptySpring + 100);
    EXPECT_GT(Brightest(11.5f, 4.5f, 0.05f), emptyFly + 100);
    EXPECT_GT(Brightest(6.5f, 1.45f, 0.05f), emptyBlade + 60);  // the blade stands up from its root
}

// A checkpoint well away from the camera's centre, built as the level
// builds it (the prototype's size), shows where it stands.
TEST_F(PickupPixelTest, ACheckpointAwayFromTheCameraShows) {
    SetGrid({
        "%%%%%%%%%%%%%%%%",
        "%..............%",
        "%..............%",
        "%..............%",
        "%..............%",
        "%..............%",
        "%..............%",
        "%%%%%%%%%%%%%%%%",
    });
    GameVars().basicLevel.GenerateCompleteTileGrid();
    cx = 8.0f;
    cy = 4.0f;
    Object* camera = Make("Camera", "Camera");
    VariablesOf<ObjectData::Camera::Variables>(camera).position = {cx, cy, 0.0f};
    Object* graphics = Make("LevelGraphics", "LevelGraphics");
    MakePlayer("Player_0", 14.0f, 1.5f);
    Object* checkpoint = Make("Checkpoint", "c0");
    auto& c = VariablesOf<ObjectData::Checkpoint::Variables>(checkpoint);
    c.position = {3.5f, 5.5f, 0.0f};
    c.pulse = 0.0f;

    DrawFrame(camera, graphics, {});
    const int empty = Brightest(3.5f, 5.5f, 0.5f);
    DrawFrame(camera, graphics, {checkpoint});
    EXPECT_GT(Brightest(3.5f, 5.5f, 0.5f), empty + 150);
}

}  // namespace

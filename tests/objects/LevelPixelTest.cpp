// A fixture level drawn by the level's own objects through the renderer with
// the baked sheets, read back as pixels: tiles, grass edges, spikes and a
// player where the camera puts them.
#include <gtest/gtest.h>

#include "support/PngFile.h"
#include "support/SheetRenderWorld.h"

#include <SDL2/SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "networking/Match.h"
#include "objects/Camera.h"
#include "objects/GuiImage.h"
#include "objects/LevelGraphics.h"
#include "objects/ParaBack.h"
#include "objects/PlayerDrawing.h"
#include "platform/graphics/CameraGlobals.h"
#include "platform/graphics/DirectX.h"
#include "platform/graphics/GLTexture.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/SheetData.h"
#include "platform/graphics/TripleBuffer.h"

using namespace objtest;

namespace {

struct Rgb {
    int r, g, b;
    int Sum() const { return r + g + b; }
};

class LevelPixelTest : public SheetRenderWorld {
protected:
    void TearDown() override {
        CurrentLevelIndex = 0;
        MatchLevelCount = 0;
        SheetRenderWorld::TearDown();
    }

    // One frame of the drawing passes, drawn and read back.
    void DrawFrame(Object* camera, Object* graphics, const std::vector<Object*>& players,
                   const std::vector<Object*>& scenery = {}) {
        Buffer* buffer = BeginFrame(camera);
        ASSERT_NE(buffer, nullptr);
        if (graphics != nullptr) ObjectData::LevelGraphics::GraphicsDraw(graphics, graphics);
        for (Object* o : scenery) o->DoEvent("GraphicsDraw");
        for (Object* p : players) ObjectData::Player::Draw(p, p);
        EndFrame(buffer);
    }
    // The pixel at a level point, for the camera at (cx, cy) with view height s.
    Rgb At(float x, float y) const {
        const float perUnit = static_cast<float>(kHeight) / scale;
        const int px = static_cast<int>((x - cx) * perUnit + kWidth / 2.0f);
        const int py = static_cast<int>(kHeight / 2.0f - (y - cy) * perUnit);
        const std::size_t i = static_cast<std::size_t>((py * kWidth + px) * 4);
        return {pixels[i], pixels[i + 1], pixels[i + 2]};
    }
    void Save(const char* path) const { testsupport::WritePng(path, kWidth, kHeight, 4, pixels.data()); }
};

TEST_F(LevelPixelTest, TilesGrassSpikesAndAPlayerLieWhereTheCameraPutsThem) {
    SetGrid({
        "%%%%%%%%%%%%%%%%%%%%%%%%",
        "%......................%",
        "%......................%",
        "%..............####....%",
        "%......................%",
        "%........B.............%",
        "%.........^^^..........%",
        "%#########%%%##########%",
        "%%%%%%%%%%%%%%%%%%%%%%%%",
    });
    GameVars().basicLevel.GenerateCompleteTileGrid();
    cx = 9.0f;
    cy = 4.5f;
    Object* camera = Make("Camera", "Camera");
    VariablesOf<ObjectData::Camera::Variables>(camera).position = {cx, cy, 0.0f};
    Object* graphics = Make("LevelGraphics", "LevelGraphics");
    Object* player = MakePlayer("Player_0", 5.5f, 2.5f);
    P(player).playerColor = 0xFFFF5030u;
    for (int i = 0; i < 30; ++i) ObjectData::Player::Animate(player, player);  // settle the body
    DrawFrame(camera, graphics, {player});
    Save("/tmp/glimmerfall_level_fixture.png");

    const Rgb dirt = At(3.5f, 0.5f);
    EXPECT_GT(dirt.Sum(), 60) << "dirt " << dirt.r << "," << dirt.g << "," << dirt.b;
    EXPECT_GT(dirt.b, dirt.g);  // the night ground is violet
    const Rgb sky = At(12.5f, 4.5f);
    EXPECT_LT(sky.Sum(), 10) << "sky " << sky.r << "," << sky.g << "," << sky.b;
    const Rgb grass = At(3.5f, 1.78f);  // the rim along the top of the grass row
    EXPECT_GT(grass.g, grass.r) << "grass " << grass.r << "," << grass.g << "," << grass.b;
    EXPECT_GT(grass.g, grass.b);
    const Rgb spike = At(11.5f, 2.5f);  // the middle spike of the middle cell
    EXPECT_GT(spike.Sum(), 60);
    const Rgb gap = At(11.33f, 2.95f);  // between two spike tips
    EXPECT_LT(gap.Sum(), spike.Sum());
    const Rgb body = At(5.5f, 2.5f - 0.125f);
    EXPECT_GT(body.r, 2 * body.g) << "body " << body.r << "," << body.g << "," << body.b;
    EXPECT_GT(body.r, 100);

    // The camera moves right: the same level point lands further left.
    cx = 12.0f;
    VariablesOf<ObjectData::Camera::Variables>(camera).position = {cx, cy, 0.0f};
    DrawFrame(camera, graphics, {player});
    EXPECT_GT(At(5.5f, 2.5f - 0.125f).r, 100);
    EXPECT_GT(At(3.5f, 0.5f).Sum(), 60);
    EXPECT_LT(At(12.5f, 4.5f).Sum(), 10);
}

TEST_F(LevelPixelTest, TheHudMoonAndTheStarsShineBehindThePlayLevel) {
    SetGrid({
        "%%%%%%%%%%%%%%%%%%%%%%%%",
        "%......................%",
        "%......................%",
        "%......................%",
        "%......................%",
        "%......................%",
        "%######################%",
        "%%%%%%%%%%%%%%%%%%%%%%%%",
    });
    GameVars().basicLevel.GenerateCompleteTileGrid();
    cx = 9.0f;
    cy = 4.0f;
    Object* camera = Make("Camera", "Camera");
    VariablesOf<ObjectData::Camera::Variables>(camera).position = {cx, cy, 0.0f};
    Object* graphics = Make("LevelGraphics", "LevelGraphics");
    Object* player = MakePlayer("Player_0", 5.5f, 2.5f);
    for (int i = 0; i < 30; ++i) ObjectData::Player::Animate(player, player);
    std::srand(3);
    CurrentLevelIndex = 4;  // half-way through eight levels: a waxing moon
    MatchLevelCount = 8;
    Object* moon = Make("guiImage");
    VariablesOf<ObjectData::guiImage::Variables>(moon).moonPhase = 3.14159f;  // its dimmest
    for (int i = 0; i < 100; ++i) moon->DoEvent("Behavior");                  // the stars fade in
    Object* hills = Make("ParaBack");
    auto& strip = VariablesOf<ObjectData::ParaBack::Variables>(hills);
    strip.texture = "grassPara";
    strip.size = {20.0f, 4.0f};
    strip.position = {0.0f, -2.0f, 0.0f};
    DrawFrame(camera, graphics, {player}, {hills, moon});
    Save("/tmp/glimmerfall_level_backdrop.png");

    // The moon: above and left of the view's centre, its picture 0.4 of the
    // view high and the disc 120 / 256 of that; a waxing crescent is lit
    // along its right edge only.
    const float moonX = cx - 0.2f * kAspect * scale, moonY = cy + 0.25f * scale;
    const float radius = 0.4f * scale * 120.0f / 256.0f;
    const Rgb lit = At(moonX + 0.92f * radius, moonY - 0.5f);
    const Rgb dark = At(moonX - 0.5f * radius, moonY - 0.5f);
    EXPECT_GT(lit.Sum(), 300) << lit.r << "," << lit.g << "," << lit.b;
    EXPECT_GT(lit.b, lit.r);  // violet-white
    EXPECT_LT(dark.Sum(), lit.Sum() / 2);
    // Somewhere in the sky a star shows.
    int stars = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 4)
        stars += (pixels[i + 2] > 60 && pixels[i] < pixels[i + 2]) ? 1 : 0;
    EXPECT_GT(stars, 20);
}

TEST_F(LevelPixelTest, OnAScreenWithoutTilesTheMoonStillShines) {
    GameVars().basicLevel = LevelCollision(40, 20);
    cx = 0.0f;
    cy = 0.0f;
    Object* camera = Make("Camera", "Camera");
    VariablesOf<ObjectData::Camera::Variables>(camera).position = {0.0f, 0.0f, 0.0f};
    VariablesOf<ObjectData::Camera::Variables>(camera).scale = 1.0f;  // menus draw in view units
    scale = 1.0f;
    std::srand(5);
    Object* stars = Make("MenuStars");
    for (int i = 0; i < 100; ++i) stars->DoEvent("Behavior");
    CurrentLevelIndex = 4;
    MatchLevelCount = 8;
    Object* moon = Make("guiImage");
    DrawFrame(camera, nullptr, {}, {stars, moon});  // no tile renderer on this screen
    Save("/tmp/glimmerfall_menu_backdrop.png");
    const float radius = 0.4f * 120.0f / 256.0f;
    const Rgb lit = At(-0.2f * kAspect + 0.92f * radius, 0.25f - 0.05f);
    EXPECT_GT(lit.Sum(), 300) << lit.r << "," << lit.g << "," << lit.b;
}

}  // namespace

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "ObjectWorld.h"
#include "networking/messages/MSG_RemoveTerrain.h"
#include "objects/Camera.h"
#include "objects/FakeBrokenTerrain.h"
#include "objects/LevelGraphics.h"
#include "objects/PickupSupport.h"
#include "platform/graphics/Buffer.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/SheetData.h"
#include "platform/graphics/Texture.h"

using namespace objtest;
namespace LG = ObjectData::LevelGraphics;

namespace {

class LevelGraphicsTest : public ObjectWorld {
protected:
    void TearDown() override {
        graphicsEngine.SetCurrentBuffer(nullptr);
        ObjectWorld::TearDown();
    }
    // Draws the grid's cells as a camera over its middle sees them.
    void DrawGrid(const std::vector<std::string>& rows) {
        SetGrid(rows);
        GameVars().basicLevel.GenerateCompleteTileGrid();
        buffer.Clear();
        const LevelCollision& grid = GameVars().basicLevel;
        LG::DrawCells(buffer, grid, grid.GetWidth() / 2.0f, grid.GetHeight() / 2.0f, 20.0f);
    }
    LG::Variables& G(Entity* graphics) { return VariablesOf<LG::Variables>(graphics); }
    Buffer buffer;
};

TEST_F(LevelGraphicsTest, ALoneGrassBlockHasFourEdgesAndATrimmedBlock) {
    DrawGrid({"...", ".#.", "..."});
    const auto& grass = buffer.tiles[7];
    ASSERT_EQ(grass.size(), 4u);
    const float rotations[] = {0.0f, 4.712385f, 3.14159f, 1.570795f};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(grass[i].rotation, rotations[i]);
        EXPECT_FLOAT_EQ(grass[i].depth, -1000.0f);
        EXPECT_FLOAT_EQ(grass[i].height, 1.25f);
    }
    EXPECT_FLOAT_EQ(grass[0].x, 1.5f);
    EXPECT_FLOAT_EQ(grass[0].y, 1.4f);
    EXPECT_FLOAT_EQ(grass[0].width, 1.0f);
    ASSERT_EQ(buffer.tiles[3].size(), 1u);
    const Plane2D& block = buffer.tiles[3][0];
    EXPECT_FLOAT_EQ(block.width, 1.0f);
    EXPECT_FLOAT_EQ(block.height, 1.125f);
    EXPECT_FLOAT_EQ(block.x, 1.5f);
    EXPECT_FLOAT_EQ(block.y, 1.4625f);
}

TEST_F(LevelGraphicsTest, GrassUnderDirtOrSpikesGetsNoTopEdge) {
    struct Case {
        std::vector<std::string> rows;
        std::size_t edges;
    };
    const Case cases[] = {
        {{"...", ".#.", "%%%"}, 3},  // open top under empty space: an edge
        {{".%.", ".#.", "%%%"}, 2},  // dirt above: none on top (and the dirt joins the block)
        {{".^.", ".#.", "%%%"}, 2},
        {{"...", "###", "%%%"}, 3},  // a row: tops of all three, outer sides only
    };
    for (const Case& c : cases) {
        DrawGrid(c.rows);
        EXPECT_EQ(buffer.tiles[7].size(), c.edges) << c.rows[0] << "/" << c.rows[1];
    }
}

TEST_F(LevelGraphicsTest, SpikesTakeTheirVariantsAlongDiagonalsAndLightTheLightMap) {
    DrawGrid({".....", "..^..", ".^...", "^....", "%%%%%"});
    // Three teeth per cell in their own list over the ground, a base per
    // cell among the ground, and a cold light per tooth in the light map.
    ASSERT_EQ(buffer.tiles[6].size(), 3u * 3u);
    EXPECT_EQ(buffer.tiles[3].size(), 3u + 5u);
    ASSERT_EQ(buffer.layers[0].size(), 9u);
    EXPECT_TRUE(buffer.layers[1].empty());
    // Each cell lies on c + r = 2: the same three pictures, unrotated, 0.6 up.
    for (int cell = 0; cell < 3; ++cell) {
        for (int j = 0; j < 3; ++j) {
            const Plane2D& tooth = buffer.tiles[6][static_cast<std::size_t>(cell * 3 + j)];
            const Plane2D& first = buffer.tiles[6][static_cast<std::size_t>(j)];
            EXPECT_EQ(tooth.u, first.u);
            EXPECT_FLOAT_EQ(tooth.width, 0.33666667f);
            EXPECT_FLOAT_EQ(tooth.height, 1.01f);
            const Plane2D& light = buffer.layers[0][static_cast<std::size_t>(cell * 3 + j)];
            EXPECT_FLOAT_EQ(light.x, tooth.x);
            EXPECT_FLOAT_EQ(light.y, tooth.y);
            const auto colour = static_cast<std::uint32_t>(light.colour);
            EXPECT_GT(colour & 0xFFu, (colour >> 16) & 0xFFu) << "a cold light";
        }
    }
    EXPECT_EQ(LG::kSpikeVariants[(3 * 2 + 0) % 32], 6);
    EXPECT_EQ(LG::kSpikeVariants[(3 * 2 + 1) % 32], 7);
    // A base between two up-spike neighbours is full width; a lone one trimmed.
    DrawGrid({".....", "^^^..", "%%%%%"});
    std::vector<float> bases;
    for (const Plane2D& p : buffer.tiles[3])
        if (std::fabs(p.height - 1.61f) < 1e-6f) bases.push_back(p.width);
    ASSERT_EQ(bases.size(), 3u);
    EXPECT_FLOAT_EQ(bases[0], 1.26f - 0.125f);
    EXPECT_FLOAT_EQ(bases[1], 1.26f);
    EXPECT_FLOAT_EQ(bases[2], 1.26f - 0.125f);
}

// Variant k of the table draws the pictures "spike0k" and "spikelight0k" of
// the baked sheets.
TEST_F(LevelGraphicsTest, SpikeVariantKDrawsSpikePictureK) {
    LoadSheetData([](int, const SheetImage&, GLTexture&) { return true; });
    struct Unload {
        ~Unload() { FreeSheetData(); }
    } unload;
    // The pictures told apart by where they lie on the sheets.
    std::map<std::pair<float, float>, std::string> pictureAt;
    for (int k = 0; k < 8; ++k) {
        for (const std::string stem : {"spike0", "spikelight0"}) {
            const std::string name = stem + std::to_string(k);
            const Texture* t = FrameTexture(FrameMap(name, 0, 0));
            ASSERT_NE(t, nullptr) << name;
            pictureAt[{t->u, t->v}] = name;
        }
    }
    ASSERT_EQ(pictureAt.size(), 16u);
    auto pictureOf = [&](const Plane2D& p) {
        auto found = pictureAt.find({p.u, p.v});
        return found == pictureAt.end() ? std::string("?") : found->second;
    };

    DrawGrid({"......", "^^^^^^", "%%%%%%"});
    const LevelCollision& grid = GameVars().basicLevel;
    int row = -1;
    for (int r = 0; r < grid.GetHeight(); ++r)
        if (grid.GetCell(0, r) == 3) row = r;
    ASSERT_GE(row, 0);
    std::set<int> variants;
    std::vector<const Plane2D*> spikes;
    for (const Plane2D& p : buffer.tiles[6]) spikes.push_back(&p);
    ASSERT_EQ(spikes.size(), 18u);
    ASSERT_EQ(buffer.layers[0].size(), 18u);
    for (std::size_t i = 0; i < spikes.size(); ++i) {
        const Plane2D& spike = *spikes[i];
        const int c = static_cast<int>(std::floor(spike.x));
        const int j = static_cast<int>(std::lround((spike.x - static_cast<float>(c) - 1.0f / 6.0f) * 3.0f));
        const int k = LG::kSpikeVariants[(3 * (c + row) + j) % 32];
        variants.insert(k);
        EXPECT_EQ(pictureOf(spike), "spike0" + std::to_string(k)) << "cell " << c << " spike " << j;
        EXPECT_EQ(pictureOf(buffer.layers[0][i]), "spikelight0" + std::to_string(k)) << "cell " << c << " spike " << j;
    }
    EXPECT_EQ(variants.size(), 8u);  // the row shows every variant
}

TEST_F(LevelGraphicsTest, OnlyCellsInTheCamerasReachAreVisited) {
    GameVars().basicLevel = LevelCollision(200, 27);
    GameVars().basicLevel.SetGrid(2);
    buffer.Clear();
    LG::DrawCells(buffer, GameVars().basicLevel, 100.0f, 13.0f, 10.0f);
    // Columns 90 to 110 and rows 6 to 19.
    EXPECT_EQ(buffer.tiles[3].size(), 21u * 14u);
}

TEST_F(LevelGraphicsTest, DebrisLandsInsideItsCellFallsAndTheRingKeepsTheNewest) {
    Object* graphics = Make("LevelGraphics", "LevelGraphics");
    LG::Variables& g = G(graphics);
    for (const D3DXVECTOR2& p : g.breakPosition) ASSERT_LE(p.y, -1.0f);  // nothing live yet
    std::srand(5);
    g.newBreak = {3.7f, 2.2f};
    graphics->DoEvent("AddParticles");
    EXPECT_EQ(g.breakCurrent, 64);
    for (int i = 0; i < 64; ++i) {
        EXPECT_GE(g.breakPosition[i].x, 3.0f);
        EXPECT_LT(g.breakPosition[i].x, 4.0f);
        EXPECT_GE(g.breakPosition[i].y, 2.0f);
        EXPECT_LT(g.breakPosition[i].y, 3.0f);
        EXPECT_GE(g.breakSize[i].x, 0.1f);
        EXPECT_LT(g.breakSize[i].x, 0.5f);
    }
    const D3DXVECTOR2 before = g.breakPosition[0], speed = g.breakVelocity[0];
    Frame();
    EXPECT_FLOAT_EQ(g.breakVelocity[0].y, speed.y + GameVars().playerGravity);
    EXPECT_FLOAT_EQ(g.breakPosition[0].y, before.y + speed.y + GameVars().playerGravity);
    EXPECT_FLOAT_EQ(g.breakPosition[100].y, -2.0f);  // unused slots stay put

    // 129 more breaks far away: the first break's pieces are all overwritten.
    g.newBreak = {50.5f, 20.5f};
    for (int n = 0; n < 129; ++n) graphics->DoEvent("AddParticles");
    EXPECT_EQ(g.breakCurrent, 130 * 64);
    for (int i = 0; i < LG::kDebrisSlots; ++i) ASSERT_GE(g.breakPosition[i].x, 50.0f) << i;
}

TEST_F(LevelGraphicsTest, DrawSetsUpTheTileListsOnlyWithALocalPlayer) {
    SetGrid({"....", ".#B.", "%%%%"});
    Object* camera = Make("Camera", "Camera");
    VariablesOf<ObjectData::Camera::Variables>(camera).position = {2.0f, 1.5f, 0.0f};
    Object* graphics = Make("LevelGraphics", "LevelGraphics");
    G(graphics).newBreak = {1.5f, 1.5f};
    graphics->DoEvent("AddParticles");
    graphicsEngine.SetCurrentBuffer(&buffer);
    buffer.Clear();
    graphics->DoEvent("GraphicsDraw");
    EXPECT_EQ(buffer.tiles[4].size(), 1u);    // the breakable block
    EXPECT_EQ(buffer.tiles[14].size(), 64u);  // every piece is in view
    EXPECT_EQ(buffer.tiles[14][0].colour, static_cast<std::int32_t>(0xFFCCCCCCu));
    EXPECT_EQ(buffer.tileTechnique[3], "TechniqueTile2D");  // untouched

    MakePlayer("Player_0", 1.5f, 2.5f);
    buffer.Clear();
    graphics->DoEvent("GraphicsDraw");
    EXPECT_EQ(buffer.tileTechnique[3], "TechniqueTileGroup2DDepth");
    EXPECT_EQ(buffer.tileTechnique[5], "TechniqueTileSplatter2D");
    EXPECT_EQ(buffer.tileTechnique[14], "TechniqueTileGroup2D");
    EXPECT_EQ(buffer.layerColor[0], 0x8C8C8Cu);
}

int removeTerrainSent = 0;

TEST_F(LevelGraphicsTest, ABrokenCellTellsAJoiningClientToRemoveTerrain) {
    removeTerrainSent = 0;
    pickupNetwork.sendToNewClient = [](Networking::BaseNetMessage& message) {
        if (dynamic_cast<Networking::NetMessage::MSG_RemoveTerrain*>(&message) != nullptr) ++removeTerrainSent;
    };
    Object* whole = Make("FakeBrokenTerrain");
    Object* broken = Make("FakeBrokenTerrain");
    VariablesOf<ObjectData::FakeBrokenTerrain::Variables>(broken).broken = true;
    EXPECT_TRUE(whole->GetEngines().empty());  // it joins no engine
    whole->DoEvent("OnNewPlayer");
    EXPECT_EQ(removeTerrainSent, 0);
    broken->DoEvent("OnNewPlayer");
    EXPECT_EQ(removeTerrainSent, 1);
    ResetPickupNetwork();
}

}  // namespace

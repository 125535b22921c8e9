#include <gtest/gtest.h>

#include <cmath>

#include "PickupWorld.h"
#include "objects/Camera.h"
#include "objects/GrassBlade.h"
#include "objects/GrassManager.h"

using namespace objtest;
namespace Grass = ObjectData::GrassManager;
namespace Blade = ObjectData::GrassBlade;

namespace {

constexpr float kHalfPi = 1.570795f;

class GrassManagerTest : public PickupWorld {
protected:
    void SetUp() override {
        PickupWorld::SetUp();
        SetGrid({"........", "........", "........", "%%%%%%%%"});
        manager = Make("GrassManager");
    }
    // A blade placed and handed to the manager as the level scripts do.
    Object* Grow(const char* type, float x, float y, float rotation) {
        Object* blade = Place(type, "", x, y);
        VariablesOf<Blade::Variables>(blade).grassRotation = rotation;
        VariablesOf<Grass::Variables>(manager).currentGrass = blade;
        manager->DoEvent("AddGrass");
        return blade;
    }
    static Blade::Variables& B(Entity* blade) { return VariablesOf<Blade::Variables>(blade); }
    Object* manager = nullptr;
};

TEST_F(GrassManagerTest, BladeIsCountedInItsNineCellsAndEveryBlockItsViewReaches) {
    Object* blade = Grow("GrassBlade", 10.5f, 20.9f, kHalfPi);
    for (int x = 8; x <= 12; ++x) {
        for (int y = 18; y <= 22; ++y) {
            const bool near = std::abs(x - 10) <= 1 && std::abs(y - 20) <= 1;
            EXPECT_EQ(Grass::CellCount(manager, x, y), near ? 1u : 0u) << x << "," << y;
            if (near) {
                EXPECT_EQ(Grass::CellSlot(manager, x, y, 0), blade);
            }
        }
    }
    // x 10 ± 20 spans block columns 0 and 1; y 20 ± 12 spans rows 0, 1 and 2.
    for (int bx = 0; bx < 4; ++bx) {
        for (int by = 0; by < 4; ++by) {
            const bool reached = bx <= 1 && by <= 2;
            EXPECT_EQ(Grass::BlockCount(manager, bx, by), reached ? 1u : 0u) << bx << "," << by;
        }
    }
}

TEST_F(GrassManagerTest, EdgesLeaveOutsideCellsAndClampBlocks) {
    Grow("GrassBlade", 0.5f, 0.9f, kHalfPi);
    Grow("GrassBlade", 511.5f, 511.5f, kHalfPi);
    EXPECT_EQ(Grass::CellCount(manager, 0, 0), 1u);
    EXPECT_EQ(Grass::CellCount(manager, 1, 1), 1u);
    EXPECT_EQ(Grass::CellCount(manager, 511, 511), 1u);
    EXPECT_EQ(Grass::CellCount(manager, 510, 510), 1u);
    EXPECT_EQ(Grass::BlockCount(manager, 0, 0), 1u);  // clamped: once, not once per clamped step
    EXPECT_EQ(Grass::BlockCount(manager, 31, 31), 1u);
    EXPECT_EQ(Grass::BlockCount(manager, 30, 31), 1u);
    EXPECT_EQ(Grass::BlockCount(manager, 29, 31), 0u);
}

TEST_F(GrassManagerTest, FullCellKeepsItsCountAndTheNewestBladeTakesTheLastSlot) {
    Object* first = nullptr;
    Object* last = nullptr;
    for (int i = 0; i < 300; ++i) {
        last = Grow("GrassBlade", 100.5f, 100.5f, kHalfPi);
        if (i == 0) first = last;
    }
    EXPECT_EQ(Grass::CellCount(manager, 100, 100), 255u);
    EXPECT_EQ(Grass::CellSlot(manager, 100, 100, 0), first);
    EXPECT_EQ(Grass::CellSlot(manager, 100, 100, 255), last);
    EXPECT_EQ(Grass::BlockCount(manager, 6, 6), 300u);
    // Sparse: a few hundred blades take a tiny share of the fixed tables.
    EXPECT_LT(Grass::MemoryBytes(manager), std::size_t{1} << 20);
    EXPECT_GT(Grass::kFixedTableBytes, std::size_t{700} << 20);
}

TEST_F(GrassManagerTest, LandingPlayerFlattensAFloorBladeWhichSpringsBack) {
    Object* blade = Grow("GrassBlade", 3.5f, 1.9f, kHalfPi);
    Object* player = MakePlayer("Player_0", 3.5f, 2.3f);
    P(player).velocity = {0.05f, -0.1f};  // k = 4: the upward part is divided by 4
    P(player).collisionflag = 0;
    manager->DoEvent("Behavior");
    const float expected = std::atan2(std::sin(kHalfPi) / 4.0f, std::cos(kHalfPi) + 0.15f);
    EXPECT_NEAR(B(blade).grassRotation, expected, 1e-5f);
    EXPECT_NEAR(B(blade).unRotate, kHalfPi - expected, 1e-5f);

    // Contact ends; each drawn frame gives back half a percent of the bend.
    P(player).position = {30.0f, 2.3f, 0.0f};
    const float bend = B(blade).unRotate;
    Blade::XGraphicsDraw(blade, Blade::Kind::Up);
    EXPECT_NEAR(B(blade).grassRotation, expected + 0.005f * bend, 1e-5f);
    for (int i = 0; i < 2000; ++i) Blade::XGraphicsDraw(blade, Blade::Kind::Up);
    EXPECT_NEAR(B(blade).grassRotation, kHalfPi, 1e-3f);
}

TEST_F(GrassManagerTest, StandingStillOnAFloorBladeLeavesItUpright) {
    Object* blade = Grow("GrassBlade", 3.5f, 1.9f, kHalfPi);
    Object* player = MakePlayer("Player_0", 3.5f, 2.3f);
    P(player).velocity = {0.0f, 0.0f};
    manager->DoEvent("Behavior");
    EXPECT_NEAR(B(blade).grassRotation, kHalfPi, 1e-5f);
    EXPECT_NEAR(B(blade).unRotate, 0.0f, 1e-5f);
}

TEST_F(GrassManagerTest, GatesAndPlayersTenToFifteenBend) {
    struct Case {
        const char* type;
        float rotation;
        D3DXVECTOR2 velocity;
        int flags;
        bool bends;
    };
    const Case cases[] = {
        {"GrassBlade", kHalfPi, {0.2f, 0.0f}, 0, true},
        {"GrassBlade", kHalfPi, {0.2f, 0.0f}, 1, false},  // against a wall
        {"GrassBlade", kHalfPi, {0.2f, 0.2f}, 0, false},  // jumping up
        {"GrassBladeDown", 4.712385f, {0.2f, 0.0f}, 0, true},
        {"GrassBladeDown", 4.712385f, {0.2f, -0.2f}, 0, false},
        {"GrassBladeLeft", 3.14159f, {0.0f, 0.2f}, 0, true},
        {"GrassBladeLeft", 3.14159f, {-0.2f, 0.2f}, 0, false},
        {"GrassBladeRight", 0.0f, {0.0f, 0.2f}, 0, true},
        {"GrassBladeRight", 0.0f, {0.0f, 0.2f}, 8, false},  // on a floor
    };
    for (const Case& c : cases) {
        for (const char* name : {"Player_0", "Player_:", "Player_?"}) {
            SCOPED_TRACE(std::string(c.type) + " " + name + " vx " + std::to_string(c.velocity.x));
            Object* blade = Place(c.type, "", 3.5f, 1.9f);
            B(blade).grassRotation = c.rotation;
            Object* player = MakePlayer(name, 3.5f, 2.3f);
            P(player).velocity = c.velocity;
            P(player).collisionflag = c.flags;
            blade->DoEvent("Flatten");
            EXPECT_EQ(std::fabs(B(blade).unRotate) > 1e-4f, c.bends);
            EXPECT_LE(std::fabs(B(blade).unRotate), 3.14159266f);
            blade->_Delete();
            player->_Delete();
            Object::_RemoveDeleted();
        }
    }
}

TEST_F(GrassManagerTest, ManagerDrawsOnlyTheCameraBlocksBladesAndNothingWithoutACamera) {
    Object* near = Grow("GrassBlade", 3.5f, 1.9f, kHalfPi);
    Object* far = Grow("GrassBlade", 200.5f, 1.9f, kHalfPi);
    manager->DoEvent("GraphicsDraw");
    EXPECT_EQ(B(near).grassDance, 0.0f);
    Object* camera = Make("Camera", "Camera");
    VariablesOf<ObjectData::Camera::Variables>(camera).scale = 10.0f;
    VariablesOf<ObjectData::Camera::Variables>(camera).position = {20.0f, 5.0f, 0.0f};  // block (1, 0)
    manager->DoEvent("GraphicsDraw");
    EXPECT_NEAR(B(near).grassDance, 0.06f, 1e-6f);
    EXPECT_EQ(B(far).grassDance, 0.0f);
}

TEST_F(GrassManagerTest, EveryManagerBuildsItsOwnTables) {
    Grow("GrassBlade", 3.5f, 1.9f, kHalfPi);
    Object* second = Make("GrassManager");
    EXPECT_EQ(Grass::CellCount(second, 3, 1), 0u);
    EXPECT_EQ(Grass::CellCount(manager, 3, 1), 1u);
    EXPECT_NE(VariablesOf<Grass::Variables>(second).grassBlade, VariablesOf<Grass::Variables>(manager).grassBlade);
    second->DoEvent("Unload");
    EXPECT_EQ(VariablesOf<Grass::Variables>(second).grassBlade, nullptr);
    EXPECT_EQ(Grass::MemoryBytes(second), 0u);
}

}  // namespace

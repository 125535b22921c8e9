#include <gtest/gtest.h>

#include <cmath>

#include "ObjectWorld.h"

using namespace objtest;

namespace {

class PlayerBuiltInLevelsTest : public ObjectWorld {};

// A scripted run on every built-in grid: right held, a jump every half
// second. The body stays finite, inside the speed limit and never sinks
// into terrain, and a death always ends back at the checkpoint.
TEST_F(PlayerBuiltInLevelsTest, ScriptedRunsStayInsideTheRules) {
    for (int level = 0; level < 13; ++level) {
        SCOPED_TRACE(level);
        LevelCollision& grid = GameVars().basicLevel;
        ASSERT_TRUE(grid.SLoad(level));
        D3DXVECTOR2 spawn{-1.0f, -1.0f};
        for (int i = 0; i < grid.GetWidth() * grid.GetHeight(); ++i)
            if (grid.GetCell(i) == LevelCellValue::LevelStart)
                spawn = {static_cast<float>(i % grid.GetWidth()) + 0.5f,
                         static_cast<float>(i / grid.GetWidth()) + 0.5f};
        ASSERT_GE(spawn.x, 0.0f);
        GameVars().checkpointPosition = spawn;
        Object* player = MakePlayer("Player_0", spawn.x, spawn.y);
        const ObjectData::Player::Variables& v = P(player);
        int deaths = 0;
        for (int frame = 0; frame < 900; ++frame) {
            Held().keys = {kRightKey};
            if (frame % 30 < 10) Held().keys.insert(kSpace);
            const int before = v.deathDelay;
            Frame();
            ASSERT_TRUE(std::isfinite(v.position.x) && std::isfinite(v.position.y)) << frame;
            ASSERT_LE(std::fabs(v.velocity.x), 0.5f);
            ASSERT_LE(std::fabs(v.velocity.y), 0.5f);
            if (v.deathDelay > before) ++deaths;
            if (before == 1) {
                EXPECT_EQ(v.position.x, spawn.x);
                EXPECT_EQ(v.position.y, spawn.y);
            }
            // The body's centre never ends a frame inside dirt.
            if (v.deathDelay == 0) {
                EXPECT_NE(grid.GetCell(v.position.x, v.position.y), 2) << frame;
            }
        }
        EXPECT_GT(v.position.x, spawn.x) << "deaths: " << deaths;
        player->_Delete();
        State::RemoveDeletedObjects();
        Held() = Controls{};
    }
}

}  // namespace

// The bots: the wander bot's take-over switch and its targets, the explorer's
// bordered grid, and the wanderer every play level makes removing itself.
#include <gtest/gtest.h>

#include <cmath>

#include "PlayWorld.h"
#include "framework/Framerate.h"
#include "objects/Bots.h"

using namespace playtest;

namespace {

class BotsTest : public PlayWorld {
protected:
    void SetUp() override {
        PlayWorld::SetUp();
        GameVars().basicLevel = LevelCollision(8, 4);
        CurrentLevelIndex = -1;
        state = NewState("SinglePlayer");
        Frame();
    }
    void TearDown() override {
        gameFrameRate.SetFramerate(60);
        PlayWorld::TearDown();
    }
};

TEST_F(BotsTest, TheLevelsWandererRemovesItselfAndLeavesThePlayerAlone) {
    EXPECT_EQ(state->GetLevel()->GetMyObject("Wanderer"), nullptr);
    EXPECT_NE(state->GetLevel()->GetMyObject("Solver"), nullptr);
    Entity* player = Player();
    ASSERT_NE(player, nullptr);
    EXPECT_TRUE(static_cast<bool>(player->GetEvent("Behavior")));
}

TEST_F(BotsTest, AltTTwiceHandsThePlayerBackAtSixtyFramesASecond) {
    // A bot that stays: its "Load" is skipped by building it by hand.
    Object* prototype = Object::_FindPrototype("WanderBotAI");
    ASSERT_NE(prototype, nullptr);
    Entity* player = Player();
    const Event own = player->GetEvent("Behavior");
    prototype->_SetEvent("Load", Event());
    Object* bot = Object::MakeCopy(state, "WanderBotAI", "Bot");
    ASSERT_NE(bot, nullptr);
    auto& b = VariablesOf<ObjectData::WanderBotAI::Variables>(bot);
    EXPECT_FALSE(b.active);

    objtest::Held().keys = {56, 20};
    Frame();
    EXPECT_TRUE(b.active);
    EXPECT_FLOAT_EQ(gameFrameRate.GetFramerate(), 600.0f);
    EXPECT_FALSE(static_cast<bool>(player->GetEvent("Behavior"))) << "the bot drives";
    objtest::Held().keys = {56};
    Frames(20);
    EXPECT_EQ(b.AIPlayer, player);
    objtest::Held().keys = {56, 20};
    Frame();
    EXPECT_FALSE(b.active);
    EXPECT_FLOAT_EQ(gameFrameRate.GetFramerate(), 60.0f);
    EXPECT_TRUE(player->GetEvent("Behavior") == own);

    // Removing a driving bot hands the player back too.
    objtest::Held().keys = {};
    Frame();
    objtest::Held().keys = {184, 20};
    Frame();
    ASSERT_TRUE(b.active);
    bot->_Delete();
    State::RemoveDeletedObjects();
    EXPECT_FLOAT_EQ(gameFrameRate.GetFramerate(), 60.0f);
    EXPECT_TRUE(player->GetEvent("Behavior") == own);
}

TEST_F(BotsTest, ATargetTakenWhileRisingFastKeepsThePreviousDirection) {
    Object* prototype = Object::_FindPrototype("WanderBotAI");
    prototype->_SetEvent("Load", Event());
    Object* bot = Object::MakeCopy(state, "WanderBotAI", "Bot");
    auto& b = VariablesOf<ObjectData::WanderBotAI::Variables>(bot);
    auto& pv = ObjectData::Player::Vars(Player());
    pv.velocity = {0.0f, 0.3f};
    b.AIDirection = {3.0f, 0.0f};
    ObjectData::WanderBotAI::GetNewTarget(bot, bot);
    EXPECT_NEAR(b.AIDirection.x, 6.0f, 1e-5f);
    EXPECT_NEAR(b.AIDirection.y, 0.0f, 1e-5f);
    EXPECT_NEAR(b.AITarget.x, pv.position.x + 6.0f, 1e-5f);
    EXPECT_GE(b.timeToNextTarget, 60);
    EXPECT_LT(b.timeToNextTarget, 120);
}

TEST_F(BotsTest, TheExplorerBordersTheGrid) {
    LevelCollision grid(3, 2);
    grid.SetCell(0.5f, 0.5f, 2);
    grid.SetCell(2.5f, 1.5f, 100);
    GameVars().basicLevel = grid;
    Object* explorer = Object::MakeCopy(state, "ExplorerBotAI", "E");
    auto& e = VariablesOf<ObjectData::ExplorerBotAI::Variables>(explorer);
    ASSERT_NE(e.explorerGrid, nullptr);
    const int expected[4][5] = {{0, 0, 0, 0, 0}, {0, 0, -1, -1, 0}, {0, -1, -1, -1, 0}, {0, 0, 0, 0, 0}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(e.explorerGrid[y * 5 + x], expected[y][x]) << x << "," << y;
}

}  // namespace

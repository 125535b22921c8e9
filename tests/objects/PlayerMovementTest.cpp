#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "ObjectWorld.h"
#include "framework/ObjectTemplate.h"

using namespace objtest;

namespace {

// A wide room: floor on row 0, walls at both ends, plenty of air above.
const std::vector<std::string> kRoom = {
    "%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%", "%............................%", "%............................%",
    "%............................%", "%............................%", "%............................%",
    "%............................%", "%............................%", "%............................%",
    "%............................%", "%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%",
};

class PlayerMovementTest : public ObjectWorld {
protected:
    // A player dropped onto the room's floor at column x, settled.
    Object* StandingPlayer(float x) {
        SetGrid(kRoom);
        Object* player = MakePlayer("Player_0", x, 1.6f);
        Frames(10);
        EXPECT_TRUE(P(player).collisionflag & ObjectData::Player::kFloor);
        return player;
    }
};

TEST_F(PlayerMovementTest, RunningConvergesToTheTopSpeed) {
    Object* player = StandingPlayer(3.5f);
    Held().keys = {kRightKey};
    Frames(60);
    // Drag 0.86 against 0.016 a frame: 0.016 / 0.14.
    EXPECT_NEAR(P(player).velocity.x, 0.016f / 0.14f, 1e-4f);
    EXPECT_NEAR(P(player).velocity.x, 0.114f, 0.001f);
    EXPECT_FLOAT_EQ(P(player).velocity.y, 0.0f);
    Held().keys = {kLeftKey, kRightKey};  // both held: no direction, the drag stops the run
    Frames(60);
    EXPECT_NEAR(P(player).velocity.x, 0.0f, 1e-4f);
}

TEST_F(PlayerMovementTest, HeldAndTappedJumpHeights) {
    struct Case {
        int holdFrames;
        float rise;
    };
    // Held: 0.145 + 0.140 + ... + 0.005. Tapped: 0.145 + 0.135 + ... + 0.005.
    for (Case c : {Case{200, 2.175f}, Case{1, 1.125f}}) {
        SCOPED_TRACE(c.holdFrames);
        Object* player = StandingPlayer(5.5f);
        const float ground = P(player).position.y;
        float top = ground;
        for (int frame = 0; frame < 200; ++frame) {
            if (frame < c.holdFrames)
                Held().keys = {kSpace};
            else
                Held().keys.clear();
            Frame();
            top = std::max(top, P(player).position.y);
        }
        EXPECT_NEAR(top - ground, c.rise, 0.002f);
        EXPECT_TRUE(P(player).collisionflag & ObjectData::Player::kFloor);
        EXPECT_EQ(Recorded().SoundCount(AudioList::PLAYER_SOUND_A), 1);
        player->_Delete();
        State::RemoveDeletedObjects();
        Recorded().sounds.clear();
        Held() = Controls{};
    }
}

TEST_F(PlayerMovementTest, AJumpIsStillAllowedForFiveFramesAfterTheFloorGoes) {
    for (int jumpFrame = 1; jumpFrame <= 7; ++jumpFrame) {
        SCOPED_TRACE(jumpFrame);
        Object* player = StandingPlayer(5.5f);
        GameVars().basicLevel.SetCell(5.5f, 0.5f, 0);  // the floor under the player goes
        for (int frame = 1; frame <= jumpFrame; ++frame) {
            if (frame == jumpFrame) Held().keys = {kSpace};
            Frame();
        }
        const bool jumped = P(player).velocity.y > 0.1f;
        EXPECT_EQ(jumped, jumpFrame <= 5);
        Held() = Controls{};
        player->_Delete();
        State::RemoveDeletedObjects();
    }
}

TEST_F(PlayerMovementTest, WallJumpSequenceOffEitherWall) {
    struct Case {
        float startX;
        unsigned char towardWall;
        int side;               // +1: the wall is on the right
        bool holdWhileSteered;  // the key toward the wall stays held: input is ignored, but it ends the no-drag
    };
    const Case cases[] = {{26.5f, kRightKey, +1, false}, {3.5f, kLeftKey, -1, false}, {26.5f, kRightKey, +1, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.side);
        SCOPED_TRACE(c.holdWhileSteered);
        SetGrid(kRoom);
        Object* player = MakePlayer("Player_0", c.startX, 8.0f);
        ObjectData::Player::Variables& v = P(player);
        // Against the wall, sliding down it.
        Held().keys = {c.towardWall};
        Frames(30);
        ASSERT_TRUE(v.collisionflag & (c.side > 0 ? ObjectData::Player::kWallRight : ObjectData::Player::kWallLeft));
        ASSERT_LT(v.velocity.y, 0.0f);
        ASSERT_EQ(v.easyWallJump, c.side * 8);

        Held().keys = {c.towardWall, kSpace};
        Frame();
        EXPECT_FLOAT_EQ(v.velocity.x, -c.side * 0.075f);
        EXPECT_FLOAT_EQ(v.velocity.y, 0.15f - 0.005f);
        EXPECT_EQ(v.wallJump, -c.side * 15);
        // The jump turns the body away from the wall; the same frame's
        // animation then eases it a tenth of the way back toward the run.
        EXPECT_FLOAT_EQ(v.facingRight, c.side > 0 ? 0.1f : 0.9f);

        // For 14 frames the jump steers away from the wall whatever is held,
        // against the drag: vx = 0.86 vx - 0.016 (away from the wall).
        float expected = v.velocity.x;
        for (int frame = 0; frame < 14; ++frame) {
            if (c.holdWhileSteered)
                Held().keys = {c.towardWall, kSpace};
            else
                Held().keys = {kSpace};
            Frame();
            expected = expected * 0.86f - c.side * 0.016f;
            EXPECT_NEAR(v.velocity.x, expected, 1e-6f) << frame;
            EXPECT_EQ(v.wallJump, -c.side * (14 - frame));
            EXPECT_EQ(v.nodrag, !c.holdWhileSteered);
        }
        // Once the steering ends, a jump that was left alone keeps its speed
        // until a direction is held; one that was steered against slows at once.
        Held().keys = {kSpace};
        for (int frame = 0; frame < 3; ++frame) {
            Frame();
            if (c.holdWhileSteered) expected *= 0.86f;
            EXPECT_NEAR(v.velocity.x, expected, 1e-6f);
        }
        Held().keys = {c.towardWall};
        Frame();
        EXPECT_FALSE(v.nodrag);
        EXPECT_NEAR(v.velocity.x, expected * 0.86f + c.side * 0.016f, 1e-6f);
        player->_Delete();
        State::RemoveDeletedObjects();
        Held() = Controls{};
    }
}

TEST_F(PlayerMovementTest, HoverAndWallSlideTerminalSpeeds) {
    struct Case {
        const char* what;
        std::set<unsigned char> keys;
        float startX;
        float terminal;
    };
    const Case cases[] = {
        // 0.8 v - 0.005 settles at -0.025; 0.9 v - 0.005 at -0.05.
        {"hover", {kSpace}, 10.5f, -0.025f},
        {"wall slide", {kRightKey}, 27.5f, -0.05f},
        {"wall slide with jump held", {kRightKey, kSpace}, 27.5f, -0.05f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetGrid(kRoom);
        Object* player = MakePlayer("Player_0", c.startX, 9.0f);
        Held().keys = c.keys;
        Frames(70);
        EXPECT_NEAR(P(player).velocity.y, c.terminal, 2e-4f);
        EXPECT_FALSE(P(player).collisionflag & ObjectData::Player::kFloor);
        player->_Delete();
        State::RemoveDeletedObjects();
        Held() = Controls{};
    }
}

TEST_F(PlayerMovementTest, SpeedsAreClampedToHalfATilePerFrame) {
    SetGrid(kRoom);
    Object* player = MakePlayer("Player_0", 10.5f, 6.0f);
    P(player).velocity = {3.0f, -3.0f};
    Frame();
    EXPECT_FLOAT_EQ(P(player).velocity.x, 0.5f);
    EXPECT_FLOAT_EQ(P(player).velocity.y, -0.5f);
    EXPECT_NEAR(P(player).position.x, 11.0f, 1e-4f);
    EXPECT_NEAR(P(player).position.y, 5.5f, 1e-4f);
    P(player).velocity = {-0.9f, 0.9f};
    Frame();
    EXPECT_FLOAT_EQ(P(player).velocity.x, -0.5f);
    EXPECT_FLOAT_EQ(P(player).velocity.y, 0.5f);
}

// Spikes pointing up on row 1, dirt beside them and under them.
const std::vector<std::string> kSpikes = {
    "%%%%%%%%%%", "%........%", "%........%", "%........%", "%........%", "%.^^%....%", "%%%%%%%%%%",
};

TEST_F(PlayerMovementTest, UpwardSpikesKillOnlyWithoutAFootOnSolidGround) {
    struct Case {
        float x;
        bool dies;
    };
    // At 2.5 both feet come down on spikes; at 4.0 the right foot is on dirt.
    for (Case c : {Case{2.5f, true}, Case{4.0f, false}}) {
        SCOPED_TRACE(c.x);
        Recorded() = Record{};
        SetGrid(kSpikes);
        Object* player = MakePlayer("Player_0", c.x, 4.0f);
        Frames(60);
        const ObjectData::Player::Variables& v = P(player);
        if (c.dies) {
            EXPECT_GT(v.deathDelay, 61);
            // One splat and 32 paint balls; every ball that has since hit a
            // tile burst into 8 small ones and a splat of its own.
            ASSERT_GE(v.ballCurrent, 32);
            EXPECT_EQ((v.ballCurrent - 32) % 8, 0);
            EXPECT_EQ(v.splatCurrent, 1 + (v.ballCurrent - 32) / 8);
            EXPECT_EQ(v.splatOffset, (D3DXVECTOR3{0.0f, -0.7f, 0.0f}));
            EXPECT_EQ(Recorded().SoundCount(AudioList::PLAYER_SOUND_C), 1);
        } else {
            EXPECT_EQ(v.deathDelay, 0);
            EXPECT_EQ(v.splatCurrent, 0);
            EXPECT_TRUE(v.collisionflag & ObjectData::Player::kFloor);
            EXPECT_NEAR(v.position.y, 2.4375f, 0.002f);
        }
        player->_Delete();
        State::RemoveDeletedObjects();
    }
}

TEST_F(PlayerMovementTest, SideAndCeilingSpikesKillWhatRunsIntoTheirPoints) {
    // '<' points left, at the body coming from the left; '>' points right.
    SetGrid({
        "%%%%%%%%%%",
        "%...vv...%",
        "%........%",
        "%>......<%",
        "%........%",
        "%%%%%%%%%%",
    });
    struct Case {
        const char* what;
        float x, y;
        D3DXVECTOR2 velocity;
        D3DXVECTOR3 offset;
    };
    const Case cases[] = {
        {"into left-pointing spikes", 7.0f, 2.5f, {0.3f, 0.0f}, {0.4f, 0.0f, 0.0f}},
        {"into right-pointing spikes", 3.0f, 2.5f, {-0.3f, 0.0f}, {-0.4f, 0.0f, 0.0f}},
        {"up into downward spikes", 4.5f, 3.4f, {0.0f, 0.3f}, {0.0f, 0.7f, 0.0f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Object* player = MakePlayer("Player_0", c.x, c.y);
        P(player).velocity = c.velocity;
        P(player).easyJump = 0;
        Frames(5);
        EXPECT_GT(P(player).deathDelay, 0);
        EXPECT_EQ(P(player).splatOffset, c.offset);
        player->_Delete();
        State::RemoveDeletedObjects();
    }
}

TEST_F(PlayerMovementTest, FallingOutOfTheLevelWaitsSixtyFramesAllOfThemGliding) {
    SetGrid({
        "%........%",
        "%........%",
        "%........%",
    });
    GameVars().checkpointPosition = {2.5f, 2.0f};
    Object* player = MakePlayer("Player_0", 5.5f, 1.5f);
    ObjectData::Player::Variables& v = P(player);
    int frames = 0;
    while (v.splatCurrent == 0 && frames < 200) {
        Frame();
        ++frames;
    }
    ASSERT_EQ(v.splatCurrent, 1);
    // The death frame's own update already counted one of the 60 and glided once.
    EXPECT_EQ(v.deathDelay, 59);
    D3DXVECTOR3 before = v.position;
    for (int i = 0; i < 58; ++i) {
        Frame();
        // Every remaining frame moves the body toward the checkpoint.
        EXPECT_LT(std::fabs(v.position.x - 2.5f), std::fabs(before.x - 2.5f));
        before = v.position;
    }
    EXPECT_EQ(v.deathDelay, 1);
    EXPECT_NE(v.position.x, 2.5f);
    Frame();
    EXPECT_EQ(v.deathDelay, 0);
    EXPECT_EQ(v.position.x, 2.5f);
    EXPECT_EQ(v.position.y, 2.0f);
    EXPECT_EQ(v.velocity, (D3DXVECTOR2{0.0f, 0.0f}));
}

TEST_F(PlayerMovementTest, RespawnGlideEndsExactlyOnTheCheckpoint) {
    SetGrid(kSpikes);
    GameVars().checkpointPosition = {7.5f, 3.0f};
    Object* player = MakePlayer("Player_0", 2.5f, 3.0f);
    ObjectData::Player::Variables& v = P(player);
    int frames = 0;
    while (v.deathDelay == 0 && frames < 100) {
        Frame();
        ++frames;
    }
    ASSERT_EQ(v.deathDelay, 179);
    const D3DXVECTOR3 where = v.position;
    Frames(119);  // still dead, not yet gliding
    EXPECT_EQ(v.deathDelay, 60);
    EXPECT_EQ(v.position, where);
    Frame();
    EXPECT_NE(v.position, where);
    Frames(58);
    EXPECT_EQ(v.deathDelay, 1);
    EXPECT_NE(v.position.x, 7.5f);
    Frame();
    EXPECT_EQ(v.deathDelay, 0);
    EXPECT_EQ(v.position.x, 7.5f);
    EXPECT_EQ(v.position.y, 3.0f);
    EXPECT_EQ(v.oldPosition.x, 7.5f);
    EXPECT_EQ(v.cameraPosition.x, 7.5f);
    EXPECT_EQ(v.focus, (D3DXVECTOR2{0.0f, 0.0f}));
    // The body grows back from nothing: one step of the animation's easing.
    EXPECT_FLOAT_EQ(v.headSize.x, 0.2f * v.headSizeGoal.x);
    EXPECT_FLOAT_EQ(v.lightSize, 0.1f);
    // Alive again: the next frame moves the body and does not pull it back.
    Frames(5);
    EXPECT_EQ(v.deathDelay, 0);
    EXPECT_LT(v.position.y, 3.0f);
}

TEST_F(PlayerMovementTest, RollingBreaksBreakableTilesUnlessHeld) {
    world::RegisterThing("Thing");
    static int particles = 0;
    particles = 0;
    Object* graphics = Make("Thing", "LevelGraphics");
    graphics->SetEvent("AddParticles", Event::Handler([](Entity*, Entity*) { ++particles; }));
    struct Case {
        const char* what;
        bool networked;
        int grabbed;
        int cell;
        int messages;
    };
    const Case cases[] = {
        {"single player", false, 0, 8, 0},
        {"networked: broken here, the message breaks it elsewhere", true, 0, 8, 1},
        {"held", false, 3, 7, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Recorded() = Record{};
        particles = 0;
        SetGrid({
            "%......%",
            "%......%",
            "%......%",
            "%..B...%",
            "%%%%%%%%",
        });
        Object* player = MakePlayer("Player_0", 3.5f, 2.6f, c.networked);
        P(player).rolling = true;
        P(player).grabbed = c.grabbed;
        P(player).velocity = {0.0f, -0.1f};
        Frames(3);
        EXPECT_EQ(Cell(3.5f, 1.5f), c.cell);
        EXPECT_EQ(particles, c.cell == 8 ? 1 : 0);
        const auto breaks = Recorded().Sent(PlayerMessage::BreakTerrain);
        EXPECT_EQ(breaks.empty(), c.messages == 0);
        for (const PlayerMessage& m : breaks) EXPECT_EQ(GameVars().basicLevel.GetCell(m.point), 8);
        EXPECT_EQ(Recorded().padRumbles.empty(), c.grabbed > 0);
        player->_Delete();
        State::RemoveDeletedObjects();
    }
}

TEST_F(PlayerMovementTest, LandingSoundOncePerLandingAndStateSentEveryFrame) {
    Object* player = StandingPlayer(5.5f);
    EXPECT_EQ(Recorded().SoundCount(AudioList::PLAYER_SOUND_B), 1);
    Recorded().messages.clear();
    Frames(4);
    const auto updates = Recorded().Sent(PlayerMessage::UpdatePlayer);
    ASSERT_EQ(updates.size(), 4u);
    for (const PlayerMessage& m : updates) {
        EXPECT_EQ(m.player, player);
        EXPECT_FALSE(m.reliable);
    }
    EXPECT_EQ(Recorded().SoundCount(AudioList::PLAYER_SOUND_B), 1);
}

// With the program's own hooks (no window, no connection, no audio device)
// a level still plays: messages are dropped, sounds stay silent.
TEST_F(PlayerMovementTest, PlaysWithTheProgramsOwnHooks) {
    ResetGameplayHooks();
    EXPECT_EQ(LocalPlayerName(), "Player_0");
    SetGrid(kSpikes);
    Object* local = MakePlayer("Player_0", 6.5f, 3.0f, true);
    Object* doomed = MakePlayer("Player_1", 2.5f, 3.0f, true);
    P(local).speedZone[1 * 256 + 6] = 1;  // a speed zone under the local player
    Held().keys = {kRightKey, kQ};
    Frames(120);
    EXPECT_GT(P(local).position.x, 7.0f);
    EXPECT_GT(P(doomed).deathDelay, 0);
}

TEST_F(PlayerMovementTest, LookAheadLeadsTheRunAndStaysInsideTheLevel) {
    // The camera's passes do not run here: it keeps its normal view height.
    Recorded().aspect = 1.6f;  // the view is 16 wide and 10 high

    Object* player = StandingPlayer(15.0f);
    const float y = P(player).position.y;
    Held().keys = {kRightKey};
    Frame();
    // Running right in the middle of the room: the view leads by 5.
    EXPECT_FLOAT_EQ(P(player).newFocus.x, 5.0f);
    Make("Camera", "Camera");
    Frame();
    // The room is 30 by 11: the view's centre may not pass 30 - 8 or 11 - 5.
    EXPECT_NEAR(P(player).position.x + P(player).newFocus.x, std::min(P(player).position.x + 5.0f, 22.0f), 1e-4f);
    EXPECT_NEAR(P(player).newFocus.y, 5.0f - y, 1e-4f);
    Held().keys = {kLeftKey};
    Frames(200);
    EXPECT_NEAR(P(player).position.x + P(player).newFocus.x, 8.0f, 1e-4f);
    EXPECT_NEAR(P(player).cameraPosition.x, P(player).position.x + P(player).focus.x, 1e-5f);
}

}  // namespace

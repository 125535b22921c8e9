#include <gtest/gtest.h>

#include <cmath>

#include "ObjectWorld.h"

using namespace objtest;

namespace {

const std::vector<std::string> kOpen = {
    "%%%%%%%%%%%%%%%%%%%%", "%..................%", "%..................%",
    "%..................%", "%..................%", "%..................%",
    "%..................%", "%..................%", "%%%%%%%%%%%%%%%%%%%%",
};

class PlayerGrabTest : public ObjectWorld {
protected:
    void SetUp() override {
        ObjectWorld::SetUp();
        SetGrid(kOpen);
        Recorded().clientId = 2;
    }
    // A networked player that stands still: it takes no input and does not move.
    Object* Other(int number, float x, float y, float z = 0.0f) {
        Object* player = MakePlayer(PlayerObjectName(number).c_str(), x, y, true);
        P(player).position.z = z;
        player->RemoveFromEngine("Behavior");
        return player;
    }
    // The local player, number 2, networked.
    Object* Me(float x, float y) { return MakePlayer("Player_2", x, y, true); }
    void Press(unsigned char key) {
        Held().keys = {key};
        Frame();
        Held().keys.clear();
        Frame();
    }
};

TEST_F(PlayerGrabTest, GrabTakesTheNearestFreePlayerTheLowestNumberOnATie) {
    struct Near {
        int number;
        float dx, dz;
        bool rolling;
        int grabbed;
    };
    struct Case {
        const char* what;
        std::vector<Near> others;
        int target;
    };
    const Case cases[] = {
        {"tie: lowest number", {{3, 0.5f, 0, false, 0}, {1, -0.5f, 0, false, 0}, {0, 0.9f, 0, false, 0}}, 1},
        {"nearest", {{0, 0.9f, 0, false, 0}, {3, 0.3f, 0, false, 0}}, 3},
        {"rolling and held players are skipped",
         {{4, 0.2f, 0, true, 0}, {5, 0.1f, 0, false, 2}, {6, 0.8f, 0, false, 0}},
         6},
        {"depth counts", {{1, 0.5f, 0, false, 0}, {7, 0.0f, 0.4f, false, 0}}, 7},
        {"1.0 away is too far", {{1, 1.0f, 0, false, 0}, {3, 0.0f, -1.5f, false, 0}}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Recorded().messages.clear();
        Object* me = Me(8.5f, 4.5f);
        std::vector<Object*> made;
        for (const Near& o : c.others) {
            Object* other = Other(o.number, 8.5f + o.dx, 4.5f, o.dz);
            P(other).rolling = o.rolling;
            P(other).grabbed = o.grabbed;
            made.push_back(other);
        }
        Held().keys = {kQ};
        Frame();
        EXPECT_EQ(P(me).grabbing, c.target);
        const auto grabs = Recorded().Sent(PlayerMessage::GrabPlayer);
        if (c.target < 0) {
            EXPECT_TRUE(grabs.empty());
        } else {
            ASSERT_EQ(grabs.size(), 1u);
            EXPECT_EQ(grabs[0].first, 2);
            EXPECT_EQ(grabs[0].second, c.target);
            EXPECT_TRUE(grabs[0].reliable);
        }
        me->_Delete();
        for (Object* o : made) o->_Delete();
        State::RemoveDeletedObjects();
        Held() = Controls{};
    }
}

TEST_F(PlayerGrabTest, NobodyGrabsInSinglePlayerOrWhileRolling) {
    Other(1, 8.7f, 4.5f);
    Object* me = Me(8.5f, 4.5f);
    P(me).networked = false;
    Press(kQ);
    EXPECT_EQ(P(me).grabbing, -1);
    P(me).networked = true;
    P(me).rolling = true;
    P(me).velocity.y = 0.1f;  // in the air, still rolling
    Held().keys = {kQ};
    Frame();
    EXPECT_EQ(P(me).grabbing, -1);
    EXPECT_TRUE(Recorded().Sent(PlayerMessage::GrabPlayer).empty());
}

TEST_F(PlayerGrabTest, HoldingKeepsTheGrabAndReleasingThrowsInTheDirectionOfTravel) {
    for (float vx : {0.05f, 0.0f, -0.05f}) {
        SCOPED_TRACE(vx);
        Recorded().messages.clear();
        Object* target = Other(3, 8.7f, 1.4365f);
        Object* me = Me(8.5f, 1.4365f);
        Held().keys = {kQ};
        Frame();
        ASSERT_EQ(P(me).grabbing, 3);
        Frames(5);  // still held: no throw
        EXPECT_EQ(P(me).grabbing, 3);
        EXPECT_TRUE(Recorded().Sent(PlayerMessage::Throw).empty());
        // Release while moving at vx (after this frame's drag the sign stays).
        P(me).velocity.x = vx;
        Held().keys.clear();
        Frame();
        const auto throws = Recorded().Sent(PlayerMessage::Throw);
        ASSERT_EQ(throws.size(), 1u);
        EXPECT_EQ(throws[0].first, 3);
        EXPECT_EQ(throws[0].right, vx >= 0.0f);
        EXPECT_EQ(P(me).grabbing, -1);
        me->_Delete();
        target->_Delete();
        State::RemoveDeletedObjects();
        Held() = Controls{};
    }
}

TEST_F(PlayerGrabTest, MutualGrabsAreCancelled) {
    Other(1, 8.7f, 4.5f);
    Object* me = Me(8.5f, 4.5f);
    P(me).grabbing = 1;
    P(me).grabbedBy = 1;
    P(me).grabbed = 5;
    Held().keys = {kQ};
    Held().previousKeys = {kQ};
    Frame();
    const auto cancels = Recorded().Sent(PlayerMessage::CancelGrab);
    ASSERT_FALSE(cancels.empty());
    EXPECT_EQ(cancels[0].first, 2);
    EXPECT_EQ(cancels[0].second, 1);
}

TEST_F(PlayerGrabTest, AHeldPlayerRidesAboveItsHolderUnderWhatBlocksIt) {
    struct Case {
        const char* what;
        char ceiling;
        float height;
    };
    // The holder's head is at 3.9375; a blocking cell from 4.0 up stops the
    // ride after four steps of 0.01875; grass does not block.
    const Case cases[] = {
        {"open air", '.', 3.5f + 32 * 0.01875f}, {"dirt", '%', 3.5f + 4 * 0.01875f},
        {"spikes up", '^', 3.5f + 4 * 0.01875f}, {"spikes down", 'v', 3.5f + 32 * 0.01875f},
        {"grass", '#', 3.5f + 32 * 0.01875f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> rows = kOpen;
        rows[4][8] = c.ceiling;  // row 4 of the grid
        SetGrid(rows);
        Object* holder = Other(1, 8.5f, 3.5f);
        P(holder).velocity = {0.0f, 0.0f};
        Object* me = Me(2.5f, 2.5f);
        P(me).grabbed = 5;
        P(me).grabbedBy = 1;
        Frame();
        EXPECT_EQ(P(me).position.x, 8.5f);
        EXPECT_NEAR(P(me).position.y, c.height, 1e-4f);
        me->_Delete();
        holder->_Delete();
        State::RemoveDeletedObjects();
    }
}

TEST_F(PlayerGrabTest, JumpPressesBreakFree) {
    Other(1, 8.5f, 3.5f);
    Object* me = Me(8.5f, 4.1f);
    P(me).grabbed = 3;
    P(me).grabbedBy = 1;
    P(me).grabSize = 3;
    for (int press = 1; press <= 2; ++press) {
        Press(kSpace);
        EXPECT_EQ(P(me).grabbed, 3 - press);
        EXPECT_EQ(P(me).grabbedBy, 1);
    }
    EXPECT_TRUE(Recorded().Sent(PlayerMessage::CancelGrab).empty());
    Held().keys = {kSpace};
    Frame();
    EXPECT_EQ(P(me).grabbed, 0);
    EXPECT_EQ(P(me).grabbedBy, -1);
    // Free with a jump: 0.15 up, less one frame's gravity.
    EXPECT_NEAR(P(me).velocity.y, 0.145f, 1e-6f);
    const auto cancels = Recorded().Sent(PlayerMessage::CancelGrab);
    ASSERT_EQ(cancels.size(), 1u);
    EXPECT_EQ(cancels[0].first, 1);
    EXPECT_EQ(cancels[0].second, 2);
}

TEST_F(PlayerGrabTest, AKillCostsAtMostTheVictimsScoreAndGoesToTheHolder) {
    struct Case {
        const char* what;
        int score, kill, grabbedBy;
        bool networked, userControlled;
        int after, holderAfter;
    };
    const Case cases[] = {
        {"full loss to the holder", 12, 5, 1, true, true, 7, 15},
        {"capped at the score", 3, 5, 1, true, true, 0, 13},
        {"nothing to lose", 0, 5, 1, true, true, 0, 10},
        {"no holder", 12, 5, -1, true, true, 7, 10},
        {"holder gone", 12, 5, 9, true, true, 7, 10},
        {"single player", 12, 5, 1, false, true, 12, 10},
        {"remote copy", 12, 5, 1, true, false, 12, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Recorded().messages.clear();
        Object* holder = Other(1, 3.5f, 3.5f);
        P(holder).score = 10;
        Object* me = Me(8.5f, 4.5f);
        P(me).score = c.score;
        P(me).grabbedBy = c.grabbedBy;
        P(me).networked = c.networked;
        P(me).userControlled = c.userControlled;
        GameVars().SCORE_KILL = c.kill;
        me->DoEvent("OnDeath");
        EXPECT_EQ(P(me).score, c.after);
        EXPECT_EQ(P(holder).score, c.holderAfter);
        const auto changes = Recorded().Sent(PlayerMessage::ChangeScore);
        if (c.holderAfter != 10) {
            ASSERT_EQ(changes.size(), 1u);
            EXPECT_EQ(changes[0].first, 1);
            EXPECT_EQ(changes[0].second, c.holderAfter - 10);
        } else {
            EXPECT_TRUE(changes.empty());
        }
        EXPECT_EQ(P(me).deathDelay, 180);
        me->_Delete();
        holder->_Delete();
        State::RemoveDeletedObjects();
    }
}

TEST_F(PlayerGrabTest, DeathLetsGoOfBothSidesOfAGrab) {
    Other(1, 3.5f, 3.5f);
    Other(4, 5.5f, 3.5f);
    Object* me = Me(8.5f, 4.5f);
    P(me).grabbed = 2;
    P(me).grabbedBy = 1;
    P(me).grabbing = 4;
    me->DoEvent("OnDeath");
    const auto cancels = Recorded().Sent(PlayerMessage::CancelGrab);
    ASSERT_EQ(cancels.size(), 2u);
    EXPECT_EQ(cancels[0].first, 1);
    EXPECT_EQ(cancels[0].second, 2);
    EXPECT_EQ(cancels[1].first, 2);
    EXPECT_EQ(cancels[1].second, 4);
    EXPECT_EQ(P(me).grabbed, 0);
    EXPECT_EQ(P(me).grabbedBy, -1);
    EXPECT_EQ(P(me).grabbing, -1);
}

TEST_F(PlayerGrabTest, RapidGrabPressesExplodeThePlayer) {
    struct Case {
        int presses;
        int gap;  // frames from one press to the next
        bool explodes;
    };
    // Each press adds 1 and every frame keeps 99 %: the tenth press on
    // alternate frames passes 9; spread out, the presses decay away.
    const Case cases[] = {{10, 2, true}, {9, 2, false}, {40, 20, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.presses);
        SCOPED_TRACE(c.gap);
        Object* me = MakePlayer("Player_0", 8.5f, 1.4365f);  // single player
        Frames(3);
        int explodedAt = 0;
        for (int press = 1; press <= c.presses && explodedAt == 0; ++press) {
            Held().keys = {kQ};
            Frame();
            if (P(me).deathDelay > 0) explodedAt = press;
            Held().keys.clear();
            Frames(c.gap - 1);
        }
        EXPECT_EQ(explodedAt, c.explodes ? c.presses : 0);
        if (c.explodes) {
            EXPECT_EQ(P(me).splatOffset, (D3DXVECTOR3{0.0f, 0.0f, 0.0f}));
            EXPECT_EQ(P(me).explodeMe, 0.0f);
            // One splat of the death, one more for each paint ball that
            // has since burst on a tile (8 small balls each).
            EXPECT_EQ(P(me).splatCurrent, 1 + (P(me).ballCurrent - 32) / 8);
            // The splat lies where the body was.
            EXPECT_NEAR(P(me).splatPosition[0].x, 8.5f, 0.01f);
        }
        me->_Delete();
        State::RemoveDeletedObjects();
        Held() = Controls{};
    }
}

TEST_F(PlayerGrabTest, DeathPaintsASplatAndThrowsBallsAwayFromTheSpike) {
    Object* me = MakePlayer("Player_0", 8.5f, 4.5f);
    P(me).splatOffset = {0.0f, -0.7f, 0.0f};
    P(me).position.z = 3.0f;
    P(me).splatCurrent = 511;  // the ring wraps
    me->DoEvent("OnDeath");
    const ObjectData::Player::Variables& v = P(me);
    EXPECT_EQ(v.splatCurrent, 512);
    EXPECT_FLOAT_EQ(v.splatPosition[511].y, 3.8f);
    EXPECT_EQ(v.splatSize[511], (D3DXVECTOR2{1.5f, 1.5f}));
    EXPECT_EQ(v.splatAlpha[511], 1.0f);
    EXPECT_FLOAT_EQ(v.splatFade[511], 0.9994f);
    EXPECT_GE(v.splatRotation[511], 0.0f);
    EXPECT_LT(v.splatRotation[511], 6.2832f);
    ASSERT_EQ(v.ballCurrent, 32);
    for (int i = 0; i < 32; ++i) {
        EXPECT_NEAR(v.ballPosition[i].x, 8.5f, 0.5f);
        EXPECT_NEAR(v.ballPosition[i].y, 4.5f, 0.5f);
        EXPECT_FLOAT_EQ(v.ballPosition[i].z, 103.0f);
        // Spike below: the balls get 0.02 upward on top of ±0.1.
        EXPECT_GE(v.ballVelocity[i].y, -0.1f + 0.02f - 1e-6f);
        EXPECT_LT(v.ballVelocity[i].y, 0.1f + 0.02f);
        EXPECT_GE(v.ballSize[i].x, 0.1f);
        EXPECT_LT(v.ballSize[i].x, 0.3f);
        EXPECT_TRUE(v.ballSplats[i]);
    }
    EXPECT_EQ(Recorded().padRumbles, (std::vector<unsigned>{250}));
    EXPECT_EQ(Recorded().remoteRumbles, (std::vector<unsigned>{250}));
}

}  // namespace

#include <gtest/gtest.h>

#include <algorithm>

#include "ObjectWorld.h"
#include "widgets/Text.h"

using namespace objtest;
using ObjectData::Player::Variables;

namespace {

class PlayerTypeTest : public ObjectWorld {};

TEST_F(PlayerTypeTest, EveryVariableHasItsNumberAndADefinedStartValue) {
    Object* prototype = Object::_FindPrototype("Player");
    ASSERT_NE(prototype, nullptr);
    int present = 0;
    for (int n = 0; n < MAX_ENUM_VALUE; ++n) present += HasVariable(prototype, n) ? 1 : 0;
    EXPECT_EQ(present, 109);

    Object* player = Make("Player", "Player_0");
    // Reached by number, as every other type reaches them.
    EXPECT_EQ(Variable<std::int32_t>(player, 249), -1);     // grabbing
    EXPECT_EQ(Variable<std::int32_t>(player, 248), -1);     // grabbedBy
    EXPECT_EQ(Variable<std::int32_t>(player, 245), 5);      // grabSize
    EXPECT_FLOAT_EQ(Variable<float>(player, 305), 0.3f);    // throwSpeed
    EXPECT_EQ(Variable<std::int32_t>(player, 315), 15);     // wallJumpLength
    EXPECT_FLOAT_EQ(Variable<float>(player, 259), 0.15f);   // jumpVelocity
    EXPECT_EQ(Variable<std::int32_t>(player, 256), 5);      // jumpForgiveness
    EXPECT_EQ(Variable<std::int32_t>(player, 314), 8);      // wallJumpForgiveness
    EXPECT_FLOAT_EQ(Variable<float>(player, 296), 240.0f);  // speedBoostLength
    EXPECT_TRUE(Variable<bool>(player, 275));               // networked
    EXPECT_TRUE(Variable<bool>(player, 312));               // userControlled
    EXPECT_EQ(Variable<std::int32_t>(player, 214), -1);     // OwnerID
    EXPECT_EQ(Variable<D3DXVECTOR2>(player, 21), (D3DXVECTOR2{1.0f, 1.0f}));
    EXPECT_EQ(Variable<D3DXVECTOR3>(player, 250), (D3DXVECTOR3{0.0f, 0.3f, 0.5f}));
    EXPECT_EQ(Variable<D3DXVECTOR3>(player, 267), (D3DXVECTOR3{-0.2f, -0.15f, 0.8f}));
    EXPECT_EQ(Variable<std::vector<D3DXVECTOR2>>(player, 213).size(), 8u);
    EXPECT_EQ(Variable<FrameCounter>(player, 243).GetAnimationSet(), "playerWalk");
    EXPECT_EQ(Variable<unsigned char*>(player, 297), P(player).speedZone);
    // Values kept for other types start at zero rather than at whatever memory held.
    for (int n : {231, 205, 232, 306}) EXPECT_EQ(Variable<std::int32_t>(player, n), 0) << n;
    const Variables& v = P(player);
    EXPECT_TRUE(std::all_of(std::begin(v.splatFade), std::end(v.splatFade), [](float f) { return f == 0.0f; }));
    EXPECT_TRUE(std::all_of(std::begin(v.ballSplats), std::end(v.ballSplats), [](bool b) { return !b; }));
}

TEST_F(PlayerTypeTest, RegistrationJoinsItsEnginesAndBindsItsEvents) {
    Object* player = Make("Player", "Player_0");
    for (const char* engine : {"Behavior", "GraphicsUpdate", "GraphicsDraw"}) {
        auto* e = static_cast<Engine*>(player->GetMyEngine(engine));
        ASSERT_NE(e, nullptr);
        EXPECT_TRUE(e->IsMember(player)) << engine;
    }
    for (const char* event : {"Load", "Unload", "OnDeath", "UpdateBehavior", "Behavior", "GraphicsUpdate"})
        EXPECT_TRUE(static_cast<bool>(player->GetEvent(event))) << event;
    for (const char* event : {"ClientBehavior", "SetClientBehavior", "KillUnowned", "OnNewPlayer", "LevelEnd"})
        EXPECT_TRUE(player->IsSubscribed(event)) << event;
}

TEST_F(PlayerTypeTest, LoadGivesEachCloneItsOwnMapShapeAndLocalColour) {
    GameVars().playerRed = 0x12;
    GameVars().playerGreen = 0x34;
    GameVars().playerBlue = 0x56;
    Object* a = Make("Player", "Player_0");
    Object* b = Make("Player", "Player_1");
    ASSERT_NE(P(a).speedZone, nullptr);
    ASSERT_NE(P(b).speedZone, nullptr);
    EXPECT_NE(P(a).speedZone, P(b).speedZone);
    EXPECT_TRUE(std::all_of(P(a).speedZone, P(a).speedZone + ObjectData::Player::kSpeedZoneBytes,
                            [](unsigned char c) { return c == 0; }));
    ASSERT_EQ(P(a).collision.shapes.size(), 1u);
    const Collision2D& box = P(a).collision.shapes[0];
    EXPECT_EQ(box.type, CollisionEngine::Rectangle);
    EXPECT_FLOAT_EQ(box.value[0], -0.33f);
    EXPECT_FLOAT_EQ(box.value[1], 0.5f);
    EXPECT_FLOAT_EQ(box.value[2], 0.33f);
    EXPECT_FLOAT_EQ(box.value[3], -0.5f);
    EXPECT_EQ(P(a).playerColor, 0xFF123456u);
    EXPECT_EQ(P(a).ballPosition[1023].y, -1.0f);
    ASSERT_NE(P(a).nameText, nullptr);
    EXPECT_NE(P(a).nameText, P(b).nameText);  // each its own label

    // A copy of a remote player keeps its colour; a copy owned here takes the local one.
    P(b).OwnerID = 5;
    P(b).playerColor = 0xFF3732FFu;
    Object* remote = b->Copy("Player_5");
    EXPECT_EQ(P(remote).playerColor, 0xFF3732FFu);
    EXPECT_NE(P(remote).speedZone, P(b).speedZone);
    Recorded().clientId = 5;
    Object* own = b->Copy("Player_6");
    EXPECT_EQ(P(own).playerColor, 0xFF123456u);

    // "Load" raised again renews the map; Unload gives it back.
    a->DoEvent("Load");
    EXPECT_NE(P(a).speedZone, nullptr);
    a->_Delete();
    EXPECT_EQ(P(a).speedZone, nullptr);
    State::RemoveDeletedObjects();
}

TEST_F(PlayerTypeTest, ScoreStartsFromTheMatchScoreOfTheNamesNumber) {
    for (int i = 0; i < 16; ++i) GameVars().playerScores[i] = 100 + i;
    struct Case {
        const char* name;
        int score;
    };
    const Case cases[] = {
        {"Player_0", 100}, {"Player_3", 103}, {"Player_?", 115}, {"Player_@", 0},
        {"Player_/", 0},   {"Player", 0},     {"", 0},           {"Player_12", 101},
    };
    for (const Case& c : cases) {
        Object* player = Make("Player", c.name);
        EXPECT_EQ(P(player).score, c.score) << c.name;
    }
}

TEST_F(PlayerTypeTest, NameLabelFollowsTheLabelType) {
    Object* player = Make("Player", "Player_0");
    Object* label = P(player).nameText;
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetType(), "Text");
    const TextSettings& l = ObjectData::Text::Find(label)->settings;
    EXPECT_FLOAT_EQ(l.charHeight, ObjectData::Player::kNameLabelHeight);
    EXPECT_EQ(l.vAlign, 1);
    EXPECT_FLOAT_EQ(l.y, 1.0f);
    EXPECT_EQ(l.hAlign, 1);
    EXPECT_EQ(l.font, "ashleyscriptmtstd");
    // The label takes the colour the player had before its own colour was set.
    EXPECT_EQ(l.primaryColor, 0xFF3732FFu);
    Object* other = Make("Player", "Player_1");
    EXPECT_NE(P(other).nameText, label);
}

}  // namespace

// "Sandbox": test play of the editor's grid, alone and inside a network game.
#include <gtest/gtest.h>

#include "MatchWorld.h"
#include "objects/LevelGoal.h"
#include "screens/Sandbox.h"

using namespace matchtest;
using playtest::PauseHeld;

namespace {

class SandboxTest : public MatchWorld {
protected:
    void Play(int levelIndex = -1) {
        GameVars().basicLevel = testsupport::LevelFromText(SmallLevel());
        CurrentLevelIndex = levelIndex;
        state = NewState("Sandbox");
        Frame();
    }
    PlayLevel::Variables& LevelVars() { return PlayLevel::Vars(state->GetLevel()); }
    static void Unregister(const char* level) {
        auto found = Level::_levels.find(level);
        if (found == Level::_levels.end()) return;
        Entity::_Destroy(found->second);
        Level::_levels.erase(found);
    }
};

TEST_F(SandboxTest, AloneItKeepsTheLocalPlayerPlaysItAsInSinglePlayAndMakesNoSyncPoint) {
    GameVars().playerNames[0] = "stale";
    Play();
    ASSERT_TRUE(Shows("Sandbox"));
    Entity* player = Named("Player_0");
    ASSERT_TRUE(ObjectData::Player::IsPlayer(player));
    EXPECT_FALSE(ObjectData::Player::Vars(player).networked) << "no name label, deaths cost nothing";
    EXPECT_EQ(ObjectData::Player::Vars(player).nameText, nullptr);
    EXPECT_FLOAT_EQ(ObjectData::Player::Vars(player).position.x, 2.5f);
    ASSERT_EQ(LevelVars().ObjectList.size(), 1u);
    EXPECT_EQ(Named("OldPlayer"), nullptr);
    EXPECT_TRUE(NetworkingEngine.GetSyncEvents().empty());
    EXPECT_EQ(GameVars().playerNames[0], "Hostess");
    EXPECT_EQ(LevelData::Sandbox::SyncName(), "Level_/") << "index -1 gives the character before '0'";
    EXPECT_EQ(NetworkingEngine.GetOnKillServerCallBack(), &LevelData::Sandbox::OnServerLost);
    Frames(5);
    EXPECT_NE(Named("Player_0"), nullptr);
}

TEST_F(SandboxTest, WithoutALevelEditorTheGoalAndThePauseMenuGoToTheMainMenu) {
    Unregister("LevelEditor");
    EditorLevelName = std::string(GF_BINARY_DIR) + "/sandbox-missing";
    Play();
    // The pause menu's leave step asks first, then fades out and leaves.
    PauseHeld() = true;
    Frame();
    PauseHeld() = false;
    Entity* leave = Named("MainMButton");
    ASSERT_NE(leave, nullptr);
    Entity::_DoEvent("Logic", leave, leave);
    Entity::_DoEvent("Logic", leave, leave);
    EXPECT_TRUE(FramesUntil([&] { return Shows("MainMenu"); }, 120));

    // The goal, reached in a fresh test play.
    State::SetLevel(state, "Sandbox");
    Frame();
    ASSERT_TRUE(Shows("Sandbox"));
    Entity* player = Named("Player_0");
    Object* goal = OfType("LevelGoal").front();
    ObjectData::Player::Vars(player).position = VariablesOf<ObjectData::LevelGoal::Variables>(goal).position;
    EXPECT_TRUE(FramesUntil([&] { return Shows("MainMenu"); }, 400));
    EditorLevelName.clear();
}

TEST_F(SandboxTest, InsideANetworkGameThePlayersArriveAtTheTestPlaysSyncPoint) {
    HostAndJoin();
    Listen();
    Play(2);
    ASSERT_TRUE(Shows("Sandbox"));
    EXPECT_EQ(Named("Player_0"), nullptr) << "the placeholder is retired";
    EXPECT_EQ(Named("OldPlayer"), nullptr);
    EXPECT_TRUE(LevelVars().ObjectList.empty()) << "no list entry outlives the retired player";
    ASSERT_EQ(NetworkingEngine.GetSyncEvents().size(), 1u);
    EXPECT_EQ(NetworkingEngine.GetSyncEvents()[0].name, "Level_2");
    EXPECT_EQ(NetworkingEngine.GetSyncEvents()[0].arrived, std::vector<unsigned int>{0});

    // The other machine reaches the point: everyone's player is made.
    Networking::NetMessage::MSG_Sync reached(std::string("Level_2"));
    peer.PrivateSendNetMessage(reached, true, false);
    ASSERT_TRUE(FramesUntil([&] { return Named("Player_1") != nullptr; }));
    EXPECT_NE(Named("Player_0"), nullptr);
    EXPECT_TRUE(NetworkingEngine.GetSyncEvents().empty());
    ASSERT_TRUE(FramesUntil([&] { return Heard<Networking::NetMessage::MSG_CreateNetObj>().size() == 2u; }));
    // The host told the other machine its name with its own id.
    bool hostInfo = false;
    for (const auto& info : Heard<Networking::NetMessage::MSG_SetClientInfo>())
        hostInfo = hostInfo || (info.clientId.value == 0 && info.playerName.value == "Hostess");
    EXPECT_TRUE(hostInfo);

    // The other machine leaves: its player is deleted everywhere and the host is told.
    peer.Disconnect();
    ASSERT_TRUE(FramesUntil([&] { return NetErrorText() == "Player dropped."; }, 100, 100));
    Frame();
    EXPECT_EQ(Named("Player_1"), nullptr);
    EXPECT_TRUE(Shows("Sandbox"));
}

}  // namespace

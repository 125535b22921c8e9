// The screen between the levels of a match and the match level, one game in
// this process against a bare network engine as the other machine.
#include <gtest/gtest.h>

#include "MatchWorld.h"
#include "platform/input/InputHooks.h"
#include "screens/LoadingLevel.h"
#include "support/TempUserFolder.h"

using namespace matchtest;
using namespace Networking::NetMessage;

namespace {

std::vector<int> Cells(const LevelCollision& grid) {
    const int* cells = grid.GetGridPtr();
    if (cells == nullptr) return {};
    return std::vector<int>(cells, cells + static_cast<std::size_t>(grid.GetWidth()) * grid.GetHeight());
}

LevelCollision BuiltIn(int number) {
    LevelCollision grid;
    EXPECT_TRUE(grid.SLoad(number));
    return grid;
}

class MatchTest : public MatchWorld {
protected:
    // A level of the match played here, built from the small grid.
    void PlaySmallLevel() {
        GameVars().basicLevel = testsupport::LevelFromText(SmallLevel());
        CurrentLevelName = "Small";
        CurrentLevelIndex = 0;
        LevelOrder = {"Small"};
        LevelOrderNumbers = {-1};
        // As the screen between levels leaves it on the host.
        if (NetworkingEngine.IsServer()) NetworkingEngine.AddHandOverPoint("Small", "CreatePlayers", 30000);
        state = NewState("Multiplayer");
        Frame();
    }
    int CountNamed(const std::string& name) const {
        int n = 0;
        for (Object* object : state->Objects())
            if (!object->_Deleted() && object->GetName() == name) ++n;
        return n;
    }
};

TEST_F(MatchTest, AThreeLevelOrderLoadsEachEntryAndEndsOnTheResultsOnTheFourthPass) {
    TempUserFolder user;
    const LevelCollision custom = testsupport::LevelFromText(SmallLevel());
    ASSERT_TRUE(custom.Save("custom.lvl"));
    LevelOrder = {"GrassLevel01", "custom", "GrassLevel03"};
    LevelOrderNumbers = {0, -1, 2};
    const std::vector<std::vector<int>> expected = {Cells(BuiltIn(0)), Cells(custom), Cells(BuiltIn(2))};
    ASSERT_TRUE(NetworkingEngine.HostServer("Match"));

    state = NewState("LoadingLevel");
    for (int pass = 0; pass < 3; ++pass) {
        ASSERT_TRUE(FramesUntil([&] { return Shows("Multiplayer"); }, 20)) << "pass " << pass;
        EXPECT_EQ(CurrentLevelIndex, pass);
        EXPECT_EQ(CurrentLevelName, LevelOrder[static_cast<std::size_t>(pass)]);
        EXPECT_EQ(Cells(GameVars().basicLevel), expected[static_cast<std::size_t>(pass)]) << "pass " << pass;
        EXPECT_EQ(MatchLevelCount, 3);
        // Alone, the host's own player arrives at the level's sync point.
        EXPECT_TRUE(FramesUntil([&] { return Named("Player_0") != nullptr; }, 5));
        EXPECT_TRUE(NetworkingEngine.GetSyncEvents().empty());
        State::SetLevel(state, "LoadingLevel");
        Frame();
    }
    EXPECT_TRUE(FramesUntil([&] { return Shows("GameResults"); }, 5));
    EXPECT_EQ(CurrentLevelIndex, 3);
}

// A test that gives the network update an engine of its own follows the
// match with it past the lobby: the screen between levels and the match
// level host, wait and make the players through that engine alone.
TEST_F(MatchTest, AnEngineGivenToTheNetworkUpdateCarriesTheMatchPastTheLobby) {
    Networking::NetEngine own(net.Config(3));
    EngineData::NetworkingUpdate::SetTarget(&own);
    LevelOrder = {"GrassLevel01"};
    LevelOrderNumbers = {0};
    ASSERT_TRUE(own.HostServer("Own"));
    state = NewState("LoadingLevel");
    EXPECT_TRUE(FramesUntil([&] { return Shows("Multiplayer"); }, 20));
    EXPECT_TRUE(FramesUntil([&] { return Named("Player_0") != nullptr; }, 5));
    EXPECT_TRUE(own.GetSyncEvents().empty());
    EXPECT_FALSE(NetworkingEngine.IsHosting());
    EXPECT_TRUE(NetworkingEngine.GetSyncEvents().empty());
    State::SetLevel(state, "Restart");
    Frame();
    own.Disconnect();
    EngineData::NetworkingUpdate::SetTarget(nullptr);
}

TEST_F(MatchTest, ALevelFileThatDoesNotLoadIsToldOnceOnTheMainMenu) {
    TempUserFolder user;
    LevelOrder = {"missing"};
    LevelOrderNumbers = {-1};
    ASSERT_TRUE(NetworkingEngine.HostServer("Match"));
    state = NewState("LoadingLevel");
    ASSERT_TRUE(FramesUntil([&] { return Shows("MainMenu"); }, 5));
    Frame();
    EXPECT_EQ(NetErrorText(), "Level could not be loaded.");
    EXPECT_EQ(CurrentLevelName, "missing");
    EXPECT_TRUE(NetworkingEngine.GetSyncEvents().empty()) << "no machine is waited for";
    State::SetLevel(state, "Restart");
    Frame();
    Frame();
    EXPECT_EQ(NetErrorText(), "") << "told once";
}

TEST_F(MatchTest, OnlyAClientOnTheFirstLevelAsksForTheLevel) {
    LevelOrder = {"GrassLevel01", "GrassLevel02"};
    LevelOrderNumbers = {0, 1};
    GameVars().basicLevel = testsupport::LevelFromText(SmallLevel());
    JoinPeer();
    Listen();
    CurrentLevelIndex = -1;
    state = NewState("LoadingLevel");
    // The host answers the request with the grid, which starts the level here.
    ASSERT_TRUE(FramesUntil([&] { return Shows("Multiplayer"); }, 100));
    ASSERT_EQ(Heard<MSG_RequestLevel>().size(), 1u);
    EXPECT_TRUE(Heard<MSG_RequestLevel>()[0].startMatch);
    EXPECT_EQ(CurrentLevelIndex, 0);

    State::SetLevel(state, "LoadingLevel");
    ASSERT_TRUE(FramesUntil(
        [&] {
            int reached = 0;
            for (const auto& sync : Heard<MSG_Sync>()) reached += sync.syncName.value == "LoadingLevel";
            return reached == 2;
        },
        100));
    EXPECT_EQ(CurrentLevelIndex, 1);
    EXPECT_EQ(Heard<MSG_RequestLevel>().size(), 1u) << "later levels come through the host's hand-over";
    EXPECT_TRUE(Shows("LoadingLevel"));
}

TEST_F(MatchTest, AHandOverPointThatAClientMissesGoesOnWithoutIt) {
    LevelOrder = {"GrassLevel01"};
    LevelOrderNumbers = {0};
    HostAndJoin();
    // The other machine never reaches "LoadingLevel": at the time-out the
    // host drops it and goes on alone.
    state = NewState("LoadingLevel");
    Frame();
    ASSERT_TRUE(Shows("LoadingLevel"));
    EXPECT_TRUE(FramesUntil([&] { return Shows("Multiplayer"); }, 100, 500));
    EXPECT_EQ(NetworkingEngine.GetClientList(), std::vector<unsigned int>{0});
}

TEST_F(MatchTest, TheBuildPingsAfterEvery64thRow) {
    static std::vector<int> rows;
    rows.clear();
    LevelData::Multiplayer::rowPing = [](int row) { rows.push_back(row); };
    ASSERT_TRUE(NetworkingEngine.HostServer("Match"));
    GameVars().basicLevel = LevelCollision(4, 200);
    CurrentLevelName = "Tall";
    state = NewState("Multiplayer");
    Frame();
    EXPECT_EQ(rows, (std::vector<int>{0, 64, 128, 192}));

    // The ping itself: the counter goes up once a ping.
    LevelData::Multiplayer::ResetRowPing();
    const std::uint16_t before = NetworkingEngine.PingNumber();
    State::SetLevel(state, "Restart");
    Frame();
    EXPECT_GE(static_cast<std::uint16_t>(NetworkingEngine.PingNumber() - before), 4u);
}

TEST_F(MatchTest, AMidLevelJoinerGetsOnePlayerAtTheCheckpoint) {
    ASSERT_TRUE(NetworkingEngine.HostServer("Match"));
    PlaySmallLevel();
    ASSERT_TRUE(FramesUntil([&] { return Named("Player_0") != nullptr; }, 5));
    EXPECT_EQ(GameVars().playerNames[0], "Hostess");
    GameVars().checkpointPosition = {5.5f, 1.5f};
    Listen();
    HostAndJoin();
    const unsigned int id = peer.NetID();
    const std::string name = Networking::PlayerObjectName(id);
    ASSERT_EQ(GameVars().pendingClients, std::list<int>{static_cast<int>(id)});
    ASSERT_TRUE(FramesUntil([&] { return !Heard<MSG_SetClientInfo>().empty(); }));
    EXPECT_EQ(Heard<MSG_SetClientInfo>()[0].clientId.value, 0u);
    EXPECT_EQ(Heard<MSG_SetClientInfo>()[0].playerName.value, "Hostess");

    // The joiner's level reaches the point named after its player.
    MSG_Sync reached(name);
    peer.PrivateSendNetMessage(reached, true, false);
    ASSERT_TRUE(FramesUntil([&] { return Named(name) != nullptr; }));
    EXPECT_EQ(CountNamed(name), 1);
    const D3DXVECTOR3 at = ObjectData::Player::Vars(Named(name)).position;
    EXPECT_FLOAT_EQ(at.x, 5.5f);
    EXPECT_FLOAT_EQ(at.y, 1.5f);
    EXPECT_TRUE(GameVars().pendingClients.empty());
    ASSERT_TRUE(FramesUntil([&] { return !Heard<MSG_CreateNetObj>().empty(); }));
    EXPECT_EQ(Heard<MSG_CreateNetObj>()[0].objectName.value, name);
    EXPECT_EQ(Heard<MSG_CreateNetObj>()[0].ownerId.value, id);
    EXPECT_FLOAT_EQ(Heard<MSG_CreateNetObj>()[0].position.value.x, 5.5f);
    EXPECT_FLOAT_EQ(GameVars().checkpointPosition.x, 5.5f) << "the host's respawn stays its own";

    // Stale ids are passed over: one that left, one whose player exists.
    GameVars().pendingClients = {7, static_cast<int>(id)};
    state->GetLevel()->DoEvent("NewPlayer");
    Frame();
    EXPECT_EQ(CountNamed(name), 1);
    EXPECT_TRUE(GameVars().pendingClients.empty());
    // Everyone's player made at a level's start: nobody waits any more.
    GameVars().pendingClients = {3};
    state->GetLevel()->DoEvent("CreatePlayers");
    EXPECT_TRUE(GameVars().pendingClients.empty());

    // The joiner leaves: its player drops out and the host is told.
    peer.Disconnect();
    ASSERT_TRUE(FramesUntil([&] { return NetErrorText() == "Player dropped."; }, 100, 100));
    Entity* gone = Named(name);
    EXPECT_TRUE(gone == nullptr || ObjectData::Player::Vars(gone).position.y < -1.0e6f ||
                ObjectData::Player::Vars(gone).position.y > 1.0e6f);
    EXPECT_TRUE(Shows("Multiplayer")) << "the level goes on";
}

TEST_F(MatchTest, LosingTheHostReturnsToTheMainMenuWithTheNotice) {
    JoinPeer();
    PlaySmallLevel();
    ASSERT_TRUE(Shows("Multiplayer"));
    EXPECT_EQ(Named("Player_0"), nullptr) << "a client's players arrive from the host";
    peer.Disconnect();
    ASSERT_TRUE(FramesUntil([&] { return Shows("MainMenu"); }, 100, 100));
    Frame();
    EXPECT_EQ(NetErrorText(), "Connection dropped.");
    EXPECT_EQ(CurrentLevelIndex, -1);
}

TEST_F(MatchTest, TheResultsTakeNoNoticeOfMachinesLeaving) {
    NetworkingEngine.SetOnKillClientCallBack(&LevelData::Multiplayer::OnClientLeft);
    NetworkingEngine.SetOnKillServerCallBack(&LevelData::Multiplayer::OnServerLost);
    state = NewState("GameResults");
    Frame();
    EXPECT_EQ(NetworkingEngine.GetOnKillClientCallBack(), nullptr);
    EXPECT_EQ(NetworkingEngine.GetOnKillServerCallBack(), nullptr);
}

TEST_F(MatchTest, TheMatchLevelsBackControlCountsTheRemoteOnlyWhileItIsInUse) {
    static std::uint16_t buttons = 0;
    inputHooks.remoteButtons = [] { return buttons; };
    PlayLevel::ResetControls();
    struct Case {
        std::uint16_t buttons;
        bool wiiControls;
        bool back;
    };
    for (const Case& c : {Case{0x0200, false, false}, Case{0x0200, true, true}, Case{0x0100, true, false}}) {
        buttons = c.buttons;
        GameVars().wiiControls = c.wiiControls;
        EXPECT_EQ(PlayLevel::controls.matchBack(), c.back) << c.buttons << " " << c.wiiControls;
    }
    GameVars().wiiControls = false;
    ResetInputHooks();
}

}  // namespace

// The way into a networked match: the lobby's list of found games, joining
// one, the quick and custom starts and the custom-game set-up, driven by
// real key and mouse events against network engines of the test's own on
// loopback addresses (the screens' engine is one of them).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "framework/BuiltInLevels.h"
#include "framework/GameVariables.h"
#include "networking/Match.h"
#include "networking/NetTestSupport.h"
#include "networking/NetworkingUpdate.h"
#include "screens/MakeGame.h"
#include "screens/MenuVariants.h"
#include "screens/NetworkActions.h"
#include "screens/ScreenWorld.h"
#include "screens/ServerMenu.h"
#include "widgets/CustomLevelSelector.h"
#include "widgets/PointSlider.h"
#include "widgets/ScrollBar.h"
#include "widgets/SingleLineTextBox.h"
#include "widgets/TextButton.h"

using namespace screentest;
using Networking::NetEngine;

namespace {

class LobbyTest : public ScreenWorld {
protected:
    void SetUp() override {
        ScreenWorld::SetUp();
        Engine::_IncludeEngine("NetworkingUpdate", EngineData::NetworkingUpdate::_Init());
        Stub("LoadingLevel");
        own = std::make_unique<NetEngine>(net.Config(1));
        EngineData::NetworkingUpdate::SetTarget(own.get());
        CurrentLevelName.clear();  // what a server's own announcement names
        LevelOrder = {"untouched"};
        LevelOrderNumbers = {99};
    }
    void TearDown() override {
        ScreenWorld::TearDown();
        EngineData::NetworkingUpdate::SetTarget(nullptr);
        own.reset();
        servers.clear();
    }

    // A game hosted on the next loopback address of the test's network.
    NetEngine& Host(const std::string& name) {
        servers.push_back(std::make_unique<NetEngine>(net.Config(10 + static_cast<int>(servers.size()))));
        EXPECT_TRUE(servers.back()->HostServer(name)) << name;
        return *servers.back();
    }
    // One game frame of ms: every other engine reads and runs; the screen's
    // own engine runs in the state's frame.
    void Step(std::uint32_t ms = 16) {
        clock.Advance(ms);
        for (auto& server : servers) {
            server->DrainReceive();
            server->Update(ms);
        }
        for (NetEngine* other : others) {
            other->DrainReceive();
            other->Update(ms);
        }
        own->DrainReceive();
        Frame();
    }
    bool StepUntil(const std::function<bool()>& done, int frames = 400) {
        for (int i = 0; i < frames && !done(); ++i) Step();
        return done();
    }
    void ClickAt(float x, float y) {
        PointAt(x, y);
        Step();
        LeftButton(true);
        Step();
        LeftButton(false);
        Step();
    }
    void ClickOn(Entity* button) {
        ASSERT_NE(button, nullptr);
        const D3DXVECTOR3 at = *FindVariable<D3DXVECTOR3>(button, enum_position);
        ClickAt(at.x, at.y);
    }
    Entity* Named(const char* name) const { return state->GetLevel()->GetMyObject(name); }
    // The menu buttons, made from variants, found by their look.
    Object* Button(const std::string& texture, const std::string& label = "") const {
        for (Object* o : state->Objects()) {
            const char* const* t = FindVariable<const char*>(o, enum_texture);
            if (!o->_Deleted() && t != nullptr && *t != nullptr && *t == texture &&
                (label.empty() || MenuVariants::Label(o) == label))
                return o;
        }
        return nullptr;
    }
    Object* JoinButton() const { return Button("joinGameButton"); }
    Object* QuickstartButton() const { return Button("baseButton", "#0x444434#Quickstart"); }
    Object* StartButton() const { return Button("baseButton", "#0x444434#Start Game"); }
    ObjectData::ServerMenu::Variables& List() const { return *ObjectData::ServerMenu::Find(Named("ServerMenu")); }
    std::string Caption(Entity* button) const {
        return ObjectData::Text::Find(VariablesOf<ObjectData::TextButton::Variables>(button).textObj)->text;
    }
    std::string NetError() const {
        return ObjectData::Text::Find(*FindVariable<Object*>(Named("NetError"), enum_textObj))->text;
    }
    std::int32_t NetErrorLife() const { return *FindVariable<std::int32_t>(Named("NetError"), enum_life); }
    bool Lists(std::size_t count) const { return List().serverNames.size() == count; }
    std::uint32_t JoinColour() const { return *FindVariable<std::uint32_t>(JoinButton(), enum_color); }
    // Opens the lobby and waits until it lists count servers.
    void OpenLobbyListing(std::size_t count) {
        Open("Lobby");
        ASSERT_EQ(LevelName(), "Lobby");
        ASSERT_TRUE(StepUntil([&] { return Lists(count); })) << List().serverNames.size();
        Step();
    }
    // Waits out the fade of a hosting button.
    bool FadeEnds() {
        return StepUntil([&] { return LevelName() != "Lobby" && LevelName() != "MakeGame"; }, 120);
    }

    nettest::LoopbackNet net;
    std::unique_ptr<NetEngine> own;
    std::vector<std::unique_ptr<NetEngine>> servers;
    std::vector<NetEngine*> others;
};

// ---- The server list ---------------------------------------------------------

TEST_F(LobbyTest, ListsFoundServersWithDecimalCountsAndKeepsEmptyLinesOutOfTheFocusOrder) {
    nettest::Announce(Host("Alpha"), "GrassLevel01", 12);
    Host("Beta");  // its own announcement: no level yet, one player
    OpenLobbyListing(2);
    std::vector<std::string> lines = List().stencilNames;
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{"Server: Alpha  Level: GrassLevel01  Players: 12",
                                               "Server: Beta  Level:   Players: 1"}));
    ASSERT_EQ(List().serverNames.size(), List().stencilNames.size());
    for (std::size_t k = 0; k < 2; ++k)
        EXPECT_NE(List().stencilNames[k].find("Server: " + List().serverNames[k] + " "), std::string::npos);
    for (int i = 0; i < ObjectData::ServerMenu::kLines; ++i) {
        Object* line = List().stencilList[i];
        const auto color = VariablesOf<ObjectData::TextButton::Variables>(line).color;
        if (i < 2) {
            EXPECT_EQ(Caption(line), List().stencilNames[static_cast<std::size_t>(i)]);
            EXPECT_EQ(color, static_cast<std::uint32_t>(i + 1));
        } else {
            EXPECT_EQ(Caption(line), "") << i;
            EXPECT_EQ(color, 0u) << i;
        }
    }
    const auto& bar = *Widgets::ScrollBar::Find(List().stencilSlider);
    EXPECT_EQ(bar.ticks, 1);
    EXPECT_EQ(bar.max, 0.0f);
    EXPECT_EQ(List().selectedStencil, -1);
    EXPECT_EQ(JoinColour(), 0x00FFFFFFu) << "no selection: the join button is hidden";
}

TEST_F(LobbyTest, TheSelectionClearsWhenAServerAppearsOrVanishesButNotWhenACountChanges) {
    NetEngine& alpha = Host("Alpha");
    nettest::Announce(alpha, "GrassLevel01", 2);
    NetEngine& beta = Host("Beta");
    OpenLobbyListing(2);
    auto selectSecondLine = [&] {
        ClickOn(List().stencilList[1]);
        ASSERT_EQ(List().selectedStencil, 1);
        EXPECT_EQ(JoinColour(), 0xFFFFFFFFu);
    };
    selectSecondLine();

    nettest::Announce(alpha, "GrassLevel01", 3);
    ASSERT_TRUE(StepUntil([&] {
        const auto& l = List().stencilNames;
        return std::any_of(l.begin(), l.end(), [](const std::string& s) { return s.ends_with("Players: 3"); });
    }));
    EXPECT_EQ(List().selectedStencil, 1) << "the same servers: the selection stays";

    Host("Gamma");
    ASSERT_TRUE(StepUntil([&] { return Lists(3); }));
    EXPECT_EQ(List().selectedStencil, -1) << "a server appeared";
    Step();
    EXPECT_EQ(JoinColour(), 0x00FFFFFFu);

    selectSecondLine();
    beta.Disconnect();
    ASSERT_TRUE(StepUntil([&] { return Lists(2); }));
    EXPECT_EQ(List().selectedStencil, -1) << "a server vanished";
}

TEST_F(LobbyTest, AClickOnTheThirdLineScrolledByFourSelectsServerSix) {
    for (int i = 0; i < 12; ++i) Host("Game " + std::to_string(i));
    OpenLobbyListing(12);
    auto& bar = *Widgets::ScrollBar::Find(List().stencilSlider);
    EXPECT_EQ(bar.ticks, 5) << "twelve servers on eight lines";
    EXPECT_EQ(bar.max, 4.0f);
    for (int i = 0; i < 4; ++i) ClickOn(bar.highButton);  // the arrow at the bottom, four times
    ASSERT_EQ(bar.value, 4.0f);
    EXPECT_EQ(Caption(List().stencilList[0]), List().stencilNames[4]);
    ClickOn(List().stencilList[2]);
    EXPECT_EQ(List().selectedStencil, 6);
    EXPECT_EQ(List().stencilNames[6], Caption(List().stencilList[2])) << "the line clicked is the server selected";
}

// ---- Joining -----------------------------------------------------------------

TEST_F(LobbyTest, JoinWithNoSelectionJoinsNothing) {
    Host("Alpha");
    OpenLobbyListing(1);
    GameVars().playerScores[3] = 7;
    ClickOn(JoinButton());
    for (int i = 0; i < 10; ++i) Step();
    EXPECT_FALSE(own->IsClient());
    EXPECT_EQ(NetError(), "");
    EXPECT_EQ(GameVars().playerScores[3], 7);
    EXPECT_EQ(LevelName(), "Lobby");
}

TEST_F(LobbyTest, JoiningTheSelectedGameGoesOnToTheScreenBetweenLevels) {
    NetEngine& alpha = Host("Alpha");
    OpenLobbyListing(1);
    ClickOn(List().stencilList[0]);
    ASSERT_EQ(List().selectedStencil, 0);
    GameVars().playerScores[3] = 7;
    ClickOn(JoinButton());
    EXPECT_EQ(GameVars().playerScores[3], 0);
    ASSERT_TRUE(StepUntil([&] { return LevelName() == "LoadingLevel"; }));
    EXPECT_EQ(CurrentLevelIndex, -1);
    EXPECT_TRUE(own->IsClient());
    // The host takes the slot when the confirmation, sent as the client goes on, arrives.
    EXPECT_TRUE(StepUntil([&] { return alpha.GetClientList() == std::vector<unsigned int>{0u, 1u}; }));
}

TEST_F(LobbyTest, AServerGoneBeforeTheClickIsNotFound) {
    NetEngine& alpha = Host("Alpha");
    OpenLobbyListing(1);
    ClickOn(List().stencilList[0]);
    ASSERT_EQ(List().selectedStencil, 0);
    const D3DXVECTOR3 join = *FindVariable<D3DXVECTOR3>(JoinButton(), enum_position);
    PointAt(join.x, join.y);
    Step();
    // The game ends; its entry runs out at the end of a frame, and the click
    // comes in the next, before the list has seen it go.
    alpha.Disconnect();
    Step(3000);
    ASSERT_TRUE(own->GetServerList().empty());
    ASSERT_EQ(List().selectedStencil, 0);
    LeftButton(true);
    Step();
    LeftButton(false);
    Step();
    EXPECT_EQ(NetError(), "Game not found");
    EXPECT_GT(NetErrorLife(), 100);
    EXPECT_FALSE(own->IsClient());
    EXPECT_EQ(LevelName(), "Lobby");
}

TEST_F(LobbyTest, LosingTheServerWhileWaitingSaysSoAndStays) {
    Host("Alpha");
    OpenLobbyListing(1);
    ASSERT_TRUE(own->ConnectToServer("Alpha"));
    servers.clear();  // the host is gone before it answers
    for (int i = 0; i < 80 && NetError().empty(); ++i) Step(100);
    EXPECT_EQ(NetError(), "Connection dropped.");
    EXPECT_FALSE(own->IsClient());
    EXPECT_TRUE(own->IsSearching()) << "the lobby goes on listing games";
    EXPECT_EQ(LevelName(), "Lobby");
}

// ---- Hosting -------------------------------------------------------------------

TEST_F(LobbyTest, QuickstartHostsMyGameWithTheBuiltInOrderAndHandsOver) {
    Open("Lobby");
    Step();
    GameVars().playerScores[5] = 9;
    ClickOn(QuickstartButton());
    EXPECT_TRUE(own->IsHosting());
    EXPECT_EQ(GameVars().playerScores[5], 0);
    ASSERT_EQ(LevelOrder.size(), 13u);
    EXPECT_EQ(LevelOrder.front(), "GrassLevel01");
    for (std::size_t i = 0; i < 13; ++i) {
        EXPECT_EQ(LevelOrder[i], BuiltInLevelNames[i]);
        EXPECT_EQ(LevelOrderNumbers[i], static_cast<int>(i));
    }
    // Other machines find it under its name.
    NetEngine finder(net.Config(30));
    others.push_back(&finder);
    finder.FindServers();
    ASSERT_TRUE(StepUntil([&] { return !finder.GetServerList().empty(); }, 60));
    EXPECT_EQ(finder.GetServerList().front().name, "My Game");
    others.clear();

    ASSERT_TRUE(FadeEnds());
    EXPECT_EQ(LevelName(), "LoadingLevel");
    EXPECT_EQ(CurrentLevelIndex, -1);
    const auto& syncs = own->GetSyncEvents();
    ASSERT_EQ(syncs.size(), 1u);
    EXPECT_EQ(syncs[0].name, "LoadingLevel");
    EXPECT_EQ(syncs[0].eventName, "NextLevel");
    EXPECT_TRUE(syncs[0].arrived.empty());
}

TEST_F(LobbyTest, AGameThatCannotBeHostedSaysSoAndStays) {
    Networking::UDPSocket taken;
    ASSERT_TRUE(taken.Open(net.gamePort));
    ASSERT_TRUE(taken.BindSocket(Networking::Address(net.Ip(1), net.gamePort)));
    Open("Lobby");
    Step();
    ClickOn(QuickstartButton());
    EXPECT_EQ(NetError(), "Unable to host game.");
    EXPECT_FALSE(own->IsServer());
    EXPECT_TRUE(own->IsSearching()) << "the lobby goes on listing games";
    EXPECT_EQ(LevelOrder, std::vector<std::string>{"untouched"});
    for (int i = 0; i < 60; ++i) Step();
    EXPECT_EQ(LevelName(), "Lobby");
}

// ---- The custom game -------------------------------------------------------------

class MakeGameTest : public LobbyTest {
protected:
    void OpenMakeGame() {
        Open("MakeGame");
        ASSERT_EQ(LevelName(), "MakeGame");
        Step();
    }
    ObjectData::Text::Variables& NameBox() const {
        return *ObjectData::Text::Find(ObjectData::SingleLineTextBox::Find(Named("serverName"))->textObject);
    }
    ObjectData::CustomLevelSelector::Variables& Picker() const {
        return *ObjectData::CustomLevelSelector::Find(Named("CustomSelect"));
    }
    std::string FoundName() {
        NetEngine finder(net.Config(30));
        others.push_back(&finder);
        finder.FindServers();
        StepUntil([&] { return !finder.GetServerList().empty(); }, 60);
        others.clear();
        return finder.GetServerList().empty() ? std::string() : finder.GetServerList().front().name;
    }
};

TEST_F(MakeGameTest, TheChosenOrderIsTheMatchOrderAndTheTypedNameIsTheGamesName) {
    OpenMakeGame();
    NameBox().text = "Moon Race";
    auto& picker = Picker();
    ASSERT_GT(picker.levelNames.size(), 5u);
    picker.rightNames = {4, 0, 2};
    ClickOn(StartButton());
    EXPECT_EQ(LevelOrder, (std::vector<std::string>{BuiltInLevelNames[4], BuiltInLevelNames[0], BuiltInLevelNames[2]}));
    EXPECT_EQ(LevelOrderNumbers, (std::vector<int>{4, 0, 2}));
    EXPECT_EQ(FoundName(), "Moon Race");
    ASSERT_TRUE(FadeEnds());
    EXPECT_EQ(LevelName(), "LoadingLevel");
    EXPECT_EQ(CurrentLevelIndex, -1);
    ASSERT_EQ(own->GetSyncEvents().size(), 1u);
}

TEST_F(MakeGameTest, AnEmptyOrderStillHostsAndHandsOverWithNoLevels) {
    OpenMakeGame();
    NameBox().text = "Nothing";
    ClickOn(StartButton());
    EXPECT_TRUE(own->IsHosting());
    EXPECT_TRUE(LevelOrder.empty());
    EXPECT_TRUE(LevelOrderNumbers.empty());
    ASSERT_TRUE(FadeEnds());
    EXPECT_EQ(LevelName(), "LoadingLevel");
}

TEST_F(MakeGameTest, ABlankNameHostsUnderThePlayersName) {
    GameVars().playerName = "Wren";
    OpenMakeGame();
    NameBox().text = "   ";
    ClickOn(StartButton());
    EXPECT_EQ(FoundName(), "Wren");
}

TEST(HostedNameTest, BlankNamesFallBackToThePlayerThenToMyGameAndLongOnesAreCut) {
    using NetworkActions::HostedName;
    const std::string longest(Networking::MAX_SERVER_NAME, 'n');
    struct Case {
        std::string typed, player, hosted;
    } cases[] = {
        {"Moon Race", "Wren", "Moon Race"},
        {" spaced ", "Wren", " spaced "},
        {"", "Wren", "Wren"},
        {" \t ", "Wren", "Wren"},
        {"", "", "My Game"},
        {"  ", " ", "My Game"},
        {longest + "xyz", "Wren", longest},
        {"", longest + "q", longest},
    };
    for (const Case& c : cases) EXPECT_EQ(HostedName(c.typed, c.player), c.hosted) << c.typed << "|" << c.player;
}

TEST_F(MakeGameTest, TheNameBoxRefusesCharactersPastWhatAnAnnouncementCarries) {
    OpenMakeGame();
    const D3DXVECTOR3 box = *FindVariable<D3DXVECTOR3>(Named("serverName"), enum_position);
    ClickAt(box.x, box.y);
    NameBox().text = std::string(Networking::MAX_SERVER_NAME - 1, 'a');
    NameBox().settings.cursorLoc = NameBox().settings.selectedStart =
        static_cast<std::int32_t>(Networking::MAX_SERVER_NAME - 1);
    for (SDL_Scancode key : {SDL_SCANCODE_B, SDL_SCANCODE_C}) {
        Key(key, true);
        Step();
        Key(key, false);
        Step();
    }
    EXPECT_EQ(NameBox().text.size(), Networking::MAX_SERVER_NAME);
    EXPECT_EQ(NameBox().text.back(), 'b') << "the first letter fits, the second is refused";
}

TEST_F(MakeGameTest, ThePointSlidersOpenAtTheGameValuesAndWriteThemBack) {
    auto& game = GameVars();
    game.SCORE_GOAL = 20;
    game.SCORE_KILL = 77;
    OpenMakeGame();
    const auto sliders = OfType("PointSlider");
    ASSERT_EQ(sliders.size(), 5u);
    const std::pair<const char*, std::int32_t*> expected[] = {
        {"Level End: ", &game.SCORE_GOAL},       {"Checkpoints: ", &game.SCORE_CHECKPOINT},
        {"Moonshards: ", &game.SCORE_MOONSHARD}, {"Fireflies: ", &game.SCORE_FIREFLY},
        {"Death: ", &game.SCORE_KILL},
    };
    for (std::size_t i = 0; i < 5; ++i) {
        auto* v = ObjectData::PointSlider::Find(sliders[i]);
        EXPECT_EQ(v->name, expected[i].first);
        EXPECT_EQ(v->pValue, expected[i].second);
        EXPECT_EQ(v->max, 100.0f);
    }
    EXPECT_EQ(game.SCORE_GOAL, 20);
    EXPECT_EQ(game.SCORE_KILL, 77);
    ClickOn(Widgets::ScrollBar::Find(ObjectData::PointSlider::Find(sliders[4])->slider)->highButton);
    EXPECT_EQ(game.SCORE_KILL, 78) << "one step up, a whole number";
}

TEST_F(MakeGameTest, ClientsThatConnectWhileTheHostWaitsArePrepared) {
    OpenMakeGame();
    GameVars().pendingClients.clear();
    ASSERT_TRUE(own->HostServer("Waiting"));
    NetEngine first(net.Config(31)), second(net.Config(32));
    others = {&first, &second};
    auto join = [&](NetEngine& client) {
        client.FindServers();
        ASSERT_TRUE(StepUntil([&] { return !client.GetServerList().empty(); }, 60));
        client.StopFindingServers();
        ASSERT_TRUE(client.ConnectToServer("Waiting"));
        ASSERT_TRUE(StepUntil([&] { return client.NetID() != 255 && nettest::Joined(*own, client.NetID()); }, 60));
    };
    join(first);
    join(second);
    EXPECT_EQ(GameVars().pendingClients, (std::list<int>{1, 2}));
    const auto& syncs = own->GetSyncEvents();
    ASSERT_EQ(syncs.size(), 2u);
    EXPECT_EQ(syncs[0].name, "Player_1");
    EXPECT_EQ(syncs[0].eventName, "NewPlayer");
    EXPECT_EQ(syncs[0].arrived, std::vector<unsigned int>{0u}) << "the host counts as arrived";
    EXPECT_EQ(syncs[1].name, "Player_2");
    EXPECT_EQ(syncs[1].arrived, (std::vector<unsigned int>{0u, 1u})) << "so does the client already there";

    // A client that leaves is told about.
    others = {&second};
    for (int i = 0; i < 60 && NetError().empty(); ++i) Step(100);
    EXPECT_EQ(NetError(), "Client dropped.");
    EXPECT_EQ(LevelName(), "MakeGame");
    others.clear();
}

// ---- Leaving -------------------------------------------------------------------------

class NetScreensBackTest : public LobbyTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(NetScreensBackTest, TheBackKeyLeavesForTheMainMenuAtOnce) {
    Open(GetParam());
    ASSERT_EQ(LevelName(), GetParam());
    for (int i = 0; i < 3; ++i) Step();
    EXPECT_EQ(LevelName(), GetParam());
    Key(SDL_SCANCODE_ESCAPE, true);
    Step();
    EXPECT_EQ(LevelName(), "MainMenu") << "the same frame, no fade first";
}

INSTANTIATE_TEST_SUITE_P(Screens, NetScreensBackTest, ::testing::Values("Lobby", "MakeGame"));

}  // namespace

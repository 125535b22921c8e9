// The "NetworkingUpdate" engine: the frame time it measures, sync points
// raising their events in the state, players created for every client, and
// the fade to the next level.
#include <gtest/gtest.h>

#include "framework/GameVariables.h"
#include "networking/Messages.h"
#include "networking/NetTestSupport.h"
#include "networking/NetworkingUpdate.h"
#include "support/EntityWorld.h"
#include "support/FakeClock.h"

using namespace Networking;
namespace NU = EngineData::NetworkingUpdate;
using nettest::LoopbackNet;

namespace {

constexpr char kDone[] = "Done";
constexpr char kFading[] = "StartFadingOut";

class NetworkingUpdateEngine : public world::EntityWorld {
protected:
    void SetUp() override {
        world::EntityWorld::SetUp();
        Engine::_IncludeEngine("NetworkingUpdate", NU::_Init());
        world::RegisterThing("Thing");
        state = NewState("Match");
        State::_currentState = state;
    }
    void TearDown() override {
        NU::SetTarget(nullptr);
        State::_currentState = nullptr;
        world::EntityWorld::TearDown();
    }
    Engine* MakeEngine() { return Engine::_MakeCopy("NetworkingUpdate", 1.075); }

    FakeClock clock;
    LoopbackNet net;
    State* state = nullptr;
};

}  // namespace

TEST_F(NetworkingUpdateEngine, MeasuresTheFrameTimeAndRaisesCompletedSyncsInTheState) {
    NetEngine alone(net.Config(1));
    NU::SetTarget(&alone);
    Engine* engine = MakeEngine();
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(VariablesOf<NU::Variables>(engine).lastTime, TimeGetTime());

    Object* thing = Object::MakeCopy(state, "Thing", "watcher");
    ASSERT_NE(thing, nullptr);
    thing->AddEvent("Done", &world::LogHandler<kDone>);

    // 30 ms pass: a sync point with 25 ms left expires, one with 40 does not.
    alone.AddSyncEvent("long", "Long", 40);
    alone.AddSyncEvent("short", "Short", 25);
    clock.Advance(30);
    engine->DoEvent("Update");
    ASSERT_EQ(alone.GetSyncEvents().size(), 1u);
    EXPECT_EQ(alone.GetSyncEvents()[0].timeLeft, 10);
    EXPECT_EQ(VariablesOf<NU::Variables>(engine).lastTime, TimeGetTime());

    // A completed sync point raises its event on the state's subscribers.
    ASSERT_TRUE(alone.HostServer("Alone"));
    alone.AddSyncEvent("ready", "Done", 1000);
    alone.SendSync("ready");
    clock.Advance(16);
    engine->DoEvent("Update");
    EXPECT_EQ(world::Log(), std::vector<std::string>{"watcher:Done"});
}

TEST_F(NetworkingUpdateEngine, CreatePlayersSendsOnePlayerPerClient) {
    NetEngine server(net.Config(1)), client(net.Config(2));
    ASSERT_TRUE(server.HostServer("Players"));
    ASSERT_TRUE(nettest::Join(server, client, "Players"));
    NU::SetTarget(&server);
    auto& g = VariablesOf<GameData::TheGame::GameVariables>(GetMyGame());
    g.playerNames[0] = "Host";
    g.playerNames[1] = "Guest";
    g.playerColors[0] = 0x00FF0000;
    g.playerColors[1] = 0x0000FF00;
    g.startPos = D3DXVECTOR3(1.0f, 2.0f, 0.0f);
    Engine* engine = MakeEngine();
    std::vector<NetMessage::MSG_CreateNetObj> got;
    client.SetMessageObserver([&](const BaseNetMessage& m) {
        if (auto* c = dynamic_cast<const NetMessage::MSG_CreateNetObj*>(&m)) got.push_back(*c);
    });
    engine->DoEvent("CreatePlayers");
    nettest::Pump({&server, &client}, 2);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].objectName.value, "Player_0");
    EXPECT_EQ(got[0].playerName.value, "Host");
    EXPECT_EQ(got[0].ownerId.value, 0u);
    EXPECT_EQ(got[0].color.value, 0x00FF0000u);
    EXPECT_EQ(got[1].objectName.value, "Player_1");
    EXPECT_EQ(got[1].typeName.value, "Player");
    EXPECT_EQ(got[1].playerName.value, "Guest");
    EXPECT_EQ(got[1].position.value, D3DXVECTOR3(1.0f, 2.0f, 0.0f));
    EXPECT_EQ(got[1].color.value, 0x0000FF00u);
}

TEST_F(NetworkingUpdateEngine, FadeToNextLevel) {
    NetEngine engineNet(net.Config(1));
    NU::SetTarget(&engineNet);
    Engine* engine = MakeEngine();
    Object* fader = Object::MakeCopy(state, "Thing", "fade");
    fader->AddEvent("StartFadingOut", &world::LogHandler<kFading>);

    // Not a server: no sync point, but the fade and the switch still happen.
    engine->DoEvent("FadeToNextLevel");
    EXPECT_TRUE(engineNet.GetSyncEvents().empty());
    EXPECT_EQ(world::Log(), std::vector<std::string>{"fade:StartFadingOut"});
    engine->DoEvent("FadedOut");
    EXPECT_EQ(state->GetNextLevelName(), "LoadingLevel");
    EXPECT_FALSE(engine->GetEvent("FadedOut"));

    // A server waits for everyone at "LoadingLevel", then raises "NextLevel".
    ASSERT_TRUE(engineNet.HostServer("Fade"));
    engine->DoEvent("FadeToNextLevel");
    ASSERT_EQ(engineNet.GetSyncEvents().size(), 1u);
    EXPECT_EQ(engineNet.GetSyncEvents()[0].name, "LoadingLevel");
    EXPECT_EQ(engineNet.GetSyncEvents()[0].eventName, "NextLevel");
    EXPECT_EQ(engineNet.GetSyncEvents()[0].timeLeft, 30000);
}

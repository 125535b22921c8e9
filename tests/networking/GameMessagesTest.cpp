// The game messages' callbacks on a receiving copy: what they change in the
// world, the entities they skip, and the server's relay to the other clients.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>

#include "networking/GameLink.h"
#include "networking/GameWorld.h"
#include "networking/MatchOfThree.h"
#include "networking/Messages.h"
#include "networking/NetTestSupport.h"
#include "networking/NetworkingUpdate.h"
#include "support/FakeClock.h"

using namespace Networking;
using namespace Networking::NetMessage;
using gameworld::Heard;
using nettest::LoopbackNet;

namespace {

// Every callback here runs on an engine that is neither server nor client:
// it applies the message and sends nothing.
class GameMessages : public gameworld::GameWorld {
protected:
    FakeClock clock;
    LoopbackNet net;
    NetEngine alone{net.Config(1)};
};

// A server with two connected clients, A and B.
class Relaying : public gameworld::MatchOfThree {
protected:
    struct Queued {
        std::size_t reliable, unreliable;
    };
    static Queued QueuedFor(const NetEngine& engine, unsigned int slot) {
        auto s = engine.GetSlotState(slot);
        return {s.reliablePacks, s.unreliablePacks};
    }
};

struct Case {
    const char* name;
    std::function<std::unique_ptr<BaseNetMessage>()> make;
    bool relayed;
    bool reliable = true;
};

template <class T, class... Args>
std::function<std::unique_ptr<BaseNetMessage>()> Make(Args... args) {
    return [=]() -> std::unique_ptr<BaseNetMessage> { return std::make_unique<T>(args...); };
}

template <class T>
std::function<std::unique_ptr<BaseNetMessage>()> Named(const char* entityName) {
    return [=]() -> std::unique_ptr<BaseNetMessage> {
        auto m = std::make_unique<T>();
        m->name = std::string(entityName);
        return m;
    };
}

// All 27 game messages, each naming entities that do not exist here (or
// carrying what changes nothing that matters), with how the server passes it on.
std::vector<Case> AllGameMessages() {
    return {
        {"ServerInfo", Make<MSG_ServerInfo>(std::string("L"), 2u), false},
        {"Finished", Make<MSG_Finished>(), true},
        {"Explode", Named<MSG_Explode>("nobody"), true},
        {"RemoveTerrain", Make<MSG_RemoveTerrain>(D3DXVECTOR2(-3.0f, -3.0f)), false},
        {"BreakTerrain",
         [] {
             auto m = std::make_unique<MSG_BreakTerrain>();
             m->cell = D3DXVECTOR2(-3.0f, -3.0f);
             return std::unique_ptr<BaseNetMessage>(std::move(m));
         },
         true},
        {"GrabPlayer", Make<MSG_GrabPlayer>(14u, 15u), true},
        {"CancelGrab", Make<MSG_CancelGrab>(14u, 15u), true},
        {"DeleteObj", Named<MSG_DeleteObj>("nobody"), true},
        {"DropObj", Named<MSG_DropObj>("nobody"), true},
        {"Sync", Make<MSG_Sync>(std::string("nothing")), false},
        {"CollectShard", Named<MSG_CollectShard>("nobody"), true},
        {"CollectFireFly", Named<MSG_CollectFireFly>("nobody"), true},
        {"CollectMoonRock", Named<MSG_CollectMoonRock>("nobody"), true},
        {"ChangeLevel", Make<MSG_ChangeLevel>(std::string("Match")), true},
        {"LoadLevel", Make<MSG_LoadLevel>(std::string("Match")), false},
        {"NextLevel", Make<MSG_NextLevel>(), true},
        {"GameRules", Make<MSG_GameRules>(0u), false},
        {"LevelData", Make<MSG_LevelData>(), false},
        {"CreateNetObj",
         [] {
             auto m = std::make_unique<MSG_CreateNetObj>();
             m->typeName = std::string("NoSuchType");
             m->objectName = std::string("x");
             return std::unique_ptr<BaseNetMessage>(std::move(m));
         },
         true},
        {"SendCreateMsg",
         [] {
             auto m = std::make_unique<MSG_SendCreateMsg>();
             m->typeName = std::string("NoSuchType");
             return std::unique_ptr<BaseNetMessage>(std::move(m));
         },
         false},
        {"UpdatePlayer", Named<MSG_UpdatePlayer>("nobody"), true, false},
        {"Throw", Make<MSG_Throw>(14u, true), true},
        {"SetClientInfo", Make<MSG_SetClientInfo>(0u, std::string(), 15u), true},
        {"SetCheckPoint", Make<MSG_SetCheckPoint>(D3DXVECTOR2(0.0f, 0.0f)), true},
        {"ChangeScore", Make<MSG_ChangeScore>(14u, 1), true},
        {"AnimateSpring", Make<MSG_AnimateSpring>(std::string("nobody")), true},
    };
}

}  // namespace

TEST(PlayerNames, OneCharacterAfterTheDigitZero) {
    EXPECT_EQ(PlayerObjectName(0), "Player_0");
    EXPECT_EQ(PlayerObjectName(9), "Player_9");
    EXPECT_EQ(PlayerObjectName(10), "Player_:");
    EXPECT_EQ(PlayerObjectName(12), "Player_<");
    EXPECT_EQ(PlayerObjectName(15), "Player_?");
}

TEST_F(Relaying, AbsentEntitiesAreSkippedAndTheServerRelaysToEveryoneButTheSender) {
    auto cases = AllGameMessages();
    // Every game message but the level request (which answers with the level).
    EXPECT_EQ(cases.size() + 1, 27u);
    const unsigned int idA = a.NetID(), idB = b.NetID();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto msg = c.make();
        msg->sender = static_cast<std::uint8_t>(idA);
        server.SendAllMessages();  // nothing left queued from before
        Queued beforeA = QueuedFor(server, idA), beforeB = QueuedFor(server, idB);
        msg->CallBack(server);
        Queued afterA = QueuedFor(server, idA), afterB = QueuedFor(server, idB);
        EXPECT_EQ(afterA.reliable, beforeA.reliable);
        EXPECT_EQ(afterA.unreliable, beforeA.unreliable);
        EXPECT_EQ(afterB.reliable - beforeB.reliable, c.relayed && c.reliable ? 1u : 0u);
        EXPECT_EQ(afterB.unreliable - beforeB.unreliable, c.relayed && !c.reliable ? 1u : 0u);
        msg->Free();
        Settle();
    }
}

TEST_F(Relaying, AClientNeverPassesAMessageOn) {
    for (const Case& c : AllGameMessages()) {
        SCOPED_TRACE(c.name);
        auto msg = c.make();
        msg->sender = 0;
        a.SendAllMessages();
        Queued before = QueuedFor(a, 0);
        msg->CallBack(a);
        Queued after = QueuedFor(a, 0);
        EXPECT_EQ(after.reliable, before.reliable);
        EXPECT_EQ(after.unreliable, before.unreliable);
        msg->Free();
    }
}

TEST_F(Relaying, AScoreChangeIsAppliedByTheServerAndReachesTheOtherClientOnly) {
    // Player 12 is "Player_<", not "Player_12".
    Object* twelve = Spawn("Player_<");
    Object* decoy = Spawn("Player_12");
    std::vector<std::string> seenByA, seenByB;
    std::vector<unsigned int> sendersSeenByB;
    // Game messages only; the link's own (pings, round-trip times) come and go.
    const auto game = [](const BaseNetMessage& m) { return m.typeId <= MSG_AnimateSpring::MSG_ID; };
    a.SetMessageObserver([&](const BaseNetMessage& m) {
        if (game(m)) seenByA.push_back(MessageName(m.typeId));
    });
    b.SetMessageObserver([&](const BaseNetMessage& m) {
        if (!game(m)) return;
        seenByB.push_back(MessageName(m.typeId));
        sendersSeenByB.push_back(m.sender);
    });
    int appliedByServer = 0;
    server.SetMessageObserver([&](const BaseNetMessage& m) {
        if (m.typeId == MSG_ChangeScore::MSG_ID) ++appliedByServer;
    });

    MSG_ChangeScore change(12, 5);
    a.PrivateSendNetMessage(change, true, false);
    ASSERT_TRUE(nettest::PumpUntil({&server, &a, &b}, [&] { return !seenByB.empty(); }));
    nettest::Pump({&server, &a, &b}, 5);

    EXPECT_EQ(appliedByServer, 1);
    EXPECT_EQ(seenByB, std::vector<std::string>{"MSG_ChangeScore"});
    EXPECT_EQ(sendersSeenByB, std::vector<unsigned int>{0u});
    EXPECT_TRUE(seenByA.empty());
    // All three copies share this process's world: the server and B each
    // applied it once; A, its sender, did not get it back.
    EXPECT_EQ(V(twelve).score, 10);
    EXPECT_EQ(V(decoy).score, 0);
}

TEST_F(Relaying, AGrabByAHeldPlayerIsRefusedAndGoesNoFurther) {
    Object* one = Spawn("Player_1");
    Object* two = Spawn("Player_2");
    V(one).grabbed = 3;  // player 1 is held by someone
    MSG_GrabPlayer grab(1, 2);
    grab.sender = static_cast<std::uint8_t>(a.NetID());
    server.SendAllMessages();
    Queued before = QueuedFor(server, b.NetID());
    grab.CallBack(server);
    EXPECT_EQ(V(one).grabbing, -1);
    EXPECT_EQ(V(two).grabbed, 0);
    EXPECT_EQ(V(two).grabbedBy, -1);
    EXPECT_EQ(QueuedFor(server, b.NetID()).reliable, before.reliable);

    // Free again, the same grab takes hold and is passed on.
    V(one).grabbed = 0;
    V(two).grabSize = 7;
    grab.CallBack(server);
    EXPECT_EQ(V(one).grabbing, 2);
    EXPECT_EQ(V(two).grabbed, 7);
    EXPECT_EQ(V(two).grabbedBy, 1);
    EXPECT_EQ(QueuedFor(server, b.NetID()).reliable, before.reliable + 1);
}

TEST_F(GameMessages, GrabCancelAndThrowMoveTheGrabStateBetweenPlayers) {
    Object* holder = Spawn("Player_3");
    Object* held = Spawn("Player_4");
    MSG_GrabPlayer(3, 4).CallBack(alone);
    EXPECT_EQ(V(holder).grabbing, 4);
    EXPECT_EQ(V(held).grabbed, 5);
    EXPECT_EQ(V(held).grabbedBy, 3);

    MSG_CancelGrab(3, 4).CallBack(alone);
    EXPECT_EQ(V(holder).grabbing, -1);
    EXPECT_EQ(V(held).grabbed, 0);
    EXPECT_EQ(V(held).grabbedBy, -1);

    // The thrown player flies the way of the throw at its throw speed.
    struct {
        bool right;
        float velocityX, airRun;
    } throws[] = {{true, 0.3f, 1.0f}, {false, -0.3f, -1.0f}};
    for (const auto& t : throws) {
        SCOPED_TRACE(t.right);
        V(held).grabbed = 5;
        V(held).grabbedBy = 3;
        V(held).velocity = D3DXVECTOR2(0.0f, 0.25f);
        MSG_Throw(4, t.right).CallBack(alone);
        EXPECT_FLOAT_EQ(V(held).velocity.x, t.velocityX);
        EXPECT_FLOAT_EQ(V(held).velocity.y, 0.25f);
        EXPECT_FLOAT_EQ(V(held).airRun, t.airRun);
        EXPECT_EQ(V(held).grabbed, 0);
        EXPECT_EQ(V(held).grabbedBy, -1);
    }
}

TEST_F(GameMessages, ScoreChangesAddUp) {
    Object* p = Spawn("Player_0");
    V(p).score = 10;
    MSG_ChangeScore(0, 15).CallBack(alone);
    EXPECT_EQ(V(p).score, 25);
    MSG_ChangeScore(0, -30).CallBack(alone);
    EXPECT_EQ(V(p).score, -5);
    // Another player's change leaves this one alone.
    MSG_ChangeScore(1, 100).CallBack(alone);
    EXPECT_EQ(V(p).score, -5);
}

TEST_F(GameMessages, APlayerSnapshotIsTakenAndPutBackWhole) {
    Object* p = Spawn("Player_2");
    auto& v = V(p);
    v.position = D3DXVECTOR3(4.5f, 6.25f, 0.5f);
    v.velocity = D3DXVECTOR2(0.1f, -0.2f);
    v.spdBoost = 37.9f;
    v.airRun = -1.0f;
    v.score = 42;
    v.collisionflag = 9;
    v.rolling = v.rightPressed = v.grabTriggered = v.jumpPressed = true;
    MSG_UpdatePlayer snapshot(p);
    EXPECT_EQ(snapshot.name.value, "Player_2");
    EXPECT_EQ(snapshot.speedBoost.value, 37u);  // truncated

    // Wire round trip, then onto the cleared player.
    unsigned char buffer[256] = {};
    BitWriter out(buffer);
    snapshot.Serialize(out);
    MSG_UpdatePlayer received;
    BitReader in(buffer, sizeof buffer);
    ASSERT_TRUE(received.Deserialize(in));
    v = gameworld::PawnVariables{};
    received.CallBack(alone);
    EXPECT_EQ(v.position, D3DXVECTOR3(4.5f, 6.25f, 0.5f));
    EXPECT_EQ(v.cameraPosition, D3DXVECTOR2(4.5f, 6.25f));
    EXPECT_EQ(v.velocity, D3DXVECTOR2(0.1f, -0.2f));
    EXPECT_FLOAT_EQ(v.spdBoost, 37.0f);
    EXPECT_FLOAT_EQ(v.airRun, -1.0f);
    EXPECT_EQ(v.score, 42);
    EXPECT_EQ(v.collisionflag, 9);
    EXPECT_TRUE(v.rolling && v.rightPressed && v.grabTriggered && v.jumpPressed);
    EXPECT_FALSE(v.upPressed || v.downPressed || v.leftPressed || v.grabPressed || v.jumpTriggered);

    // Boosts outside the field's range are held to it.
    v.spdBoost = 900.0f;
    EXPECT_EQ(MSG_UpdatePlayer(p).speedBoost.value, 511u);
    v.spdBoost = -3.0f;
    EXPECT_EQ(MSG_UpdatePlayer(p).speedBoost.value, 0u);
    v.spdBoost = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(MSG_UpdatePlayer(p).speedBoost.value, 0u);
}

TEST_F(GameMessages, ExplodeAndDropKillTheEntityBeforeMovingIt) {
    Object* p = Spawn("Player_1");
    V(p).position = D3DXVECTOR3(1.0f, 2.0f, 3.0f);
    V(p).splatOffset = D3DXVECTOR2(0.5f, 0.25f);
    MSG_Explode boom(p);
    EXPECT_EQ(boom.position.value, D3DXVECTOR2(1.0f, 2.0f));
    EXPECT_EQ(boom.splatOffset.value, D3DXVECTOR2(0.5f, 0.25f));
    boom.position = D3DXVECTOR2(7.0f, 8.0f);
    boom.CallBack(alone);
    EXPECT_EQ(V(p).position, D3DXVECTOR3(7.0f, 8.0f, 3.0f));
    ASSERT_EQ(Heard().size(), 1u);
    EXPECT_EQ(Heard()[0], "Player_1:OnDeath y=8.000000 delay=5.000000");

    // The value constructor drops on the sending copy; "OnDeath" sees the
    // entity where it was.
    Heard().clear();
    V(p).oldPosition = D3DXVECTOR3(7.0f, 7.5f, 3.0f);
    MSG_DropObj drop("Player_1");
    EXPECT_EQ(drop.name.value, "Player_1");
    EXPECT_EQ(Heard(), std::vector<std::string>{"Player_1:OnDeath y=8.000000 delay=5.000000"});
    EXPECT_EQ(V(p).position.y, 1.0e12f);
    EXPECT_EQ(V(p).position.y, 999999995904.0f);
    EXPECT_EQ(V(p).oldPosition.y, 1.0e12f);
    EXPECT_EQ(V(p).position.x, 7.0f);
    EXPECT_EQ(V(p).deathDelay, 0.0f);
}

TEST_F(GameMessages, DeleteMarksTheNamedNetworkedObjectOnly) {
    Object* p = Spawn("gone");
    Object* q = Spawn("kept");
    Object* local = Spawn("local");
    V(local).networked = false;
    MSG_DeleteObj on;
    on.name = std::string("gone");
    on.CallBack(alone);
    EXPECT_TRUE(p->_Deleted());
    EXPECT_FALSE(q->_Deleted());
    MSG_DeleteObj sent("kept");
    EXPECT_TRUE(q->_Deleted());
    // An object that is not networked stays.
    MSG_DeleteObj named;
    named.name = std::string("local");
    named.CallBack(alone);
    EXPECT_FALSE(local->_Deleted());
}

TEST_F(GameMessages, BreakingTerrainBreaksOnceAndMakesDebrisOnce) {
    G().basicLevel = LevelCollision(6, 4);
    G().basicLevel.SetCell(2.0f, 3.0f, LevelCellValue::BreakableTile);
    Object* graphics = Spawn("LevelGraphics");
    Object* tile = Spawn("Tile_2x3");

    // The sender breaks the cell, its tile object and the debris at once.
    MSG_BreakTerrain sent(D3DXVECTOR2(2.5f, 3.5f));
    EXPECT_EQ(G().basicLevel.GetCell(2, 3), LevelCellValue::BrokenTile);
    EXPECT_TRUE(V(tile).broken);
    EXPECT_EQ(V(graphics).newBreak, D3DXVECTOR2(2.5f, 3.5f));
    EXPECT_EQ(Heard(), std::vector<std::string>{"LevelGraphics:AddParticles"});

    // Already broken: no more debris.
    sent.CallBack(alone);
    EXPECT_EQ(Heard().size(), 1u);

    // Cells outside the grid, or not numbers, change nothing anywhere.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const D3DXVECTOR2 bad[] = {{nan, 1.0f}, {1.0f, nan}, {-1.0f, 0.0f}, {6.0f, 0.0f}, {0.0f, 4.0f}, {1e30f, 1e30f}};
    const LevelCollision before = G().basicLevel;
    for (const D3DXVECTOR2& cell : bad) {
        MSG_BreakTerrain remote;
        remote.cell = cell;
        remote.CallBack(alone);
        MSG_BreakTerrain local(cell);
        MSG_RemoveTerrain(cell).CallBack(alone);
    }
    EXPECT_EQ(Heard().size(), 1u);
    for (int i = 0; i < 24; ++i) EXPECT_EQ(G().basicLevel.GetCell(i), before.GetCell(i)) << i;

    // Removing terrain sets the broken tile with no debris.
    MSG_RemoveTerrain(D3DXVECTOR2(0.0f, 0.0f)).CallBack(alone);
    EXPECT_EQ(G().basicLevel.GetCell(0, 0), LevelCellValue::BrokenTile);
    EXPECT_EQ(Heard().size(), 1u);
}

TEST_F(GameMessages, PickUpsAndSprings) {
    Object* counter = Spawn("guiImage");
    Object* fly = Spawn("f0");
    V(fly).position = D3DXVECTOR3(0.0f, 0.0f, 2.0f);
    MSG_CollectFireFly collect;
    collect.name = std::string("f0");
    collect.color = 0x00ABCDEF;
    collect.position = D3DXVECTOR2(3.0f, 4.0f);
    collect.CallBack(alone);
    collect.CallBack(alone);  // a firefly is counted once
    EXPECT_EQ(V(counter).score, 1);
    EXPECT_TRUE(V(fly).follow);
    EXPECT_EQ(V(fly).color, 0x00ABCDEF);
    EXPECT_EQ(V(fly).position, D3DXVECTOR3(3.0f, 4.0f, 2.0f));
    MSG_CollectFireFly fromFly(fly);
    EXPECT_EQ(fromFly.name.value, "f0");
    EXPECT_EQ(fromFly.color.value, 0x00ABCDEF);

    Object* shard = Spawn("m0");
    MSG_CollectShard(shard).CallBack(alone);
    EXPECT_TRUE(V(shard).shardFollow);
    MSG_CollectMoonRock(shard).CallBack(alone);
    EXPECT_EQ(Heard(), std::vector<std::string>{"m0:Explode"});

    Object* spring = Spawn("S_1");
    MSG_AnimateSpring("S_1").CallBack(alone);
    EXPECT_EQ(V(spring).spring, 1.0f);
}

TEST_F(GameMessages, MatchEventsReachEverySubscriberOfTheState) {
    Object* p = Spawn("Player_0");
    Object* q = Spawn("Player_1");
    for (Object* o : {p, q}) {
        o->AddEvent("LevelEnd", &gameworld::Hear<gameworld::kLevelEnd>);
        o->AddEvent("FadeToNextLevel", &gameworld::Hear<gameworld::kFadeToNextLevel>);
        o->AddEvent("SetCheckPoint", &gameworld::Hear<gameworld::kSetCheckPoint>);
    }
    MSG_Finished().CallBack(alone);
    MSG_NextLevel().CallBack(alone);
    MSG_SetCheckPoint(D3DXVECTOR2(12.0f, 3.0f)).CallBack(alone);
    EXPECT_EQ(G().checkpointPosition, D3DXVECTOR2(12.0f, 3.0f));
    std::vector<std::string> heard = Heard();
    std::sort(heard.begin(), heard.end());
    EXPECT_EQ(heard,
              (std::vector<std::string>{"Player_0:FadeToNextLevel", "Player_0:LevelEnd", "Player_0:SetCheckPoint",
                                        "Player_1:FadeToNextLevel", "Player_1:LevelEnd", "Player_1:SetCheckPoint"}));
}

TEST_F(GameMessages, CreatingNetworkedObjects) {
    // This copy's own player is number 2.
    alone.SetCleintID(2);
    G().checkpointPosition = D3DXVECTOR2(-1.0f, -1.0f);

    // A type name that no type has is skipped: nothing made, nothing touched.
    MSG_CreateNetObj unknown;
    unknown.typeName = std::string("Nonexistent");
    unknown.objectName = std::string("Player_5");
    unknown.CallBack(alone);
    EXPECT_EQ(Entity::FindByName("Player_5"), nullptr);
    EXPECT_EQ(G().checkpointPosition, D3DXVECTOR2(-1.0f, -1.0f));

    // Another copy's player: made, placed, named and coloured, switched to remote control.
    MSG_CreateNetObj remote;
    remote.typeName = std::string("Pawn");
    remote.objectName = std::string("Player_5");
    remote.playerName = std::string("Ines");
    remote.ownerId = 5;
    remote.position = D3DXVECTOR3(2.0f, 9.0f, 0.5f);
    remote.color = 0xFF102030u;
    remote.CallBack(alone);
    Entity* five = Entity::FindByName("Player_5");
    ASSERT_NE(five, nullptr);
    EXPECT_EQ(V(five).OwnerID, 5);
    EXPECT_EQ(V(five).position, D3DXVECTOR3(2.0f, 9.0f, 0.5f));
    EXPECT_EQ(V(five).playerColor, 0xFF102030u);
    EXPECT_EQ(V(five).playerName, "Ines");
    EXPECT_EQ(G().checkpointPosition, D3DXVECTOR2(-1.0f, -1.0f)) << "another's start is not this copy's respawn";
    EXPECT_EQ(Heard(), std::vector<std::string>{"Player_5:SetClientBehavior"});

    // The local player (built by the value constructor, on the sending copy) stays under local control.
    Heard().clear();
    MSG_CreateNetObj own("Pawn", "Player_2", 2, D3DXVECTOR3(1.0f, 1.0f, 0.0f), 0xFFFFFFFFu, "Me", &alone);
    Entity* two = Entity::FindByName("Player_2");
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(V(two).playerName, "Me");
    EXPECT_EQ(own.objectName.value, "Player_2");
    EXPECT_EQ(G().checkpointPosition, D3DXVECTOR2(1.0f, 1.0f)) << "the own player's start is its respawn";
    EXPECT_TRUE(Heard().empty());
}

TEST_F(GameMessages, ALateJoinerLearnsOfExistingPlayers) {
    Object* p = Spawn("Player_3");
    V(p).OwnerID = 3;
    V(p).position = D3DXVECTOR3(5.0f, 6.0f, 0.5f);
    V(p).velocity = D3DXVECTOR2(0.2f, -0.1f);
    V(p).playerColor = 0xFF00FF00u;
    V(p).playerName = "Ana";
    MSG_SendCreateMsg describe(p, "Pawn");
    EXPECT_EQ(describe.typeName.value, "Pawn");
    EXPECT_EQ(describe.ownerId.value, 3u);

    // Arriving at a client whose state does not have it yet.
    p->_Delete();
    State::RemoveDeletedObjects();
    G().checkpointPosition = D3DXVECTOR2(-1.0f, -1.0f);
    alone.SetCleintID(1);
    describe.CallBack(alone);
    Entity* made = Entity::FindByName("Player_3");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(V(made).position, D3DXVECTOR3(5.0f, 6.0f, 0.5f));
    EXPECT_EQ(V(made).velocity, D3DXVECTOR2(0.2f, -0.1f));
    EXPECT_EQ(V(made).playerColor, 0xFF00FF00u);
    EXPECT_EQ(V(made).playerName, "Ana");
    EXPECT_EQ(V(made).OwnerID, 3);
    EXPECT_EQ(G().checkpointPosition, D3DXVECTOR2(-1.0f, -1.0f));
    EXPECT_EQ(Heard(), std::vector<std::string>{"Player_3:SetClientBehavior"});

    // An unknown type is skipped.
    describe.typeName = std::string("Nonexistent");
    describe.objectName = std::string("Player_4");
    describe.CallBack(alone);
    EXPECT_EQ(Entity::FindByName("Player_4"), nullptr);
}

TEST_F(GameMessages, ClientInfoFillsTheGameTables) {
    MSG_SetClientInfo local(0xFF112233u, "Host", 0);  // the sending copy stores it too
    EXPECT_EQ(G().playerNames[0], "Host");
    EXPECT_EQ(G().playerColors[0], static_cast<std::int32_t>(0xFF112233u));
    MSG_SetClientInfo remote;
    remote.clientId = 15;
    remote.color = 0x00000042u;
    remote.playerName = std::string("Last");
    remote.CallBack(alone);
    EXPECT_EQ(G().playerNames[15], "Last");
    EXPECT_EQ(G().playerColors[15], 0x42);
}

TEST_F(GameMessages, RulesAndLevelSwitches) {
    CurrentLevelName = "Cliffs";
    CurrentLevelIndex = 2;
    LevelOrder = {"A", "B", "Cliffs", "D"};
    G().SCORE_KILL = 9;
    MSG_GameRules rules(77);
    EXPECT_EQ(rules.levelName.value, "Cliffs");
    EXPECT_EQ(rules.levelIndex.value, 2u);
    EXPECT_EQ(rules.levelCount.value, 4u);
    EXPECT_EQ(rules.scoreKill.value, 9u);
    EXPECT_EQ(rules.scoreGoal.value, 20u);

    // A client takes them over.
    ResetMatch();
    G().SCORE_KILL = 5;
    G().SCORE_GOAL = 0;
    rules.CallBack(alone);
    EXPECT_EQ(MatchLevelCount, 4);
    EXPECT_EQ(CurrentLevelIndex, 2);
    EXPECT_EQ(CurrentLevelName, "Cliffs");
    EXPECT_EQ(G().SCORE_KILL, 9);
    EXPECT_EQ(G().SCORE_GOAL, 20);

    MSG_LoadLevel("GameResults").CallBack(alone);
    EXPECT_EQ(state->GetNextLevelName(), "GameResults");
    MSG_ChangeLevel("Multiplayer").CallBack(alone);
    EXPECT_EQ(state->GetNextLevelName(), "Multiplayer");
    EXPECT_EQ(state->GetLevelName(), "Match");
}

TEST_F(Relaying, DiscoveryRepliesCarryTheLevelBeingPlayed) {
    CurrentLevelName = "Moonfall";
    NetEngine seeker(net.Config(4));
    seeker.FindServers();
    const MSG_ServerInfo* info = nullptr;
    ASSERT_TRUE(nettest::PumpUntil({&server, &a, &b, &seeker}, [&] {
        for (const auto& s : seeker.GetServerList())
            if (s.name == "Three") info = dynamic_cast<const MSG_ServerInfo*>(s.info.get());
        return info != nullptr;
    }));
    EXPECT_EQ(info->levelName.value, "Moonfall");
    EXPECT_EQ(info->playerCount.value, 3u);  // the server and its two clients
}

TEST_F(GameMessages, CreatePlayersMakesTheServersOwnPlayerToo) {
    gameworld::RegisterPawn("Player");
    Engine::_IncludeEngine("NetworkingUpdate", EngineData::NetworkingUpdate::_Init());
    ASSERT_TRUE(alone.HostServer("Solo"));  // no clients: the list holds the server, 0
    EngineData::NetworkingUpdate::SetTarget(&alone);
    G().startPos = D3DXVECTOR3(3.0f, 4.0f, 0.0f);
    G().playerNames[0] = "Host";
    G().playerColors[0] = 0x00FF8800;
    Engine* engine = Engine::_MakeCopy("NetworkingUpdate", 1.075);
    ASSERT_NE(engine, nullptr);
    engine->DoEvent("CreatePlayers");
    EngineData::NetworkingUpdate::SetTarget(nullptr);
    Entity* me = Entity::FindByName("Player_0");
    ASSERT_NE(me, nullptr);
    EXPECT_EQ(me->GetType(), "Player");
    EXPECT_EQ(V(me).OwnerID, 0);
    EXPECT_EQ(V(me).position, D3DXVECTOR3(3.0f, 4.0f, 0.0f));
    EXPECT_EQ(V(me).playerName, "Host");
    EXPECT_EQ(V(me).playerColor, 0x00FF8800u);
    EXPECT_EQ(G().checkpointPosition, D3DXVECTOR2(3.0f, 4.0f));
    EXPECT_TRUE(Heard().empty());  // its own player: no remote control
}

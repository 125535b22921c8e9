// Sending the level grid in chunks and rebuilding it on a client, and the
// snapshots of networked objects.
#include <gtest/gtest.h>

#include <random>

#include "networking/GameWorld.h"
#include "networking/LevelTransfer.h"
#include "networking/Messages.h"
#include "networking/NetTestSupport.h"
#include "support/FakeClock.h"

using namespace Networking;
using namespace Networking::NetMessage;
using nettest::LoopbackNet;

namespace {

LevelCollision NumberedGrid(int width, int height) {
    LevelCollision grid(width, height);
    for (int i = 0; i < width * height; ++i) grid.SetCell(i, i + 1);
    return grid;
}

MSG_LevelData Chunk(std::vector<int> cells, unsigned int w, unsigned int h, bool first, bool last,
                    bool startMatch = false) {
    MSG_LevelData chunk;
    chunk.cells.value = std::move(cells);
    chunk.width = w;
    chunk.height = h;
    chunk.first = first;
    chunk.last = last;
    chunk.startMatch = startMatch;
    return chunk;
}

std::vector<int> Cells(const LevelCollision& grid) {
    std::vector<int> cells;
    for (int i = 0; i < grid.GetWidth() * grid.GetHeight(); ++i) cells.push_back(grid.GetCell(i));
    return cells;
}

class LevelData : public gameworld::GameWorld {
protected:
    void SetUp() override {
        gameworld::GameWorld::SetUp();
        state->currentLevelName = "LoadingLevel";
        state->nextLevelName = "LoadingLevel";
        G().basicLevel = LevelCollision(10, 10);
        // The grid arrives on a client: a server takes no level from its clients.
        ASSERT_TRUE(server.HostServer("Level"));
        ASSERT_TRUE(nettest::Join(server, engine, "Level"));
        nettest::Pump({&server, &engine}, 2);
        ASSERT_EQ(engine.GetSlotState(0).reliablePacks, 0u);
    }
    // Whether this copy reported the "StartLevel" sync point to its server.
    bool Reported() const { return engine.GetSlotState(0).reliablePacks > 0; }
    void Deliver(std::vector<MSG_LevelData> chunks) {
        for (MSG_LevelData& c : chunks) c.CallBack(engine);
    }

    FakeClock clock;
    LoopbackNet net;
    NetEngine server{net.Config(1)};
    NetEngine engine{net.Config(2)};
};

}  // namespace

TEST(LevelChunks, CutInCellOrderWithFlagsOnTheFirstAndLast) {
    struct {
        int width, height;
        std::vector<std::size_t> sizes;
    } cases[] = {
        {0, 0, {0}}, {1, 1, {1}}, {25, 13, {325}}, {2, 163, {325, 1}}, {26, 25, {325, 325}}, {200, 200, {}},
    };
    cases[5].sizes.assign(123, 325);
    cases[5].sizes.push_back(40000 - 123 * 325);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width * c.height);
        LevelCollision grid = NumberedGrid(c.width, c.height);
        auto chunks = MakeLevelChunks(grid, true);
        ASSERT_EQ(chunks.size(), c.sizes.size());
        std::vector<int> joined;
        for (std::size_t i = 0; i < chunks.size(); ++i) {
            EXPECT_EQ(chunks[i].cells.value.size(), c.sizes[i]) << i;
            EXPECT_EQ(chunks[i].first.value, i == 0) << i;
            EXPECT_EQ(chunks[i].last.value, i + 1 == chunks.size()) << i;
            EXPECT_EQ(chunks[i].width.value, unsigned(c.width));
            EXPECT_EQ(chunks[i].height.value, unsigned(c.height));
            EXPECT_TRUE(chunks[i].startMatch.value);
            joined.insert(joined.end(), chunks[i].cells.value.begin(), chunks[i].cells.value.end());
        }
        EXPECT_EQ(joined, Cells(grid));
    }
    // A full chunk fits one pack with room to spare.
    EXPECT_LT((BaseNetMessage::ID_BITS + MakeLevelChunks(NumberedGrid(25, 13), false)[0].Size() + 7) / 8,
              MAX_PACK_BYTES - 8);
}

TEST_F(LevelData, AGridIsRebuiltFromItsChunksOnlyWhileLoading) {
    LevelCollision sent = NumberedGrid(30, 20);  // 600 cells: two chunks

    // In another level the chunks change nothing.
    state->currentLevelName = "Multiplayer";
    Deliver(MakeLevelChunks(sent, false));
    EXPECT_EQ(G().basicLevel.GetWidth(), 10);
    EXPECT_TRUE(MSG_LevelData::LevelDataBuffer.empty());
    EXPECT_FALSE(Reported());

    // A grid whose first chunk came in another level is not applied either.
    auto chunks = MakeLevelChunks(sent, false);
    chunks[0].CallBack(engine);
    state->currentLevelName = "LoadingLevel";
    chunks[1].CallBack(engine);
    EXPECT_EQ(G().basicLevel.GetWidth(), 10);
    EXPECT_FALSE(Reported());

    // While loading: rebuilt, then the "StartLevel" sync point is reported.
    Deliver(MakeLevelChunks(sent, false));
    EXPECT_EQ(G().basicLevel.GetWidth(), 30);
    EXPECT_EQ(G().basicLevel.GetHeight(), 20);
    EXPECT_EQ(Cells(G().basicLevel), Cells(sent));
    EXPECT_TRUE(Reported());
    EXPECT_EQ(state->GetNextLevelName(), "LoadingLevel");

    // A second grid starts afresh; with startMatch the match begins at once.
    LevelCollision next = NumberedGrid(3, 2);
    for (int i = 0; i < 6; ++i) next.SetCell(i, 100 + i);
    Deliver(MakeLevelChunks(next, true));
    EXPECT_EQ(Cells(G().basicLevel), Cells(next));
    EXPECT_EQ(state->GetNextLevelName(), "Multiplayer");
}

TEST_F(LevelData, TransfersThatCannotMakeAWholeGridAreDropped) {
    const std::vector<int> c325(325, 2);
    const std::vector<int> c1(1, 2);
    struct {
        const char* what;
        std::vector<MSG_LevelData> chunks;
    } cases[] = {
        {"short: a chunk lost", {Chunk(c325, 26, 25, true, false), Chunk(c1, 26, 25, false, true)}},
        {"oversized: more cells than the size",
         {Chunk(c325, 26, 25, true, false), Chunk(c325, 26, 25, false, false), Chunk(c1, 26, 25, false, true)}},
        {"no first chunk", {Chunk(c1, 1, 1, false, true)}},
        {"width 1024 arrives as 0", {Chunk({}, 0, 5, true, true)}},
        {"height 0", {Chunk({}, 5, 0, true, true)}},
        {"side above 1023", {Chunk(c1, 1024, 1, true, true)}},
        {"size changes midway", {Chunk(c325, 26, 25, true, false), Chunk(c325, 25, 26, false, true)}},
        {"empty single chunk for a real size", {Chunk({}, 2, 2, true, true)}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        G().basicLevel = LevelCollision(10, 10);
        G().basicLevel.SetCell(0, 7);
        Deliver(c.chunks);
        EXPECT_EQ(G().basicLevel.GetWidth(), 10);
        EXPECT_EQ(G().basicLevel.GetHeight(), 10);
        EXPECT_EQ(G().basicLevel.GetCell(0), 7);
        EXPECT_FALSE(Reported());
        EXPECT_EQ(state->GetNextLevelName(), "LoadingLevel");
        EXPECT_TRUE(MSG_LevelData::LevelDataBuffer.empty());
    }

    // The buffer never holds more than the announced grid: a flood of chunks
    // without a last one is cut off at the first cell too many.
    Deliver({Chunk(c325, 1, 325, true, false)});
    EXPECT_EQ(MSG_LevelData::LevelDataBuffer.size(), 325u);
    for (int i = 0; i < 50; ++i) Deliver({Chunk(c325, 1, 325, false, false)});
    EXPECT_TRUE(MSG_LevelData::LevelDataBuffer.empty());

    // The largest grid there is still arrives.
    LevelCollision widest = NumberedGrid(1023, 2);
    Deliver(MakeLevelChunks(widest, false));
    EXPECT_EQ(G().basicLevel.GetWidth(), 1023);
    EXPECT_EQ(Cells(G().basicLevel), Cells(widest));
    EXPECT_TRUE(Reported());
}

TEST_F(LevelData, AGridThatHadNoCellsIsRebuiltAtTheNewSize) {
    G().basicLevel = LevelCollision(0, 0);
    LevelCollision sent = NumberedGrid(4, 3);
    Deliver(MakeLevelChunks(sent, false));
    EXPECT_EQ(G().basicLevel.GetWidth(), 4);
    EXPECT_EQ(Cells(G().basicLevel), Cells(sent));
}

namespace {

class LevelTransfer : public gameworld::GameWorld {
protected:
    FakeClock clock;
    LoopbackNet net;
};

}  // namespace

TEST_F(LevelTransfer, AClientAsksAndAWholeLevelArrivesIntact) {
    NetEngine server(net.Config(1)), client(net.Config(2));
    ASSERT_TRUE(server.HostServer("Transfer"));
    ASSERT_TRUE(nettest::Join(server, client, "Transfer"));

    // Both engines live in this process and share its world: the server's
    // grid is read when it answers, then this copy waits in "LoadingLevel"
    // with a blank grid of another size.
    LevelCollision sent(120, 90);  // 10,800 cells: 34 chunks
    std::mt19937 rng(7);
    for (int i = 0; i < 120 * 90; ++i) sent.SetCell(i, int(rng() % 9));
    G().basicLevel = sent;
    CurrentLevelName = "Canyon";
    LevelOrder = {"Canyon", "Ridge"};
    G().SCORE_FIREFLY = 3;

    bool answered = false;
    server.SetMessageObserver([&](const BaseNetMessage& m) {
        if (m.typeId == MSG_RequestLevel::MSG_ID) answered = true;
    });
    int chunksSeen = 0;
    client.SetMessageObserver([&](const BaseNetMessage& m) {
        if (m.typeId == MSG_LevelData::MSG_ID) ++chunksSeen;
    });
    MSG_RequestLevel ask(true);
    client.PrivateSendNetMessage(ask, true, false);
    client.SendAllMessages();
    // Only the server runs until it has answered, so nothing reaches the
    // client before its grid is blanked.
    ASSERT_TRUE(nettest::PumpUntil({&server}, [&] { return answered; }));
    EXPECT_EQ(chunksSeen, 0);

    G().basicLevel = LevelCollision(5, 5);
    ResetMatch();
    G().SCORE_FIREFLY = 1;
    state->currentLevelName = "LoadingLevel";
    state->nextLevelName = "LoadingLevel";
    ASSERT_TRUE(nettest::PumpUntil(
        {&server, &client}, [&] { return state->GetNextLevelName() == "Multiplayer"; }, 2000));
    EXPECT_EQ(chunksSeen, 34);
    EXPECT_EQ(G().basicLevel.GetWidth(), 120);
    EXPECT_EQ(G().basicLevel.GetHeight(), 90);
    EXPECT_EQ(Cells(G().basicLevel), Cells(sent));
    // The rules came first.
    EXPECT_EQ(CurrentLevelName, "Canyon");
    EXPECT_EQ(MatchLevelCount, 2);
    EXPECT_EQ(G().SCORE_FIREFLY, 3);
}

// A client that asks for the level while the server is between levels joins
// the hand-over: nothing while every machine is awaited at "LoadingLevel"
// (the grid is not yet the next level's), the grid to confirm while
// "StartLevel" is awaited, and only a level in play to start at once.
TEST_F(LevelTransfer, AnAnswerToAskingDependsOnTheHandOverUnderWay) {
    struct Case {
        const char* pending;
        bool chunks;
        bool startMatch;
    };
    for (const Case& c :
         {Case{nullptr, true, true}, Case{"LoadingLevel", false, false}, Case{"StartLevel", true, false}}) {
        SCOPED_TRACE(c.pending != nullptr ? c.pending : "in play");
        NetEngine server(net.Config(1)), client(net.Config(2));
        ASSERT_TRUE(server.HostServer("Between"));
        ASSERT_TRUE(nettest::Join(server, client, "Between"));
        G().basicLevel = NumberedGrid(10, 10);
        if (c.pending != nullptr) server.AddHandOverPoint(c.pending, "Next", 30000);
        bool answered = false;
        server.SetMessageObserver([&](const BaseNetMessage& m) {
            if (m.typeId == MSG_RequestLevel::MSG_ID) answered = true;
        });
        std::vector<bool> starts;
        client.SetMessageObserver([&](const BaseNetMessage& m) {
            if (m.typeId == MSG_LevelData::MSG_ID)
                starts.push_back(static_cast<const MSG_LevelData&>(m).startMatch.value);
        });
        MSG_RequestLevel ask(true);
        client.PrivateSendNetMessage(ask, true, false);
        client.SendAllMessages();
        ASSERT_TRUE(nettest::PumpUntil({&server}, [&] { return answered; }));
        EXPECT_EQ(nettest::PumpUntil(
                      {&server, &client}, [&] { return !starts.empty(); }, 60),
                  c.chunks);
        for (bool start : starts) EXPECT_EQ(start, c.startMatch);
    }
}

// A server whose frame runs long (a level being built) can take a client's
// slot, send it its id and receive its request for the level before the
// update that counts the new client: the request still gets the level.
TEST_F(LevelTransfer, AClientThatAsksBeforeTheServerCountedItGetsTheLevel) {
    NetEngine server(net.Config(1)), client(net.Config(2));
    ASSERT_TRUE(server.HostServer("Early"));
    client.FindServers();
    ASSERT_TRUE(nettest::PumpUntil({&server, &client}, [&] { return !client.GetServerList().empty(); }));
    client.StopFindingServers();
    ASSERT_TRUE(client.ConnectToServer("Early"));
    G().basicLevel = NumberedGrid(10, 10);

    // The connection words: the server answers with its offer at once.
    server.DrainReceive();
    ASSERT_FALSE(server.GetSlotState(1).inUse);
    // The client confirms and asks; both arrive in the middle of the
    // server's frame: the slot is made after the frame's count of clients.
    ASSERT_TRUE(nettest::PumpUntil({&client}, [&] { return client.NetID() == 1; }));
    MSG_RequestLevel ask(true);
    client.PrivateSendNetMessage(ask, true, false);
    client.SendAllMessages();
    server.DrainReceive();
    ASSERT_TRUE(server.GetSlotState(1).inUse);
    ASSERT_EQ(server.NumClients(), 0u);

    std::vector<bool> starts;
    client.SetMessageObserver([&](const BaseNetMessage& m) {
        if (m.typeId == MSG_LevelData::MSG_ID) starts.push_back(static_cast<const MSG_LevelData&>(m).startMatch.value);
    });
    ASSERT_TRUE(nettest::PumpUntil(
        {&server, &client}, [&] { return !starts.empty(); }, 60));
    EXPECT_EQ(starts, std::vector<bool>{true});
    EXPECT_EQ(server.NumClients(), 1u);
}

TEST_F(LevelTransfer, RulesGoToEveryClientAndTheGridToTheOneNamed) {
    NetEngine server(net.Config(1)), a(net.Config(2)), b(net.Config(3));
    ASSERT_TRUE(server.HostServer("Two"));
    ASSERT_TRUE(nettest::Join(server, a, "Two"));
    ASSERT_TRUE(nettest::Join(server, b, "Two", {&a}));
    G().basicLevel = NumberedGrid(20, 20);  // 400 cells: two chunks
    std::vector<unsigned int> seenByA, seenByB;
    const auto record = [](std::vector<unsigned int>& into) {
        return [&into](const BaseNetMessage& m) {
            if (m.typeId == MSG_GameRules::MSG_ID || m.typeId == MSG_LevelData::MSG_ID) into.push_back(m.typeId);
        };
    };
    a.SetMessageObserver(record(seenByA));
    b.SetMessageObserver(record(seenByB));
    SendLevelToClient(server, a.NetID(), false);
    nettest::PumpUntil({&server, &a, &b}, [&] { return seenByA.size() == 3 && seenByB.size() == 1; });
    nettest::Pump({&server, &a, &b}, 5);
    const unsigned int rules = MSG_GameRules::MSG_ID, data = MSG_LevelData::MSG_ID;
    EXPECT_EQ(seenByA, (std::vector<unsigned int>{rules, data, data}));
    EXPECT_EQ(seenByB, std::vector<unsigned int>{rules});

    // Client id 0: the grid goes to everyone.
    seenByA.clear();
    seenByB.clear();
    SendLevelToClient(server, 0, false);
    nettest::PumpUntil({&server, &a, &b}, [&] { return seenByA.size() == 3 && seenByB.size() == 3; });
    EXPECT_EQ(seenByA.size(), 3u);
    EXPECT_EQ(seenByB.size(), 3u);
}

TEST_F(LevelTransfer, AnObjectSnapshotGoesOutUnreliably) {
    NetEngine server(net.Config(1)), client(net.Config(2));
    ASSERT_TRUE(server.HostServer("Snap"));
    ASSERT_TRUE(nettest::Join(server, client, "Snap"));
    Object* cursor = Spawn("Cursor_1");
    V(cursor).position = D3DXVECTOR3(0.25f, -0.5f, 0.0f);

    std::vector<MSG_UpdatePlayer> got;
    server.SetMessageObserver([&](const BaseNetMessage& m) {
        if (auto* u = dynamic_cast<const MSG_UpdatePlayer*>(&m)) got.push_back(*u);
    });
    client.SendAllMessages();
    auto before = client.GetSlotState(0);
    UpdateNetObj(client, cursor);
    auto after = client.GetSlotState(0);
    EXPECT_EQ(after.reliablePacks, before.reliablePacks);
    EXPECT_GE(after.unreliablePacks, 1u);
    ASSERT_TRUE(nettest::PumpUntil({&server, &client}, [&] { return !got.empty(); }));
    EXPECT_EQ(got[0].name.value, "Cursor_1");
    EXPECT_EQ(got[0].position.value, D3DXVECTOR3(0.25f, -0.5f, 0.0f));
}

TEST_F(LevelTransfer, OnlyAServerGivesTheLevelAndRulesAndItTakesNoneFromClients) {
    NetEngine server(net.Config(1)), client(net.Config(2));
    ASSERT_TRUE(server.HostServer("Guard"));
    ASSERT_TRUE(nettest::Join(server, client, "Guard"));
    nettest::Pump({&server, &client}, 2);
    G().basicLevel = NumberedGrid(10, 10);
    state->currentLevelName = "LoadingLevel";
    state->nextLevelName = "LoadingLevel";
    CurrentLevelName = "Home";
    CurrentLevelIndex = 0;
    MatchLevelCount = 2;

    // A client does not send a level.
    SendLevelToClient(client, 0, true);
    EXPECT_EQ(client.GetSlotState(0).reliablePacks, 0u);

    // What a client sends to change the level or the rules is refused by the server.
    MSG_LoadLevel load("Elsewhere");
    MSG_GameRules rules;
    rules.levelName = std::string("Elsewhere");
    rules.levelIndex = 1;
    rules.levelCount = 5;
    rules.scoreGoal = 99;
    G().SCORE_GOAL = 7;
    client.SendNetMessage(load, true);
    client.SendNetMessage(rules, true);
    for (MSG_LevelData& chunk : MakeLevelChunks(NumberedGrid(3, 3), true)) client.SendNetMessage(chunk, true);
    int arrived = 0;
    server.SetMessageObserver([&](const BaseNetMessage&) { ++arrived; });
    nettest::Pump({&server, &client}, 5);
    EXPECT_EQ(arrived, 0);
    EXPECT_EQ(state->GetNextLevelName(), "LoadingLevel");
    EXPECT_EQ(CurrentLevelName, "Home");
    EXPECT_EQ(CurrentLevelIndex, 0);
    EXPECT_EQ(MatchLevelCount, 2);
    EXPECT_EQ(G().SCORE_GOAL, 7);
    EXPECT_EQ(G().basicLevel.GetWidth(), 10);

    // On a client, rules whose level index lies past the match's levels are refused whole.
    MSG_GameRules bad = rules;
    bad.levelIndex = 5;
    bad.CallBack(client);
    EXPECT_EQ(CurrentLevelIndex, 0);
    EXPECT_EQ(G().SCORE_GOAL, 7);
    rules.CallBack(client);
    EXPECT_EQ(CurrentLevelIndex, 1);
    EXPECT_EQ(MatchLevelCount, 5);
    EXPECT_EQ(G().SCORE_GOAL, 99);
}

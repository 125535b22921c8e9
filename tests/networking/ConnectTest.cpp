// The handshake, slots, time-outs, link messages, sync points, flow control
// and a full server under loss.
#include <gtest/gtest.h>

#include <map>

#include "networking/Messages.h"
#include "networking/NetTestSupport.h"
#include "support/FakeClock.h"

using namespace Networking;
using namespace Networking::NetMessage;
using nettest::LoopbackNet;
using nettest::TestSeam;

namespace {
std::vector<int> newClients, killedClients;
int serverConnects = 0, serverKills = 0;
void OnNew(char id) { newClients.push_back(id); }
void OnKill(char id) { killedClients.push_back(id); }
void OnConnect() { ++serverConnects; }
void OnKillServer() { ++serverKills; }

struct Callbacks : ::testing::Test {
    void SetUp() override {
        newClients.clear();
        killedClients.clear();
        serverConnects = serverKills = 0;
    }
    void Hook(NetEngine& e) {
        e.SetOnNewClientCallBack(OnNew);
        e.SetOnKillClientCallBack(OnKill);
        e.SetOnServerConnectCallBack(OnConnect);
        e.SetOnKillServerCallBack(OnKillServer);
    }
    FakeClock clock;
    LoopbackNet net;
};
}  // namespace

TEST_F(Callbacks, FullHandshake) {
    NetEngine server(net.Config(1)), client(net.Config(2));
    Hook(server);
    Hook(client);
    ASSERT_TRUE(server.HostServer("Shake"));
    client.FindServers();
    ASSERT_TRUE(nettest::PumpUntil({&server, &client}, [&] { return !client.GetServerList().empty(); }));
    EXPECT_FALSE(client.ConnectToServer("Nobody"));
    ASSERT_TRUE(client.ConnectToServer("Shake"));
    EXPECT_FALSE(client.ConnectToServer("Shake"));  // already connected
    EXPECT_TRUE(client.IsClient());
    EXPECT_EQ(client.NetID(), 255);
    server.DrainReceive();  // the connection words: an offer is answered, no slot is held yet
    EXPECT_FALSE(server.GetSlotState(1).inUse);
    client.DrainReceive();
    client.Update(16);  // the id runs: connected, confirmation queued and sent
    server.DrainReceive();
    NetEngine::SlotState slot = server.GetSlotState(1);
    EXPECT_TRUE(slot.inUse);
    EXPECT_FALSE(slot.connecting);
    EXPECT_TRUE(slot.isNew);
    server.Update(16);
    EXPECT_EQ(newClients, std::vector<int>{1});
    EXPECT_EQ(server.GetMostRecentClient(), 1);
    EXPECT_EQ(server.NumClients(), 1);
    EXPECT_EQ(client.NetID(), 1);
    EXPECT_EQ(client.GetPlayerName(), "Player_1");
    EXPECT_EQ(serverConnects, 1);
    EXPECT_EQ(server.GetClientList(), (std::vector<unsigned>{0, 1}));
    EXPECT_EQ(server.GetClientIP(1), net.Ip(2));
    EXPECT_TRUE(server.IsServer());
    EXPECT_FALSE(client.IsServer());
}

// A client's program that ends without a word and starts again on the same
// machine (new ports) while the server still holds its old slot: the new run
// gets a slot of its own, and the old one is dropped as soon as the new run
// has confirmed, not after the time-out, and takes nothing more.
TEST_F(Callbacks, ANewRunOfAClientsProgramGetsASlotAndTheOldOneGoes) {
    NetEngine server(net.Config(1));
    auto first = std::make_unique<NetEngine>(net.Config(2));
    Hook(server);
    ASSERT_TRUE(server.HostServer("Again"));
    ASSERT_TRUE(nettest::Join(server, *first, "Again"));
    nettest::Pump({&server, first.get()}, 2);
    ASSERT_EQ(server.NumClients(), 1);
    const int old = first->NetID();
    first.reset();  // gone without a word: its sockets close, nothing is sent

    NetEngine again(net.Config(2));
    ASSERT_TRUE(nettest::Join(server, again, "Again"));
    EXPECT_NE(again.NetID(), old);
    nettest::Pump({&server, &again}, 2);
    EXPECT_EQ(killedClients, std::vector<int>{old});
    EXPECT_EQ(server.NumClients(), 1);
    EXPECT_EQ(server.GetClientList(), (std::vector<unsigned>{0, unsigned(again.NetID())}));
    // The new run's messages reach the server from its own slot.
    server.AddSyncEvent("point", "Reached", 10000);
    again.SendSync("point");
    ASSERT_TRUE(nettest::PumpUntil({&server, &again}, [&] {
        const auto& events = server.GetSyncEvents();
        return !events.empty() && !events[0].arrived.empty();
    }));
    EXPECT_EQ(server.GetSyncEvents()[0].arrived, std::vector<unsigned>{unsigned(again.NetID())});
    EXPECT_TRUE(again.IsClient());
}

TEST_F(Callbacks, SixteenthClientRefusedAndSecondConnectWordTakesNoSlot) {
    NetEngine server(net.Config(1));
    std::vector<std::unique_ptr<NetEngine>> clients;
    for (int i = 0; i < 16; ++i) clients.push_back(std::make_unique<NetEngine>(net.Config(10 + i)));
    ASSERT_TRUE(server.HostServer("Full"));
    for (int i = 0; i < 15; ++i) {
        ASSERT_TRUE(nettest::Join(server, *clients[i], "Full")) << i;
        EXPECT_EQ(clients[i]->NetID(), i + 1);
    }
    nettest::Pump({&server}, 1);
    EXPECT_EQ(server.NumClients(), 15);
    // The sixteenth sends its words but gets no slot and no id.
    NetEngine& last = *clients[15];
    last.FindServers();
    ASSERT_TRUE(nettest::PumpUntil({&server, &last}, [&] { return !last.GetServerList().empty(); }));
    ASSERT_TRUE(last.ConnectToServer("Full"));
    nettest::Pump({&server, &last}, 10);
    EXPECT_EQ(last.NetID(), 255);
    EXPECT_EQ(server.NumClients(), 15);

    // A second connection word from a known client's address is a two-byte
    // datagram of a known peer: ignored.
    clients[3]->Disconnect();
    nettest::RawPeer again(net.Ip(13));
    again.SendTo(net.Ip(1), net.gamePort, {0x7F, 0xF0});
    nettest::Pump({&server}, 1);
    EXPECT_EQ(server.NumClients(), 15);
    std::vector<unsigned> list = server.GetClientList();
    EXPECT_EQ(list.size(), 16u);
}

TEST_F(Callbacks, TimeOutAfterFourSecondsOfSilence) {
    NetEngine server(net.Config(1)), client(net.Config(2));
    Hook(server);
    Hook(client);
    ASSERT_TRUE(server.HostServer("Quiet"));
    ASSERT_TRUE(nettest::Join(server, client, "Quiet"));
    TestSeam seam;
    seam.drop = [](const nettest::SentDatagram&) { return true; };  // silence both ways
    // Each side last heard the other during the join's last frame; silence is
    // counted on the clock, and each is dropped at the first update after
    // the time-out has passed.
    const std::uint32_t silent = FakeClock::now.load();
    const int timeOut = net.Config(1).timeOut;
    std::uint32_t clientDropped = 0, serverDropped = 0;
    for (int i = 0; i < 60 && (clientDropped == 0 || serverDropped == 0); ++i) {
        clock.Advance(100);
        client.Update(100);
        server.Update(100);
        if (clientDropped == 0 && !client.IsClient()) clientDropped = FakeClock::now.load() - silent;
        if (serverDropped == 0 && server.NumClients() == 0) serverDropped = FakeClock::now.load() - silent;
    }
    for (std::uint32_t dropped : {clientDropped, serverDropped}) {
        EXPECT_GT(dropped, std::uint32_t(timeOut) - 100);
        EXPECT_LE(dropped, std::uint32_t(timeOut) + 100);
    }
    EXPECT_FALSE(client.IsClient());
    EXPECT_EQ(client.NetID(), 255);
    EXPECT_EQ(serverKills, 1);
    EXPECT_EQ(killedClients, std::vector<int>{1});
    EXPECT_EQ(server.NumClients(), 0);
    EXPECT_TRUE(server.IsHosting());
    EXPECT_FALSE(server.GetSlotState(1).inUse);
}

TEST_F(Callbacks, AFrameLongerThanTheTimeOutDropsNoPeerHeardDuringIt) {
    NetEngine server(net.Config(1)), client(net.Config(2));
    Hook(server);
    Hook(client);
    ASSERT_TRUE(server.HostServer("Slow"));
    ASSERT_TRUE(nettest::Join(server, client, "Slow"));
    const int timeOut = net.Config(1).timeOut;
    // Each side hears the other at the end of a frame that outlasts the
    // time-out (a level built on a slow machine): both stay linked.
    clock.Advance(unsigned(timeOut) + 1000);
    server.SendPing();
    client.DrainReceive();  // answered at once
    server.DrainReceive();
    client.Update(unsigned(timeOut) + 1000);
    server.Update(unsigned(timeOut) + 1000);
    EXPECT_TRUE(client.IsClient());
    EXPECT_EQ(server.NumClients(), 1);
    EXPECT_EQ(serverKills, 0);
    EXPECT_TRUE(killedClients.empty());
    // Silence for as long drops them, the next frame as before.
    TestSeam seam;
    seam.drop = [](const nettest::SentDatagram&) { return true; };
    clock.Advance(unsigned(timeOut) + 1);
    client.Update(unsigned(timeOut) + 1);
    server.Update(unsigned(timeOut) + 1);
    EXPECT_FALSE(client.IsClient());
    EXPECT_EQ(serverKills, 1);
    EXPECT_EQ(killedClients, std::vector<int>{1});
}

TEST_F(Callbacks, PongUpdatesTheRoundTripTime) {
    NetEngine server(net.Config(1)), client(net.Config(2));
    ASSERT_TRUE(server.HostServer("Ping"));
    ASSERT_TRUE(nettest::Join(server, client, "Ping"));
    // Fresh measurement from a known starting point.
    server.SetSequenceNumbers(1, server.GetSlotState(1).nextSequence, server.GetSlotState(1).expectedSequence);
    const unsigned before = server.GetRTT(1);
    server.SendPing();
    clock.Advance(40);
    client.DrainReceive();  // the ping is answered at once
    server.DrainReceive();
    const unsigned first = unsigned(0.5 * 40 + 0.5 * before);
    EXPECT_EQ(server.GetRTT(1), first);

    // A pong for an older ping changes nothing.
    server.SendPing();
    clock.Advance(40);
    server.SendPing();
    clock.Advance(100);
    client.DrainReceive();
    server.DrainReceive();
    EXPECT_EQ(server.GetRTT(1), unsigned(0.5 * 100 + 0.5 * first));

    // The server tells the client its time every 200 ms.
    server.Update(201);
    const unsigned told = server.GetRTT(1);
    client.DrainReceive();
    client.Update(0);
    EXPECT_EQ(client.GetRTT(0), told);
}

TEST(LinkMessages, RoundTripOfAFreshSlot) {
    // 16 ms for a fresh slot; a first pong measuring 40 ms makes it 28.
    FakeClock clock;
    LoopbackNet net;
    NetEngine server(net.Config(1)), client(net.Config(2));
    ASSERT_TRUE(server.HostServer("Fresh"));
    client.FindServers();
    ASSERT_TRUE(nettest::PumpUntil(
        {&server, &client}, [&] { return !client.GetServerList().empty(); }, 200, 0));
    ASSERT_TRUE(client.ConnectToServer("Fresh"));
    ASSERT_TRUE(nettest::PumpUntil(
        {&server, &client}, [&] { return nettest::Joined(server, 1); }, 200, 0));
    EXPECT_EQ(server.GetRTT(1), 16u);
    server.SendPing();
    clock.Advance(40);
    client.DrainReceive();
    server.DrainReceive();
    EXPECT_EQ(server.GetRTT(1), 28u);
}

TEST_F(Callbacks, SyncEvents) {
    NetEngine server(net.Config(1));
    std::vector<std::string> raised;
    server.SetSyncEventRaiser([&](const std::string& e) { raised.push_back(e); });
    ASSERT_TRUE(server.HostServer("Sync"));
    // A server alone completes as soon as it has sent its own sync.
    server.AddSyncEvent("alone", "Alone", 1000);
    server.Update(16);
    EXPECT_TRUE(raised.empty());
    server.SendSync("alone");
    server.Update(16);
    EXPECT_EQ(raised, std::vector<std::string>{"Alone"});

    // A name no sync event has is lost, not kept for later.
    server.SendSync("later");
    server.AddSyncEvent("later", "Later", 1000);
    server.Update(16);
    EXPECT_EQ(raised.size(), 1u);
    server.ClearSyncs();

    // Two complete in one update: raised in two successive updates.
    server.AddSyncEvent("one", "One", 1000);
    server.AddSyncEvent("two", "Two", 1000);
    server.SendSync("two");
    server.SendSync("one");
    server.Update(16);
    server.Update(16);
    EXPECT_EQ(raised, (std::vector<std::string>{"Alone", "One", "Two"}));

    // Expiry: at most one per update, those after it not lowered.
    server.AddSyncEvent("a", "A", 10);
    server.AddSyncEvent("b", "B", 10);
    server.AddSyncEvent("c", "C", 100);
    server.Update(20);  // a expires; b and c untouched
    ASSERT_EQ(server.GetSyncEvents().size(), 2u);
    EXPECT_EQ(server.GetSyncEvents()[0].name, "b");
    EXPECT_EQ(server.GetSyncEvents()[0].timeLeft, 10);
    EXPECT_EQ(server.GetSyncEvents()[1].timeLeft, 100);
    server.Update(20);  // b expires
    ASSERT_EQ(server.GetSyncEvents().size(), 1u);
    EXPECT_EQ(server.GetSyncEvents()[0].timeLeft, 100);
    EXPECT_EQ(raised.size(), 3u);
}

TEST_F(Callbacks, SyncWaitsForEveryClientUntilOneTimesOut) {
    NetEngine server(net.Config(1));
    NetEngine c1(net.Config(2)), c2(net.Config(3)), c3(net.Config(4));
    std::vector<std::string> raised;
    server.SetSyncEventRaiser([&](const std::string& e) { raised.push_back(e); });
    ASSERT_TRUE(server.HostServer("Wait"));
    ASSERT_TRUE(nettest::Join(server, c1, "Wait"));
    ASSERT_TRUE(nettest::Join(server, c2, "Wait", {&c1}));
    ASSERT_TRUE(nettest::Join(server, c3, "Wait", {&c1, &c2}));
    server.AddSyncEvent("LoadingLevel", "NextLevel", 30000);
    server.SendSync("LoadingLevel");
    c1.SendSync("LoadingLevel");
    c2.SendSync("LoadingLevel");
    nettest::Pump({&server, &c1, &c2, &c3}, 5);
    EXPECT_TRUE(raised.empty());
    ASSERT_EQ(server.GetSyncEvents().size(), 1u);
    EXPECT_EQ(server.GetSyncEvents()[0].arrived, (std::vector<unsigned>{0, 1, 2}));
    // Client 3 goes silent; once it has timed out the sync completes.
    c3.Disconnect();
    for (int i = 0; i < 50 && raised.empty(); ++i) nettest::Pump({&server, &c1, &c2}, 1, 100);
    EXPECT_EQ(raised, std::vector<std::string>{"NextLevel"});
    EXPECT_EQ(server.NumClients(), 2);
}

TEST_F(Callbacks, AHandOverPointDropsTheClientsThatMissItAndGoesOn) {
    NetEngine server(net.Config(1));
    NetEngine c1(net.Config(2)), c2(net.Config(3));
    static std::vector<int> dropped;
    dropped.clear();
    std::vector<std::string> raised;
    server.SetSyncEventRaiser([&](const std::string& e) { raised.push_back(e); });
    server.SetOnKillClientCallBack([](char id) { dropped.push_back(id); });
    ASSERT_TRUE(server.HostServer("Hand"));
    ASSERT_TRUE(nettest::Join(server, c1, "Hand"));
    ASSERT_TRUE(nettest::Join(server, c2, "Hand", {&c1}));
    server.AddHandOverPoint("StartLevel", "StartLevel", 200);
    // Set up again while pending: the same point, not a second one.
    server.AddHandOverPoint("StartLevel", "StartLevel", 20000);
    ASSERT_EQ(server.GetSyncEvents().size(), 1u);
    EXPECT_TRUE(server.GetSyncEvents()[0].handOver);
    server.SendSync("StartLevel");
    c1.SendSync("StartLevel");
    nettest::Pump({&server, &c1, &c2}, 5);
    EXPECT_TRUE(raised.empty()) << "client 2 has not arrived";
    // Client 2 stays connected but never arrives: at the time-out it is
    // dropped and the event is raised for those that did.
    for (int i = 0; i < 30 && raised.empty(); ++i) nettest::Pump({&server, &c1, &c2}, 1, 16);
    EXPECT_EQ(raised, std::vector<std::string>{"StartLevel"});
    EXPECT_EQ(dropped, std::vector<int>{c2.NetID()});
    EXPECT_EQ(server.GetClientList(), (std::vector<unsigned>{0, c1.NetID()}));

    // A plain sync point still ends silently at its time-out.
    server.AddSyncEvent("plain", "Plain", 20);
    nettest::Pump({&server, &c1}, 3);
    EXPECT_EQ(raised.size(), 1u);
    EXPECT_TRUE(server.GetSyncEvents().empty());
}

TEST_F(Callbacks, FlowLimitHalvesAndDoubles) {
    NetEngine server(net.Config(1)), client(net.Config(2));
    ASSERT_TRUE(server.HostServer("Flow"));
    ASSERT_TRUE(nettest::Join(server, client, "Flow"));
    // Pongs that take 700 ms: the average climbs past 500 and the limit halves
    // every 500 ms, down to 16 and no further.
    std::vector<unsigned> flows{server.GetFlow()};
    auto step = [&](std::uint32_t delay) {
        server.Update(100);
        clock.Advance(delay);
        client.DrainReceive();
        server.DrainReceive();
        if (server.GetFlow() != flows.back()) flows.push_back(server.GetFlow());
    };
    for (int i = 0; i < 400; ++i) step(700);
    ASSERT_GT(flows.size(), 5u);
    EXPECT_EQ(flows.back(), 16u);
    for (std::size_t i = 1; i < flows.size(); ++i) EXPECT_EQ(flows[i], std::max(16u, flows[i - 1] / 2));
    // Answers within 1 ms: the limit doubles every 500 ms, up to the budget.
    flows = {server.GetFlow()};
    for (int i = 0; i < 400; ++i) step(0);
    EXPECT_EQ(flows.back(), 112000u);
    for (std::size_t i = 1; i < flows.size(); ++i) EXPECT_EQ(flows[i], std::min(112000u, flows[i - 1] * 2));
    EXPECT_EQ(client.GetFlow(), 112000u);  // only the server adjusts its limit
}

TEST_F(Callbacks, OverTheFlowLimitUnreliableMessagesAreDroppedReliableOnesGo) {
    NetConfig config = net.Config(1);
    config.sendBudget = 600;
    NetEngine server(config), client(net.Config(2));
    ASSERT_TRUE(server.HostServer("Budget"));
    ASSERT_TRUE(nettest::Join(server, client, "Budget"));
    nettest::Pump({&server, &client}, 70);  // the meter settles on what was really sent
    std::map<unsigned, int> got;
    client.SetMessageObserver([&](const BaseNetMessage& m) { ++got[m.typeId]; });
    for (int f = 0; f < 60; ++f) {
        MSG_UpdatePlayer p;
        p.name = std::string(40, 'p');
        MSG_ChangeScore s;
        s.delta = f;
        server.SendNetMessage(p, false);
        server.SendNetMessage(s, true);
        nettest::Pump({&server, &client}, 1);
    }
    nettest::Pump({&server, &client}, 10);
    EXPECT_EQ(got[MSG_ChangeScore::MSG_ID], 60);
    EXPECT_LT(got[MSG_UpdatePlayer::MSG_ID], 30);
    EXPECT_GT(server.GetBPS(), 0u);
}

// Fifteen clients with their own receive threads, reliable messages both ways
// and relayed by the server, through 10% loss: nothing lost, each sender's
// messages in order.
TEST(FullServer, FifteenClientsAtTenPercentLoss) {
    FakeClock clock;
    LoopbackNet net;
    NetEngine server(net.Config(1, true));
    std::vector<std::unique_ptr<NetEngine>> clients;
    for (int i = 0; i < 15; ++i) clients.push_back(std::make_unique<NetEngine>(net.Config(10 + i, true)));
    std::vector<NetEngine*> all{&server};
    for (auto& c : clients) all.push_back(c.get());
    auto frame = [&] {
        std::vector<std::uint64_t> seen;
        for (auto* e : all) seen.push_back(e->DatagramsHandled());
        for (auto* e : all) e->Update(16);
        for (std::size_t i = 0; i < all.size(); ++i) all[i]->WaitForDatagrams(seen[i], 2);
    };
    ASSERT_TRUE(server.HostServer("Crowd"));
    for (auto& c : clients) {
        c->FindServers();
        for (int f = 0; f < 300 && c->GetServerList().empty(); ++f) frame();
        ASSERT_FALSE(c->GetServerList().empty());
        c->StopFindingServers();
        ASSERT_TRUE(c->ConnectToServer("Crowd"));
        for (int f = 0; f < 300 && !(c->NetID() != 255 && nettest::Joined(server, c->NetID())); ++f) frame();
        ASSERT_NE(c->NetID(), 255);
        ASSERT_TRUE(nettest::Joined(server, c->NetID()));
    }
    for (int f = 0; f < 5; ++f) frame();
    ASSERT_EQ(server.NumClients(), 15);

    // received[peer][sender] = the numbers in arrival order (sender 0 is the
    // server): each peer sends its own player's information, numbered.
    std::vector<std::map<int, std::vector<int>>> received(all.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i]->SetMessageObserver([&, i](const BaseNetMessage& m) {
            if (auto* s = dynamic_cast<const MSG_SetClientInfo*>(&m))
                received[i][int(s->clientId.value)].push_back(int(s->color.value));
        });
    TestSeam seam(99);
    seam.loss = 0.10;
    const int perSender = 12;
    for (int k = 0; k < perSender; ++k) {
        for (std::size_t i = 0; i < all.size(); ++i) {
            MSG_SetClientInfo s;
            s.clientId = unsigned(i == 0 ? 0 : all[i]->NetID());
            s.color = unsigned(k);
            all[i]->SendNetMessage(s, true);
        }
        frame();
    }
    auto complete = [&] {
        for (std::size_t i = 0; i < all.size(); ++i)
            for (std::size_t j = 0; j < all.size(); ++j)
                if (i != j && received[i][int(j)].size() < perSender) return false;
        return true;
    };
    for (int f = 0; f < 1500 && !complete(); ++f) frame();
    std::vector<int> expected(perSender);
    for (int k = 0; k < perSender; ++k) expected[k] = k;
    for (std::size_t i = 0; i < all.size(); ++i)
        for (std::size_t j = 0; j < all.size(); ++j) {
            if (i == j)
                EXPECT_TRUE(received[i][int(j)].empty()) << "own messages come back to " << i;
            else
                EXPECT_EQ(received[i][int(j)], expected) << "peer " << i << " from " << j;
        }
    for (auto* e : all) e->Disconnect();
}

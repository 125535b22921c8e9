// The engine's configuration and queries, sockets and addresses, and the
// receive thread carrying reliable messages between two engines.
#include <gtest/gtest.h>

#include <arpa/inet.h>

#include "networking/Messages.h"
#include "networking/NetTestSupport.h"
#include "support/FakeClock.h"

using namespace Networking;
using namespace Networking::NetMessage;
using nettest::LoopbackNet;

TEST(NetEngine, FreshEngineAnswers) {
    NetEngine e;
    EXPECT_EQ(e.NetID(), 255);
    EXPECT_EQ(e.GetPlayerName(), "Player_0");
    EXPECT_FALSE(e.IsServer());
    EXPECT_FALSE(e.IsClient());
    EXPECT_EQ(e.GetBPS(), 112000u);
    EXPECT_EQ(e.GetFlow(), 112000u);
    EXPECT_EQ(e.GetDropPercent(3), 0.0f);
    EXPECT_EQ(e.GetDropPercent(16), -1.0f);
    EXPECT_EQ(e.GetRTT(16), 0xFFFFFFFFu);
    EXPECT_EQ(e.GetRTT(1), 16u);
    EXPECT_EQ(e.GetClientIP(16), "");
    EXPECT_EQ(e.GetClientList(), std::vector<unsigned>{0});
    EXPECT_EQ(e.SendAllMessages(), 0);
    e.SetCleintID(12);
    EXPECT_EQ(e.GetPlayerName(), std::string("Player_") + char(60));
    const NetConfig& c = e.Config();
    EXPECT_EQ(c.maxClients, 15u);
    EXPECT_EQ(c.gamePort, 8001);
    EXPECT_EQ(c.discoveryPort, 8005);
    EXPECT_EQ(c.timeOut, 4000);
    EXPECT_EQ(c.discoveryTarget, "255.255.255.255");

    NetConfig other;
    other.gamePort = 9001;
    other.sendBudget = 6000;
    NetEngine f(other);
    EXPECT_EQ(f.GetFlow(), 6000u);
    f.ReadConfigFile();
    EXPECT_EQ(f.Config().gamePort, 8001);
}

TEST(NetEngine, NothingIsSentWithoutARole) {
    NetEngine e;
    MSG_Sync s("x");
    e.SendNetMessage(s, true);
    e.SendNetMessageNow(s);
    EXPECT_EQ(e.SendAllMessages(), 0);
    EXPECT_EQ(e.GetSlotState(0).reliablePacks, 0u);
}

TEST(Address, TextPortsAndEquality) {
    Address a("127.0.0.9", 8001), b("127.0.0.9", 8005), c("127.0.0.10", 8001);
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a == c);
    EXPECT_EQ(a.GetText(), "127.0.0.9");
    EXPECT_EQ(a.GetPort(), htons(8001));
    EXPECT_EQ(a.GetHostPort(), 8001);
    Address bc;
    bc.SetToBroadcast(8005);
    EXPECT_EQ(bc.GetText(), "Broadcasting..");
    EXPECT_EQ(bc.GetIP(), "255.255.255.255");
    Address any;
    any.SetToAny(1);
    EXPECT_EQ(any.GetText(), "Any");
    EXPECT_EQ(Address::GetLength(), 16);
}

TEST(UDPSocket, ResultConvention) {
    LoopbackNet net;
    UDPSocket a, b;
    ASSERT_TRUE(a.Open(0));
    ASSERT_TRUE(b.Open(0));
    ASSERT_TRUE(a.BindSocket(Address(net.Ip(1), net.gamePort)));
    ASSERT_TRUE(b.BindSocket(Address(net.Ip(2), 0)));
    a.SetBlocking(false);
    Address from;
    char buf[16];
    EXPECT_EQ(a.ReceiveFrom(from, buf, sizeof buf, Socket::WAIT_INFINITE), -1);  // would block
    EXPECT_EQ(a.ReceiveFrom(from, buf, sizeof buf, 0), -1);                      // wait ran out
    EXPECT_EQ(b.SendTo(Address(net.Ip(1), net.gamePort), "hello", 5), 5);
    EXPECT_EQ(a.ReceiveFrom(from, buf, sizeof buf, 1000), 5);
    EXPECT_EQ(from.GetText(), net.Ip(2));
    // Empty and oversized datagrams are dropped as "nothing yet", not errors.
    EXPECT_EQ(b.SendTo(Address(net.Ip(1), net.gamePort), "", 0), -3);
    EXPECT_EQ(a.ReceiveFrom(from, buf, sizeof buf, 1000), -1);
    std::string big(40, 'x');
    b.SendTo(Address(net.Ip(1), net.gamePort), big.data(), unsigned(big.size()));
    EXPECT_EQ(a.ReceiveFrom(from, buf, sizeof buf, 1000), -1);
    EXPECT_EQ(b.SendTo(Address(net.Ip(1), net.gamePort), "again", 5), 5);
    EXPECT_EQ(a.ReceiveFrom(from, buf, sizeof buf, 1000), 5);
    a.Close();
    EXPECT_FALSE(a.IsOpen());
    EXPECT_EQ(a.ReceiveFrom(from, buf, sizeof buf, 0), -2);
    b.Close();
}

TEST(UDPSocket, AcceptAnswersByTheLowBit) {
    LoopbackNet net;
    for (std::uint32_t word : {2u, 1u}) {
        UDPSocket listener, peer;
        ASSERT_TRUE(listener.Open(net.gamePort));
        ASSERT_TRUE(listener.BindSocket(Address(net.Ip(1), net.gamePort)));
        ASSERT_TRUE(peer.Open(0));
        ASSERT_TRUE(peer.BindSocket(Address(net.Ip(2), 0)));
        peer.SendTo(Address(net.Ip(1), net.gamePort), reinterpret_cast<const char*>(&word), 4);
        Address from;
        Socket* s = listener.Accept(from);
        std::uint32_t answer = 0;
        Address back;
        EXPECT_EQ(peer.ReceiveFrom(back, reinterpret_cast<char*>(&answer), 4, 1000), 4);
        if (word == 2) {
            EXPECT_EQ(s, nullptr);
            EXPECT_EQ(answer, 8u);
        } else {
            ASSERT_NE(s, nullptr);
            EXPECT_EQ(answer, 3u);
            s->Close();
            delete s;
        }
        listener.Close();
        peer.Close();
    }
}

TEST(Mutex, RecordsItsHolder) {
    Mutex m;
    m.Enter();
    EXPECT_GT(m.Holder(), 0);
    m.Leave();
    EXPECT_EQ(m.Holder(), -1);
}

TEST(Threads, IdsCountUpAndStopWaits) {
    struct Flag {
        std::atomic<bool> ran{false};
    } flag;
    Thread<Flag&> t([](Flag& f, const std::atomic<bool>& stop) {
        f.ran = true;
        while (!stop.load()) std::this_thread::yield();
    });
    Thread<Flag&> u([](Flag&, const std::atomic<bool>&) {});
    EXPECT_EQ(u.Id(), t.Id() + 1);
    EXPECT_FALSE(t.IsRunning());
    t.Start(flag);
    EXPECT_TRUE(t.IsRunning());
    t.Stop(true);
    EXPECT_FALSE(t.IsRunning());
    EXPECT_TRUE(flag.ran.load());
}

// Two engines with their own receive threads: the handshake and reliable
// messages both ways (run under ThreadSanitizer too).
TEST(ReceiveThread, CarriesMessagesBetweenEngines) {
    FakeClock clock;
    LoopbackNet net;
    NetEngine server(net.Config(1, true));
    NetEngine client(net.Config(2, true));
    ASSERT_TRUE(server.HostServer("Threads"));
    std::vector<int> atServer, atClient;
    std::mutex seenLock;
    server.SetMessageObserver([&](const BaseNetMessage& m) {
        if (auto* s = dynamic_cast<const MSG_ChangeScore*>(&m)) atServer.push_back(s->delta.value);
    });
    client.SetMessageObserver([&](const BaseNetMessage& m) {
        if (auto* s = dynamic_cast<const MSG_ChangeScore*>(&m)) atClient.push_back(s->delta.value);
    });
    auto frame = [&] {
        std::uint64_t s = server.DatagramsHandled(), c = client.DatagramsHandled();
        server.Update(16);
        client.Update(16);
        server.WaitForDatagrams(s, 5);
        client.WaitForDatagrams(c, 5);
    };
    client.FindServers();
    for (int i = 0; i < 200 && client.GetServerList().empty(); ++i) frame();
    ASSERT_FALSE(client.GetServerList().empty());
    client.StopFindingServers();
    ASSERT_TRUE(client.ConnectToServer("Threads"));
    // Connected once the server holds the slot too (its confirmation may
    // still be on its way when the client has its id).
    for (int i = 0; i < 400 && !(client.NetID() != 255 && nettest::Joined(server, 1)); ++i) frame();
    ASSERT_EQ(client.NetID(), 1);
    ASSERT_TRUE(nettest::Joined(server, 1));
    for (int i = 0; i < 50; ++i) {
        MSG_ChangeScore up, down;
        up.delta = i;
        down.delta = 100 + i;
        client.SendNetMessage(up, true);
        server.SendNetMessage(down, true);
        frame();
    }
    for (int i = 0; i < 400 && (atServer.size() < 50 || atClient.size() < 50); ++i) frame();
    ASSERT_EQ(atServer.size(), 50u);
    ASSERT_EQ(atClient.size(), 50u);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(atServer[i], i);
        EXPECT_EQ(atClient[i], 100 + i);
    }
    client.Disconnect();
    server.Disconnect();
}

// Discovery on loopback: replies merging by server and expiring, malformed
// datagrams on the discovery port, hosting again after a disconnect.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <algorithm>

#include "networking/Messages.h"
#include "networking/NetTestSupport.h"
#include "support/FakeClock.h"

using namespace Networking;
using nettest::LoopbackNet;

namespace {
const ServerInfo* Find(const NetEngine& e, const std::string& name) {
    for (const auto& s : e.GetServerList())
        if (s.name == name) return &s;
    return nullptr;
}
std::size_t CountNamed(const NetEngine& e, const std::string& name) {
    std::size_t n = 0;
    for (const auto& s : e.GetServerList()) n += s.name == name;
    return n;
}
}  // namespace

// One entry per server: its replies merge; two servers of one name stay two
// entries (a player must be able to tell them apart and join either).
TEST(Discovery, RepliesMergeByServerAndExpire) {
    FakeClock clock;
    LoopbackNet net;
    NetEngine a(net.Config(1)), b(net.Config(2)), c(net.Config(3)), client(net.Config(9));
    ASSERT_TRUE(a.HostServer("Same"));
    ASSERT_TRUE(b.HostServer("Same"));
    ASSERT_TRUE(c.HostServer("Other"));
    std::vector<NetEngine*> all{&a, &b, &c, &client};
    client.FindServers();
    ASSERT_TRUE(nettest::PumpUntil(
        all, [&] { return CountNamed(client, "Same") == 2 && Find(client, "Other"); }, 100, 50));
    nettest::Pump(all, 20, 50);  // more queries and replies: still one entry per server
    EXPECT_EQ(CountNamed(client, "Same"), 2u);
    EXPECT_EQ(CountNamed(client, "Other"), 1u);
    EXPECT_EQ(client.GetServerList().size(), 3u);
    std::vector<std::string> same;
    for (const ServerInfo& s : client.GetServerList())
        if (s.name == "Same") same.push_back(s.address.GetIP());
    std::sort(same.begin(), same.end());
    EXPECT_EQ(same, (std::vector<std::string>{net.Ip(1), net.Ip(2)}));
    // Either of the two games of one name can be joined, by its address.
    EXPECT_FALSE(client.ConnectToServer("Same", net.Ip(3)));
    ASSERT_TRUE(client.ConnectToServer("Same", net.Ip(2)));
    EXPECT_EQ(client.GetClientIP(0), net.Ip(2));
    client.Disconnect();
    client.FindServers();
    ASSERT_TRUE(nettest::PumpUntil(
        all, [&] { return CountNamed(client, "Same") == 2 && Find(client, "Other"); }, 100, 50));
    nettest::Pump(all, 20, 50);
    EXPECT_EQ(Find(client, "Other")->address.GetIP(), net.Ip(3));
    // The default information message: the player count of a server alone.
    auto* info = dynamic_cast<const NetMessage::MSG_ServerInfo*>(Find(client, "Other")->info.get());
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->playerCount.value, 1u);

    // Refreshed entries live 2500 ms after their last reply.
    c.StopBroadcasting();
    std::vector<NetEngine*> quiet{&a, &b, &client};
    nettest::Pump(quiet, 1, 50);
    int gone = -1;
    for (int ms = 0; ms <= 4000; ms += 100) {
        if (!Find(client, "Other")) {
            gone = ms;
            break;
        }
        nettest::Pump(quiet, 1, 100);
    }
    EXPECT_GE(gone, 2300);
    EXPECT_LE(gone, 2700);
    EXPECT_TRUE(Find(client, "Same"));

    // A new search starts from an empty list; an entry seen once lives 1250 ms.
    b.StopBroadcasting();
    client.FindServers();
    EXPECT_TRUE(client.GetServerList().empty());
    ASSERT_TRUE(nettest::PumpUntil(
        {&a, &client}, [&] { return Find(client, "Same") != nullptr; }, 20, 10));
    a.StopBroadcasting();
    int lifetime = 0;
    while (Find(client, "Same") && lifetime < 5000) {
        clock.Advance(50);
        client.Update(50);
        lifetime += 50;
    }
    EXPECT_GE(lifetime, 1150);
    EXPECT_LE(lifetime, 1300);
}

TEST(Discovery, MalformedDatagramsOnTheDiscoveryPort) {
    FakeClock clock;
    LoopbackNet net;
    NetEngine server(net.Config(1)), client(net.Config(2));
    ASSERT_TRUE(server.HostServer("Host"));
    nettest::RawPeer raw(net.Ip(5));
    auto word = [](std::vector<unsigned char>& v, std::uint32_t w) {
        for (int i = 0; i < 4; ++i) v.push_back(static_cast<unsigned char>(w >> (8 * i)));
    };
    // Words swapped, a longer datagram, an empty one: no reply, and hosting goes on.
    std::vector<unsigned char> swapped, longer;
    word(swapped, ~0xFF073487u);
    word(swapped, 0xFF073487u);
    word(longer, 0xFF073487u);
    word(longer, ~0xFF073487u);
    longer.push_back(0);
    for (const auto& d : {swapped, longer, std::vector<unsigned char>{}}) {
        raw.SendTo(net.Ip(1), net.discoveryPort, d);
        server.Update(16);
        EXPECT_TRUE(server.IsHosting());
    }
    char buf[64];
    EXPECT_LT(::recv(raw.fd, buf, sizeof buf, MSG_DONTWAIT), 0);

    // A reply whose name has no end inside the datagram is not taken.
    int listener = ::socket(AF_INET, SOCK_DGRAM, 0);
    int on = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_port = htons(net.discoveryPort);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&any), sizeof any), 0);
    server.StopBroadcasting();
    client.FindServers();
    client.Update(16);  // sends the query
    sockaddr_in from{};
    socklen_t flen = sizeof from;
    ASSERT_EQ(::recvfrom(listener, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &flen), 8);
    std::vector<unsigned char> reply;
    word(reply, 0xF03C83F2u);
    word(reply, ~0xF03C83F2u);
    for (char ch : std::string("NoEnd")) reply.push_back(static_cast<unsigned char>(ch));
    ::sendto(raw.fd, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&from), flen);
    client.Update(16);
    EXPECT_TRUE(client.GetServerList().empty());
    reply.push_back(0);
    reply.push_back(0xFF);  // an information message cut short is left out
    ::sendto(raw.fd, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&from), flen);
    client.Update(16);
    ASSERT_EQ(client.GetServerList().size(), 1u);
    EXPECT_EQ(client.GetServerList()[0].name, "NoEnd");
    EXPECT_EQ(client.GetServerList()[0].address.GetIP(), net.Ip(5));
    EXPECT_EQ(client.GetServerList()[0].info, nullptr);
    ::close(listener);
}

TEST(Hosting, HostDisconnectAndHostAgain) {
    FakeClock clock;
    LoopbackNet net;
    NetEngine server(net.Config(1)), client(net.Config(2));
    ASSERT_TRUE(server.HostServer("Again"));
    EXPECT_FALSE(server.HostServer("Twice"));  // already hosting
    EXPECT_TRUE(server.IsServer());
    EXPECT_EQ(server.NetID(), 0);
    server.Disconnect();
    EXPECT_FALSE(server.IsServer());
    EXPECT_EQ(server.NetID(), 255);
    ASSERT_TRUE(server.HostServer("Again"));
    ASSERT_TRUE(nettest::Join(server, client, "Again"));
    EXPECT_EQ(client.NetID(), 1);
    server.Disconnect();
    client.Disconnect();
    ASSERT_TRUE(server.HostServer("Third"));
    ASSERT_TRUE(nettest::Join(server, client, "Third"));
}

TEST(Hosting, FailsWhenTheGamePortIsTaken) {
    LoopbackNet net;
    UDPSocket taken;
    ASSERT_TRUE(taken.Open(net.gamePort));
    ASSERT_TRUE(taken.BindSocket(Address(net.Ip(1), net.gamePort)));
    NetEngine server(net.Config(1));
    EXPECT_FALSE(server.HostServer("Busy"));
    EXPECT_FALSE(server.IsHosting());
    EXPECT_FALSE(server.IsServer());
    taken.Close();
    EXPECT_TRUE(server.HostServer("Busy"));
}

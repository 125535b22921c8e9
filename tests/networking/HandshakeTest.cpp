// The handshake proves that an address receives before it gets a slot:
// strangers sending connection words or blind confirmations get nothing run
// and keep no real player out; a connected client stops searching; a peer
// whose datagrams arrive is never timed out however slowly its game runs.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "networking/Messages.h"
#include "networking/NetTestSupport.h"
#include "support/FakeClock.h"

using namespace Networking;
using namespace Networking::NetMessage;
using namespace Networking::PrivateNetMessage;
using nettest::LoopbackNet;
using nettest::RawPeer;

namespace {

const std::vector<unsigned char> kConnectWord{0x7F, 0xF0};

// The server's answer to a connection word, read back: the slot and the number.
struct Answer {
    bool read = false;
    unsigned slot = 0;
    std::uint32_t token = 0;
};
Answer ReadAnswer(const std::vector<unsigned char>& datagram) {
    Answer a;
    if (datagram.size() < 5 || !(datagram[2] & 1)) return a;
    BitReader in(datagram.data() + 2, datagram.size() - 2);
    in.Read(1);
    if (in.Read(16) != 0) return a;  // the answer is the peer's first pack
    PMSG_SetClientID id;
    if (!id.Deserialize(in) || id.typeId != PMSG_SetClientID::MSG_ID) return a;
    a.read = true;
    a.slot = id.clientId.value;
    a.token = id.token.value;
    return a;
}

struct Handshake : ::testing::Test {
    void SetUp() override {
        server.SetOnNewClientCallBack([](char id) { announced.push_back(id); });
        announced.clear();
        server.SetMessageObserver([&](const BaseNetMessage& m) { ranOnServer.push_back(MessageName(m.typeId)); });
        ASSERT_TRUE(server.HostServer("Proof"));
    }
    FakeClock clock;
    LoopbackNet net;
    NetEngine server{net.Config(1)};
    std::vector<std::string> ranOnServer;
    static inline std::vector<int> announced;
};

TEST_F(Handshake, ASlotIsTakenOnlyWhenTheAnswerComesBackAndNothingIsAnnouncedBefore) {
    NetEngine client(net.Config(2));
    client.FindServers();
    ASSERT_TRUE(nettest::PumpUntil({&server, &client}, [&] { return !client.GetServerList().empty(); }));
    ASSERT_TRUE(client.ConnectToServer("Proof"));
    server.DrainReceive();  // the connection words: an offer, no slot
    EXPECT_EQ(server.OpenOffers(), 1);
    EXPECT_FALSE(server.GetSlotState(1).inUse);
    server.Update(16);
    EXPECT_TRUE(announced.empty());
    EXPECT_EQ(server.NumClients(), 0);
    client.DrainReceive();
    client.Update(16);  // the id runs; the confirmation leaves
    EXPECT_EQ(client.NetID(), 1);
    EXPECT_FALSE(client.GetSlotState(0).connecting);
    server.DrainReceive();  // the confirmation carries the number: the slot is taken
    EXPECT_TRUE(server.GetSlotState(1).inUse);
    EXPECT_FALSE(server.GetSlotState(1).connecting);
    EXPECT_EQ(server.OpenOffers(), 0);
    EXPECT_TRUE(announced.empty());
    server.Update(16);
    EXPECT_EQ(announced, std::vector<int>{1});
    EXPECT_EQ(server.GetClientIP(1), net.Ip(2));
    // Both ways work from now on.
    MSG_Sync sync("here");
    client.SendNetMessage(sync, true);
    nettest::Pump({&server, &client}, 3);
    EXPECT_EQ(std::count(ranOnServer.begin(), ranOnServer.end(), "MSG_Sync"), 1);
}

TEST_F(Handshake, BlindConfirmationsAndPacksFromStrangersGetNothingRun) {
    RawPeer stranger(net.Ip(9));
    MSG_NextLevel next;
    MSG_ChangeScore score(0, 950334791);
    MSG_LoadLevel load("GameResults");
    // Packs without any handshake: nothing is read.
    stranger.SendTo(net.Ip(1), net.gamePort, nettest::PackOf({&next, &score}, false));
    stranger.SendTo(net.Ip(1), net.gamePort, nettest::PackOf({&load}, true, 0));
    // A connection word, then confirmations guessing the number, with game
    // messages riding behind them.
    stranger.SendTo(net.Ip(1), net.gamePort, kConnectWord);
    server.DrainReceive();
    ASSERT_EQ(server.OpenOffers(), 1);
    for (std::uint32_t guess : {0u, 1u, 0xFFFFFFFFu}) {
        PMSG_ConfirmConnect confirm(guess);
        stranger.SendTo(net.Ip(1), net.gamePort, nettest::PackOf({&confirm, &next, &score, &load}, true, 0));
    }
    nettest::Pump({&server}, 5);
    EXPECT_EQ(server.OpenOffers(), 0) << "one guess an offer";
    EXPECT_TRUE(ranOnServer.empty()) << ::testing::PrintToString(ranOnServer);
    EXPECT_TRUE(announced.empty());
    for (unsigned i = 1; i <= 15; ++i) EXPECT_FALSE(server.GetSlotState(i).inUse) << i;

    // The same address, once it shows it reads the answer, is a client like any.
    while (!stranger.Receive(0).empty()) {}  // the answer to the first word, whose offer is gone
    stranger.SendTo(net.Ip(1), net.gamePort, kConnectWord);
    server.DrainReceive();
    Answer answer;
    for (int i = 0; i < 10 && !answer.read; ++i) answer = ReadAnswer(stranger.Receive(100));
    ASSERT_TRUE(answer.read);
    EXPECT_EQ(answer.slot, 1u);
    PMSG_ConfirmConnect confirm(answer.token);
    MSG_Sync sync("proven");
    stranger.SendTo(net.Ip(1), net.gamePort, nettest::PackOf({&confirm, &sync}, true, 0));
    nettest::Pump({&server}, 2);
    EXPECT_TRUE(server.GetSlotState(1).inUse);
    EXPECT_EQ(announced, std::vector<int>{1});
    EXPECT_EQ(ranOnServer, (std::vector<std::string>{"PMSG_ConfirmConnect", "MSG_Sync"}));
}

// Fourteen strangers, however they send connection words, hold no slot: a
// real client asking meanwhile joins within a second of the injected clock.
TEST_F(Handshake, StrangersKeepNoRealClientOut) {
    struct Pattern {
        const char* name;
        int everyMs;        // how often the strangers send their words (0: once)
        bool newAddresses;  // fourteen new addresses each time
    };
    for (const Pattern& p : {Pattern{"once", 0, false}, Pattern{"again and again", 100, false},
                             Pattern{"fourteen new addresses every 500 ms", 500, true}}) {
        SCOPED_TRACE(p.name);
        LoopbackNet own;
        NetEngine host(own.Config(1)), first(own.Config(2)), late(own.Config(3));
        ASSERT_TRUE(host.HostServer("Busy"));
        ASSERT_TRUE(nettest::Join(host, first, "Busy"));
        late.FindServers();
        ASSERT_TRUE(nettest::PumpUntil({&host, &first, &late}, [&] { return !late.GetServerList().empty(); }));
        late.StopFindingServers();

        std::vector<std::unique_ptr<RawPeer>> strangers;
        std::vector<std::string> strangerIps;
        int round = 0;
        auto pester = [&] {
            if (strangers.empty() || p.newAddresses) {
                strangers.clear();
                for (int i = 0; i < 14; ++i) {
                    // 127.a.<b + round>.<100 + i>: never the game's own peers.
                    const std::string ip = "127." + std::to_string(own.a) + "." +
                                           std::to_string((own.b + 1 + round) % 250 + 1) + "." +
                                           std::to_string(100 + i);
                    strangers.push_back(std::make_unique<RawPeer>(ip));
                    strangerIps.push_back(ip);
                }
                ++round;
            }
            for (auto& s : strangers) s->SendTo(own.Ip(1), own.gamePort, kConnectWord);
        };
        const unsigned frameMs = 16;
        int sinceWords = 0;
        bool sentOnce = false;
        auto frame = [&] {
            if (!sentOnce || (p.everyMs > 0 && sinceWords >= p.everyMs)) {
                pester();
                sentOnce = true;
                sinceWords = 0;
            }
            nettest::Pump({&host, &first, &late}, 1, frameMs);
            sinceWords += int(frameMs);
            for (unsigned i = 1; i <= 15; ++i) {
                const std::string ip = host.GetClientIP(i);
                if (host.GetSlotState(i).inUse) {
                    ASSERT_EQ(std::count(strangerIps.begin(), strangerIps.end(), ip), 0)
                        << "a stranger holds slot " << i;
                }
            }
        };
        for (int k = 0; k < 1000 / int(frameMs); ++k) frame();

        const std::uint32_t asked = FakeClock::now.load();
        ASSERT_TRUE(late.ConnectToServer("Busy"));
        while (FakeClock::now.load() - asked < 3000 && !(late.NetID() != 255 && nettest::Joined(host, late.NetID())))
            frame();
        ASSERT_NE(late.NetID(), 255) << "the real client never got a slot";
        EXPECT_LE(FakeClock::now.load() - asked, 1000u);
        EXPECT_EQ(host.NumClients(), 2);
        EXPECT_TRUE(nettest::Joined(host, first.NetID())) << "the player already in was never disturbed";
        for (NetEngine* e : {&host, &first, &late}) e->Disconnect();
    }
}

TEST_F(Handshake, AConnectedClientStopsSearchingAndAsksNoMore) {
    NetEngine client(net.Config(2));
    nettest::TestSeam seam;
    seam.record = true;
    ASSERT_TRUE(nettest::Join(server, client, "Proof"));  // searches, then connects
    EXPECT_FALSE(client.IsSearching());
    seam.ClearSent();
    nettest::Pump({&server, &client}, 120);  // two seconds of a match
    int queries = 0;
    for (const nettest::SentDatagram& d : seam.Sent()) queries += d.port == net.discoveryPort;
    EXPECT_EQ(queries, 0);
    // Back in the lobby it searches again.
    client.Disconnect();
    client.FindServers();
    nettest::Pump({&server, &client}, 20);
    EXPECT_TRUE(client.IsSearching());
    EXPECT_FALSE(client.GetServerList().empty());
}

// The game thread of one machine runs at one frame a second while its
// receiving side reads what arrives: neither end times the other out. Once
// the peer falls silent it is timed out as before.
TEST_F(Handshake, APeerWhoseDatagramsArriveIsNeverTimedOutHoweverSlowItsGame) {
    for (bool slowClient : {true, false}) {
        SCOPED_TRACE(slowClient ? "a slow client" : "a slow server");
        LoopbackNet own;
        NetEngine host(own.Config(1)), client(own.Config(2));
        int lostServer = 0;
        static int lostClients;
        lostClients = 0;
        host.SetOnKillClientCallBack([](char) { ++lostClients; });
        ASSERT_TRUE(host.HostServer("Slow"));
        ASSERT_TRUE(nettest::Join(host, client, "Slow"));
        NetEngine& slow = slowClient ? client : host;
        NetEngine& fast = slowClient ? host : client;
        // The fast one runs every 16 ms; the slow one reads every 16 ms (its
        // receive thread) but updates once a second.
        auto run = [&](int forMs) {
            for (int ms = 0; ms < forMs; ms += 16) {
                FakeClock::now.fetch_add(16);
                fast.DrainReceive();
                fast.Update(16);
                slow.DrainReceive();
                if (ms % 1008 == 0) slow.Update(1008);
                if (!client.IsClient()) ++lostServer;
            }
        };
        run(30000);
        EXPECT_EQ(lostServer, 0);
        EXPECT_EQ(lostClients, 0);
        EXPECT_TRUE(nettest::Joined(host, client.NetID()));
        // Silence, measured on the clock: dropped once the time-out has passed.
        nettest::TestSeam seam;
        seam.drop = [](const nettest::SentDatagram&) { return true; };
        run(7000);
        EXPECT_FALSE(client.IsClient());
        EXPECT_EQ(lostClients, 1);
    }
}

}  // namespace

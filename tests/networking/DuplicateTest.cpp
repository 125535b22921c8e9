// Unreliable packs carry no number, so the network may bring one twice or
// after a later one: every message sent unreliably is delivered once, twice
// and in reverse order, and the receiving side's state compared.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "networking/MatchOfThree.h"
#include "networking/Messages.h"
#include "networking/NetTestSupport.h"
#include "support/FakeClock.h"

using namespace Networking;
using namespace Networking::NetMessage;
using namespace Networking::PrivateNetMessage;
using nettest::LoopbackNet;

namespace {

class Duplicates : public gameworld::MatchOfThree {
protected:
    // What `send` puts on the wire, kept from its receiver.
    static std::vector<nettest::SentDatagram> Record(const std::function<void()>& send) {
        nettest::TestSeam seam;
        seam.record = true;
        seam.drop = [](const nettest::SentDatagram&) { return true; };
        send();
        return seam.Sent();
    }
    // Sends the recorded datagrams again, in the given order, from the
    // sender's address, as the network would have delivered them.
    void Replay(const std::string& fromIp, const std::vector<std::vector<nettest::SentDatagram>>& order) {
        nettest::RawPeer peer(fromIp);
        for (const auto& datagrams : order)
            for (const nettest::SentDatagram& d : datagrams) peer.SendTo(d.to, d.port, d.bytes);
    }
};

struct Case {
    const char* name;
    // Readies the receiver (each delivery starts from the same footing).
    std::function<void()> prepare;
    // Puts the first and then the second message on the wire.
    std::function<void()> first, second;
    // Reads what the delivery left, once the receivers have run.
    std::function<void()> run;
    std::function<std::string()> state;
    bool fromServer;
    // Reversed, the later of two leaves what the earlier alone would: as if
    // the later one were lost, which an unreliable message may always be.
    bool reversedAsIfLost = false;
};

TEST_F(Duplicates, EveryUnreliableMessageDoesNoHarmTwiceOrOutOfOrder) {
    Object* pawn = Spawn("Player_" + std::string(1, char('0' + a.NetID())));
    const unsigned idA = a.NetID();
    auto snapshot = [&](float x) {
        return [&, x] {
            MSG_UpdatePlayer m(pawn);  // numbered as it is made
            m.position = D3DXVECTOR3{x, 2.0f * x, 0.0f};
            m.score = static_cast<int>(x);
            a.SendNetMessage(m, false);
            a.SendAllMessages();
        };
    };
    std::vector<std::uint16_t> saved;
    unsigned rttBefore = 0;
    auto measured = [&](unsigned before) { return unsigned(0.5 * 100 + 0.5 * before); };
    const std::vector<Case> cases{
        {"UpdatePlayer",
         [&] {
             V(pawn).position = D3DXVECTOR3{0.0f, 0.0f, 0.0f};
             V(pawn).score = 0;
         },
         snapshot(1.0f), snapshot(2.0f),
         [&] {
             server.DrainReceive();
             server.Update(0);
             nettest::Pump({&server, &a, &b}, 3);
         },
         [&] {
             std::ostringstream s;
             s << V(pawn).position.x << "," << V(pawn).position.y << " score " << V(pawn).score;
             return s.str();
         },
         false},
        {"SetRTT", [] {},
         [&] {
             PMSG_SetRTT m(20);
             server.SendNetMessageToClient(static_cast<unsigned char>(idA), m, false);
             server.SendAllMessages();
         },
         [&] {
             PMSG_SetRTT m(30);
             server.SendNetMessageToClient(static_cast<unsigned char>(idA), m, false);
             server.SendAllMessages();
         },
         [&] {
             a.DrainReceive();
             a.Update(0);
         },
         [&] { return std::to_string(a.GetRTT(0)); }, true, true},
        {"Ack",
         [&] {
             // Two reliable packs the client has not acknowledged.
             saved.clear();
             Record([&] {
                 for (int i = 0; i < 2; ++i) {
                     saved.push_back(server.GetSlotState(idA).nextSequence);
                     MSG_Sync m("unheard");
                     server.SendNetMessageToClient(static_cast<unsigned char>(idA), m, true);
                     server.SendAllMessages();
                 }
             });
             server.ClearDrop();
         },
         [&] {
             PMSG_Ack m(saved[0]);
             a.SendNetMessage(m, false);
             a.SendAllMessages();
         },
         [&] {
             PMSG_Ack m(saved[1]);
             a.SendNetMessage(m, false);
             a.SendAllMessages();
         },
         [&] { server.DrainReceive(); },
         [&] {
             auto s = server.GetSlotState(idA);
             return "saved " + std::to_string(s.savedPacks) + " acknowledged " + std::to_string(s.acksReceived);
         },
         false},
        {"Pong",
         [&] {
             Record([&] { server.SendPing(); });
             clock.Advance(100);
             rttBefore = server.GetRTT(idA);
         },
         [&] {
             PMSG_Pong m(static_cast<unsigned short>(server.PingNumber() - 1));
             a.SendNetMessageNow(m);
         },
         [&] {
             PMSG_Pong m(server.PingNumber());
             a.SendNetMessageNow(m);
         },
         [&] { server.DrainReceive(); },
         [&] {
             const unsigned now = server.GetRTT(idA);
             return now == measured(rttBefore) ? std::string("measured once") : std::to_string(now);
         },
         false},
        {"Ping", [&] { rttBefore = server.GetRTT(idA); }, [&] { server.SendPing(); },
         [&] {
             server.SendPing();
             clock.Advance(100);
         },
         [&] {
             a.DrainReceive();  // each ping is answered at once
             server.DrainReceive();
         },
         [&] {
             const unsigned now = server.GetRTT(idA);
             return now == measured(rttBefore) ? std::string("measured once") : std::to_string(now);
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string fromIp = c.fromServer ? net.Ip(1) : net.Ip(2);
        auto deliver = [&](const std::vector<int>& order, bool onlyFirst = false) {
            Settle();
            c.prepare();
            auto x = Record(c.first);
            auto y = Record(c.second);
            EXPECT_FALSE(x.empty());
            EXPECT_FALSE(y.empty());
            std::vector<std::vector<nettest::SentDatagram>> sequence;
            for (int i : order)
                if (!onlyFirst || i == 0) sequence.push_back(i == 0 ? x : y);
            Replay(fromIp, sequence);
            c.run();
            return c.state();
        };
        const std::string once = deliver({0, 1});
        EXPECT_EQ(deliver({0, 0, 1, 1}), once) << "twice";
        const std::string firstAlone = deliver({0, 1}, true);
        EXPECT_EQ(deliver({1, 0}), c.reversedAsIfLost ? firstAlone : once) << "in reverse order";
    }
}

}  // namespace

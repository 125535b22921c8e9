// Packs between a server and a client on loopback: gathering messages into
// packs, the 1,400-byte limit, malformed datagrams, reliable delivery through
// a lossy seam across the wrap of the sequence numbers, and resend timing.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "networking/Messages.h"
#include "networking/NetTestSupport.h"
#include "support/FakeClock.h"
#include "support/FatalCapture.h"

using namespace Networking;
using namespace Networking::NetMessage;
using namespace Networking::PrivateNetMessage;
using nettest::LoopbackNet;
using nettest::TestSeam;

namespace {

struct Pair : ::testing::Test {
    FakeClock clock;
    LoopbackNet net;
    NetEngine server{net.Config(1)};
    NetEngine client{net.Config(2)};
    std::vector<NetEngine*> both{&server, &client};

    void SetUp() override {
        ASSERT_TRUE(server.HostServer("Packs"));
        ASSERT_TRUE(nettest::Join(server, client, "Packs"));
    }
    unsigned char ClientId() const { return client.NetID(); }
};

bool IsReliable(const nettest::SentDatagram& d) { return d.bytes.size() > 2 && (d.bytes[2] & 1); }
unsigned Count(const nettest::SentDatagram& d) { return d.bytes[0] | d.bytes[1] << 8; }
unsigned Sequence(const nettest::SentDatagram& d) {
    BitReader in(d.bytes.data() + 2, d.bytes.size() - 2);
    in.Read(1);
    return in.Read(16);
}

}  // namespace

TEST_F(Pair, ReliableMessagesShareOnePackAndAFullPackOpensTheNext) {
    TestSeam seam;
    seam.record = true;
    std::uint16_t first = client.GetSlotState(0).nextSequence;
    MSG_Sync a("a"), b("b");
    client.SendNetMessage(a, true);
    client.SendNetMessage(b, true);
    // Two messages a client may send, each most of a pack.
    MSG_AnimateSpring big1(std::string(1300, '7')), big2(std::string(1300, '8'));
    client.SendNetMessage(big1, true);  // still fits after the two syncs
    client.SendNetMessage(big2, true);  // does not: the next pack and number
    EXPECT_EQ(client.SendAllMessages(), 2);
    std::vector<nettest::SentDatagram> reliable;
    for (auto& d : seam.Sent())
        if (IsReliable(d) && d.to == net.Ip(1)) reliable.push_back(d);
    ASSERT_EQ(reliable.size(), 2u);
    EXPECT_EQ(Count(reliable[0]), 3u);
    EXPECT_EQ(Count(reliable[1]), 1u);
    EXPECT_EQ(Sequence(reliable[0]), first);
    EXPECT_EQ(Sequence(reliable[1]), std::uint16_t(first + 1));
    for (auto& d : reliable) EXPECT_LE(d.bytes.size(), MAX_PACK_BYTES);

    std::vector<unsigned> cells;
    server.SetMessageObserver([&](const BaseNetMessage& m) {
        if (auto* l = dynamic_cast<const MSG_AnimateSpring*>(&m)) cells.push_back(unsigned(l->name.value.at(0) - '0'));
    });
    nettest::Pump(both, 2);
    EXPECT_EQ(cells, (std::vector<unsigned>{7, 8}));
}

TEST_F(Pair, ImmediatePackOpensNewAndOrdinaryMessagesJoinIt) {
    TestSeam seam;
    seam.record = true;
    MSG_UpdatePlayer plain1, immediate, plain2;
    plain1.name = "one";
    immediate.name = "two";
    plain2.name = "three";
    client.PrivateSendNetMessage(plain1, false, false);
    client.PrivateSendNetMessage(immediate, false, true);  // always a pack of its own
    client.PrivateSendNetMessage(plain2, false, false);    // joins the first pack with room
    EXPECT_EQ(client.SendAllMessages(), 2);
    std::vector<nettest::SentDatagram> sent;
    for (auto& d : seam.Sent())
        if (d.to == net.Ip(1)) sent.push_back(d);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(Count(sent[0]), 2u);
    EXPECT_EQ(sent[0].bytes[2] & 3, 0);  // unreliable, not immediate
    EXPECT_EQ(Count(sent[1]), 1u);
    EXPECT_EQ(sent[1].bytes[2] & 3, 2);  // unreliable, immediate

    // Game messages of an immediate pack wait for the game thread like all others.
    std::size_t before = server.ReceivedQueueLength();
    server.DrainReceive();
    EXPECT_EQ(server.ReceivedQueueLength(), before + 3);
    std::vector<std::string> names;
    server.SetMessageObserver([&](const BaseNetMessage& m) {
        if (auto* p = dynamic_cast<const MSG_UpdatePlayer*>(&m)) names.push_back(p->name.value);
    });
    server.ExecuteMessages();
    EXPECT_EQ(names, (std::vector<std::string>{"one", "three", "two"}));
}

TEST_F(Pair, NoDatagramExceedsTheLimitAtAnyResidue) {
    TestSeam seam;
    seam.record = true;
    std::mt19937 rng(7);
    std::vector<int> residuesSeen(8, 0);
    std::vector<unsigned> delivered;
    unsigned next = 0;
    server.SetMessageObserver([&](const BaseNetMessage& m) {
        if (auto* d = dynamic_cast<const MSG_AnimateSpring*>(&m))
            delivered.push_back(unsigned(std::stoul(d->name.value.substr(0, 6))));
    });
    for (int round = 0; round < 40 && std::count(residuesSeen.begin(), residuesSeen.end(), 0) > 0; ++round) {
        seam.ClearSent();
        std::vector<unsigned> bits;  // stream bits of each queued message, id included
        for (int i = 0; i < 200; ++i) {
            if (rng() % 3 == 0) {
                MSG_RequestLevel r;
                client.SendNetMessage(r, true);
                bits.push_back(6 + 1);
            } else {
                MSG_AnimateSpring d;
                char num[8];
                std::snprintf(num, sizeof num, "%06u", next++);
                d.name = std::string(num) + std::string(rng() % 40, 'x');
                client.SendNetMessage(d, true);
                bits.push_back(unsigned(6 + 8 * (d.name.value.size() + 1)));
            }
        }
        client.SendAllMessages();
        std::size_t m = 0;
        std::vector<nettest::SentDatagram> packs;
        for (auto& d : seam.Sent())
            if (IsReliable(d) && d.to == net.Ip(1)) packs.push_back(d);
        for (std::size_t p = 0; p < packs.size(); ++p) {
            unsigned end = 16 + 17;  // count, reliable flag and sequence number
            for (unsigned k = 0; k < Count(packs[p]); ++k) end += bits[m++];
            EXPECT_LE(packs[p].bytes.size(), MAX_PACK_BYTES);
            EXPECT_EQ(packs[p].bytes.size(), end / 8 + 1);
            if (p + 1 < packs.size()) {
                EXPECT_GT((end + bits[m]) / 8 + 1, MAX_PACK_BYTES) << "the next message would have fitted";
                ++residuesSeen[end % 8];
            }
        }
        EXPECT_EQ(m, bits.size());
        nettest::Pump(both, 2);
    }
    for (int r = 0; r < 8; ++r) EXPECT_GT(residuesSeen[r], 0) << "residue " << r;
    for (unsigned i = 0; i < delivered.size(); ++i) ASSERT_EQ(delivered[i], i);
    EXPECT_EQ(delivered.size(), next);
}

namespace {
// A pack as the engine writes it: count, flags, then the messages.
std::vector<unsigned char> UnreliablePack(unsigned count, const std::vector<const BaseNetMessage*>& msgs,
                                          std::size_t cutTo = 0) {
    std::vector<unsigned char> buf(MAX_PACK_BYTES, 0);
    buf[0] = static_cast<unsigned char>(count & 0xFF);
    buf[1] = static_cast<unsigned char>(count >> 8);
    BitWriter out(buf.data() + 2);
    out.Write(0, 2);
    for (const BaseNetMessage* m : msgs) m->Serialize(out);
    buf.resize(2 + out.Position() / 8 + 1);
    if (cutTo) buf.resize(cutTo);
    return buf;
}
}  // namespace

TEST_F(Pair, MalformedDatagramsCrashNothingAndDamagedPacksDeliverNothing) {
    nettest::RawPeer peer(net.Ip(2));  // the client's address: a known peer
    MSG_Sync good("ok");
    MSG_UpdatePlayer player;
    player.name = "Player_1";
    MSG_LevelData tooLong;
    tooLong.cells.value.assign(10, 1);

    std::vector<unsigned char> unknownId = UnreliablePack(2, {&good});
    {
        // After the good message: id 40, which names no type.
        BitWriter out(unknownId.data() + 2, 2 + 6 + 8 * 3);
        out.Write(40, 6);
        unknownId.resize(unknownId.size() + 2);
    }
    std::vector<unsigned char> noTerminator = UnreliablePack(1, {&good});
    noTerminator.resize(noTerminator.size() - 2);  // the 0 that ends "ok" is cut off
    std::vector<unsigned char> longList = UnreliablePack(1, {&tooLong});
    {
        BitWriter count(longList.data() + 2, 2 + 6);
        count.Write(326, 9);
    }
    std::vector<unsigned char> bigCount = UnreliablePack(0xFFFF, {&good});
    std::vector<unsigned char> cutPlayer = UnreliablePack(2, {&good, &player});
    cutPlayer.resize(cutPlayer.size() - 10);
    std::vector<unsigned char> reliableShort = {1, 0, 1, 0};  // a reliable pack cut inside its number
    std::vector<unsigned char> oversized(MAX_PACK_BYTES + 100, 0);
    oversized[0] = 1;

    struct Case {
        const char* what;
        std::vector<unsigned char> bytes;
        std::size_t delivered;
    } cases[] = {
        {"empty", {}, 0},
        {"one byte", {1}, 0},
        {"two bytes", {1, 0}, 0},
        {"oversized", oversized, 0},
        {"count beyond the data", UnreliablePack(5, {&good}), 0},
        {"unknown id after a good message", unknownId, 0},
        {"string without its end", noTerminator, 0},
        {"list longer than 325", longList, 0},
        {"count 65535", bigCount, 0},
        {"message cut short", cutPlayer, 0},
        {"reliable pack without its number", reliableShort, 0},
        {"header only", {3, 0, 0}, 0},
        {"whole pack of two", UnreliablePack(2, {&good, &player}), 2},
    };
    for (const Case& c : cases) {
        server.ExecuteMessages();
        ASSERT_EQ(server.ReceivedQueueLength(), 0u);
        peer.SendTo(net.Ip(1), net.gamePort, c.bytes);
        server.DrainReceive();
        EXPECT_EQ(server.ReceivedQueueLength(), c.delivered) << c.what;
        EXPECT_TRUE(server.IsServer()) << c.what;
    }
    server.ExecuteMessages();
    // Receiving goes on: a reliable message from the client still arrives.
    std::vector<std::string> names;
    server.SetMessageObserver([&](const BaseNetMessage& m) {
        if (auto* s = dynamic_cast<const MSG_Sync*>(&m)) names.push_back(s->syncName.value);
    });
    MSG_Sync after("after");
    client.SendNetMessage(after, true);
    nettest::Pump(both, 2);
    EXPECT_EQ(names, std::vector<std::string>{"after"});
}

TEST_F(Pair, ReliableDeliveryExactlyOnceInOrderThroughLossAcrossTheWrap) {
    const unsigned id = ClientId();
    client.SetSequenceNumbers(0, 65500, 65500);
    server.SetSequenceNumbers(id, 65500, 65500);
    std::vector<int> atServer, atClient;
    // Messages either side may send, numbered by their names.
    server.SetMessageObserver([&](const BaseNetMessage& m) {
        if (auto* s = dynamic_cast<const MSG_AnimateSpring*>(&m)) atServer.push_back(std::stoi(s->name.value));
    });
    client.SetMessageObserver([&](const BaseNetMessage& m) {
        if (auto* s = dynamic_cast<const MSG_AnimateSpring*>(&m)) atClient.push_back(std::stoi(s->name.value));
    });
    TestSeam seam(12345);
    seam.loss = 0.25;
    seam.duplicate = 0.2;
    seam.reorder = 0.2;
    const int total = 240;
    int queued = 0;
    for (int frame = 0; frame < 4000; ++frame) {
        if (queued < total) {
            for (int k = 0; k < 2; ++k, ++queued) {
                MSG_AnimateSpring up(std::to_string(queued)), down(std::to_string(queued));
                client.SendNetMessage(up, true);
                server.SendNetMessageToClient(static_cast<unsigned char>(id), down, true);
            }
        }
        nettest::Pump(both, 1, 5);
        if (int(atServer.size()) >= total && int(atClient.size()) >= total && queued >= total) break;
    }
    seam.Flush();
    nettest::Pump(both, 3, 5);
    std::vector<int> expected(total);
    for (int i = 0; i < total; ++i) expected[i] = i;
    EXPECT_EQ(atServer, expected);
    EXPECT_EQ(atClient, expected);
    // The numbers wrapped past 65535 on both sides.
    EXPECT_LT(client.GetSlotState(0).nextSequence, 1000);
    EXPECT_LT(server.GetSlotState(id).expectedSequence, 1000);
    EXPECT_EQ(server.GetSlotState(id).earlyPacks, 0u);
}

TEST_F(Pair, SequenceWindow) {
    // Packs read as 5, 7, 6 arrive in order; a copy of 6 is acknowledged and
    // dropped; a pack far ahead is neither kept nor acknowledged; one just
    // behind is a duplicate.
    const unsigned id = ClientId();
    server.SetSequenceNumbers(id, 0, 5);
    nettest::RawPeer peer(net.Ip(2));
    auto pack = [](std::uint16_t seq, const std::string& name) {
        MSG_Sync s(name);
        std::vector<unsigned char> buf(64, 0);
        buf[0] = 1;
        BitWriter out(buf.data() + 2);
        out.Write(1, 1);
        out.Write(seq, 16);
        s.Serialize(out);
        buf.resize(2 + out.Position() / 8 + 1);
        return buf;
    };
    std::vector<std::string> names;
    server.SetMessageObserver([&](const BaseNetMessage& m) {
        if (auto* s = dynamic_cast<const MSG_Sync*>(&m)) names.push_back(s->syncName.value);
    });
    TestSeam seam;
    seam.record = true;
    for (auto [seq, name] : std::vector<std::pair<std::uint16_t, std::string>>{
             {5, "five"}, {7, "seven"}, {6, "six"}, {6, "six again"}, {4, "four"}, {5000, "far"}, {65000, "behind"}}) {
        peer.SendTo(net.Ip(1), net.gamePort, pack(seq, name));
        server.DrainReceive();
    }
    server.Update(1);
    EXPECT_EQ(names, (std::vector<std::string>{"five", "six", "seven"}));
    EXPECT_EQ(server.GetSlotState(id).expectedSequence, 8);
    std::vector<unsigned> acked;
    for (auto& d : seam.Sent()) {
        if (d.to != net.Ip(2) || d.bytes.size() < 3 || (d.bytes[2] & 1)) continue;
        BitReader in(d.bytes.data() + 2, d.bytes.size() - 2);
        in.Read(2);
        for (unsigned k = 0; k < Count(d); ++k) {
            unsigned msgId = in.Peek(6);
            if (msgId == PMSG_Ack::MSG_ID) {
                PMSG_Ack a;
                a.Deserialize(in);
                acked.push_back(a.sequence.value);
            } else {
                break;
            }
        }
    }
    std::sort(acked.begin(), acked.end());
    EXPECT_EQ(acked, (std::vector<unsigned>{4, 5, 6, 6, 7, 65000}));
}

TEST_F(Pair, ResendTimingThroughUpdate) {
    TestSeam seam;
    seam.record = true;
    const std::string serverIp = net.Ip(1);
    seam.drop = [&](const nettest::SentDatagram& d) { return d.to == serverIp; };
    const unsigned rtt = client.GetRTT(0);
    const int timer = int(std::max(15u, unsigned(rtt * 1.2)));
    const float sentBefore = client.GetSlotState(0).packsSent;
    MSG_Sync s("resend");
    client.SendNetMessage(s, true);
    std::vector<int> framesSent;
    int left = 0;
    std::vector<int> expected;
    for (int frame = 1; frame <= 12; ++frame) {
        seam.ClearSent();
        client.Update(8);
        for (auto& d : seam.Sent())
            if (d.to == serverIp && IsReliable(d)) framesSent.push_back(frame);
        // What the rule says: first sent at frame 1, then whenever the timer falls below 0.
        if (frame == 1) {
            expected.push_back(1);
            left = timer;
        } else {
            left -= 8;
            if (left < 0) {
                expected.push_back(frame);
                left = timer;
            }
        }
    }
    EXPECT_EQ(framesSent, expected);
    EXPECT_EQ(client.GetSlotState(0).packsSent - sentBefore, float(expected.size()));
    // Once datagrams go through again the pack is acknowledged and stops.
    seam.drop = nullptr;
    EXPECT_TRUE(nettest::PumpUntil(
        both, [&] { return client.GetSlotState(0).savedPacks == 0; }, 20, 8));
    EXPECT_GT(client.GetDropPercent(0), 0.0f);
}

TEST_F(Pair, TheLargestMessageThatFitsAPackGoesALargerOneIsACallersError) {
    FatalCapture fatal;
    std::vector<std::size_t> lengths;
    server.SetMessageObserver([&](const BaseNetMessage& m) {
        if (auto* d = dynamic_cast<const MSG_AnimateSpring*>(&m)) lengths.push_back(d->name.value.size());
    });
    MSG_AnimateSpring largest, tooLarge;
    largest.name = std::string(1394, 'n');
    tooLarge.name = std::string(1395, 'n');
    client.SendNetMessage(largest, true);
    client.SendNetMessage(largest, false);
    EXPECT_THROW(client.SendNetMessage(tooLarge, true), FatalExit);
    EXPECT_THROW(client.SendNetMessage(tooLarge, false), FatalExit);
    nettest::Pump(both, 2);
    EXPECT_EQ(lengths, (std::vector<std::size_t>{1394, 1394}));
}

namespace {
// Sends the first reliable datagram that passes with its last bytes cut off
// (the rest of the datagrams whole).
class CutFirstReliable : public DatagramSeam {
public:
    explicit CutFirstReliable(std::string to) : to(std::move(to)) { previous = SetDatagramSeam(this); }
    ~CutFirstReliable() override { SetDatagramSeam(previous); }
    long SendTo(int handle, const sockaddr_in& addr, const char* data, unsigned int len,
                const in_addr* source) override {
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &addr.sin_addr, text, sizeof text);
        if (!done && to == text && len > 8 && (data[2] & 1)) {
            done = true;
            RawSendTo(handle, addr, data, len - 6, source);
            return len;
        }
        return RawSendTo(handle, addr, data, len, source);
    }
    bool done = false;

private:
    std::string to;
    DatagramSeam* previous;
};
}  // namespace

TEST_F(Pair, AnAcknowledgementInADamagedPackDoesNotAct) {
    const unsigned char id = ClientId();
    MSG_Sync s("held");
    server.SendNetMessageToClient(id, s, true);
    server.SendAllMessages();  // the client does not read yet: no acknowledgement
    ASSERT_EQ(server.GetSlotState(id).savedPacks, 1u);
    const std::uint16_t seq = static_cast<std::uint16_t>(server.GetSlotState(id).nextSequence - 1);

    nettest::RawPeer peer(net.Ip(2));
    PMSG_Ack ack(seq);
    MSG_UpdatePlayer player;
    player.name = "Player_1";
    std::vector<unsigned char> damaged = UnreliablePack(2, {&ack, &player});
    damaged.resize(damaged.size() - 10);
    peer.SendTo(net.Ip(1), net.gamePort, damaged);
    server.DrainReceive();
    EXPECT_EQ(server.GetSlotState(id).savedPacks, 1u) << "the acknowledgement before the fault acted";
    EXPECT_EQ(server.ReceivedQueueLength(), 0u);

    peer.SendTo(net.Ip(1), net.gamePort, UnreliablePack(1, {&ack}));
    server.DrainReceive();
    EXPECT_EQ(server.GetSlotState(id).savedPacks, 0u);
}

TEST_F(Pair, ADamagedReliablePackIsResentAndThenDeliveredWhole) {
    const unsigned char id = ClientId();
    std::vector<std::string> seen;
    server.SetMessageObserver([&](const BaseNetMessage& m) {
        if (auto* s = dynamic_cast<const MSG_Sync*>(&m)) seen.push_back(s->syncName.value);
        if (auto* d = dynamic_cast<const MSG_AnimateSpring*>(&m))
            seen.push_back("cells " + std::to_string(d->name.value.size()));
    });
    const std::uint16_t expected = server.GetSlotState(id).expectedSequence;
    CutFirstReliable cut(net.Ip(1));
    MSG_Sync head("head");
    MSG_AnimateSpring tail(std::string(40, 'c'));
    client.SendNetMessage(head, true);
    client.SendNetMessage(tail, true);
    client.SendAllMessages();
    ASSERT_TRUE(cut.done);

    // The cut copy: nothing delivered, not acknowledged, the number not taken.
    server.DrainReceive();
    EXPECT_EQ(server.ReceivedQueueLength(), 0u);
    EXPECT_EQ(server.GetSlotState(id).expectedSequence, expected);
    EXPECT_EQ(server.GetSlotState(id).unreliablePacks, 0u) << "an acknowledgement was queued";
    EXPECT_EQ(server.GetSlotState(id).earlyPacks, 0u);

    // The client's resend carries the whole pack: both messages, once, in order.
    ASSERT_TRUE(nettest::PumpUntil(
        both, [&] { return client.GetSlotState(0).savedPacks == 0; }, 50, 8));
    nettest::Pump(both, 2);
    EXPECT_EQ(seen, (std::vector<std::string>{"head", "cells 40"}));
    EXPECT_EQ(server.GetSlotState(id).expectedSequence, static_cast<std::uint16_t>(expected + 1));
}

TEST_F(Pair, ADuplicatedDatagramNeverCountsTwice) {
    const unsigned char id = ClientId();
    // Every message that the game sends unreliably sets state (a player's
    // snapshot, the round-trip time) or is a link message; everything that
    // adds or counts goes reliably, where the sequence number drops copies.
    int scoreSum = 0, scoreRuns = 0, explosions = 0;
    server.SetMessageObserver([&](const BaseNetMessage& m) {
        if (auto* s = dynamic_cast<const MSG_ChangeScore*>(&m)) {
            scoreSum += s->delta.value;
            ++scoreRuns;
        }
        if (dynamic_cast<const MSG_Explode*>(&m)) ++explosions;
    });
    client.ClearDrop();
    server.ClearDrop();
    TestSeam seam(7);
    seam.duplicate = 1.0;  // every datagram arrives twice
    seam.record = true;
    for (int frame = 0; frame < 30; ++frame) {
        MSG_ChangeScore score;  // what a dying player hands to its holder
        score.playerId = 2;
        score.delta = 10;
        client.SendNetMessage(score, true);
        if (frame % 10 == 0) {
            MSG_Explode boom;
            boom.name = "Player_1";
            client.SendNetMessage(boom, true);
        }
        MSG_UpdatePlayer snapshot;
        snapshot.name = "Player_1";
        client.SendNetMessage(snapshot, false);
        nettest::Pump(both, 1, 16);
    }
    nettest::Pump(both, 10, 16);
    EXPECT_EQ(scoreRuns, 30);
    EXPECT_EQ(scoreSum, 300);
    EXPECT_EQ(explosions, 3);
    // Acknowledgements and answers to pings arrive twice too: they count once.
    for (unsigned slot : {0u, unsigned(id)}) {
        NetEngine& e = slot == 0 ? client : server;
        NetEngine::SlotState st = e.GetSlotState(slot);
        EXPECT_LE(st.acksReceived, st.packsSent) << slot;
        EXPECT_GE(e.GetDropPercent(slot), 0.0f) << slot;
    }

    // A copy of a reliable datagram replayed long after still runs nothing.
    std::vector<unsigned char> replay;
    for (auto& d : seam.Sent())
        if (d.to == net.Ip(1) && IsReliable(d)) replay = d.bytes;
    ASSERT_FALSE(replay.empty());
    nettest::RawPeer peer(net.Ip(2));
    const int before = scoreRuns + explosions;
    peer.SendTo(net.Ip(1), net.gamePort, replay);
    nettest::Pump(both, 2);
    EXPECT_EQ(scoreRuns + explosions, before);
}

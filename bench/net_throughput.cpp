// Network figures: messages encoded and decoded per second on one core, and
// the bytes per second each peer of a 16-peer match sends and receives on
// loopback (one player update per player per frame at 60 frames a second,
// relayed by the server, plus a trickle of reliable messages).
#include <arpa/inet.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "networking/Messages.h"
#include "networking/NetEngine.h"
#include "support/FreeUdpPort.h"

using namespace Networking;
using namespace Networking::NetMessage;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

MSG_UpdatePlayer SamplePlayer(int n) {
    MSG_UpdatePlayer p;
    p.name = std::string("Player_") + char('0' + n);
    p.position = D3DXVECTOR3{1.5f * float(n), -2.0f, 0.0f};
    p.velocity = D3DXVECTOR2{0.25f, -9.5f};
    p.speedBoost = 300;
    p.airRun = 0.5f;
    p.score = 1200 + n;
    p.collisionFlag = 5;
    p.rightPressed = true;
    p.jumpTriggered = (n % 2) != 0;
    return p;
}

void EncodeDecode() {
    MSG_UpdatePlayer p = SamplePlayer(3);
    std::vector<unsigned char> buffer(MAX_PACK_BYTES + 64);
    const unsigned bits = 6 + p.Size();
    const int perPack = int((MAX_PACK_BYTES - 3) * 8 / bits);
    long long encoded = 0;
    auto start = Clock::now();
    unsigned sink = 0;
    while (Seconds(start) < 1.0) {
        for (int rep = 0; rep < 200; ++rep) {
            BitWriter out(buffer.data());
            for (int i = 0; i < perPack; ++i) p.Serialize(out);
            sink += buffer[rep % 100];
            encoded += perPack;
        }
    }
    double encodeRate = double(encoded) / Seconds(start);

    BitWriter out(buffer.data());
    for (int i = 0; i < perPack; ++i) p.Serialize(out);
    long long decoded = 0;
    start = Clock::now();
    const auto& factories = MessageFactoryTable();
    while (Seconds(start) < 1.0) {
        for (int rep = 0; rep < 200; ++rep) {
            BitReader in(buffer.data(), buffer.size());
            for (int i = 0; i < perPack; ++i) {
                BaseNetMessage* m = factories[in.Peek(6)]();
                m->Deserialize(in);
                sink += m->typeId;
                delete m;
            }
            decoded += perPack;
        }
    }
    double decodeRate = double(decoded) / Seconds(start);
    std::printf("encode: %.0f MSG_UpdatePlayer/s (%u bits each)   [target > 1,000,000]\n", encodeRate, bits);
    std::printf("decode: %.0f MSG_UpdatePlayer/s (create, read, delete)\n", decodeRate);
    if (sink == 0xFFFFFFFFu) std::printf(" \n");
}

// Tallies every datagram by sender and receiver address.
class CountingSeam : public DatagramSeam {
public:
    struct Tally {
        unsigned long long bytes = 0, datagrams = 0;
    };
    long SendTo(int handle, const sockaddr_in& to, const char* data, unsigned int len, const in_addr* source) override {
        sockaddr_in from{};
        socklen_t flen = sizeof from;
        ::getsockname(handle, reinterpret_cast<sockaddr*>(&from), &flen);
        std::lock_guard hold(lock);
        auto& s = sent[source ? source->s_addr : from.sin_addr.s_addr];
        s.bytes += len;
        ++s.datagrams;
        auto& r = received[to.sin_addr.s_addr];
        r.bytes += len;
        ++r.datagrams;
        return RawSendTo(handle, to, data, len, source);
    }
    void Reset() {
        std::lock_guard hold(lock);
        sent.clear();
        received.clear();
    }
    std::mutex lock;
    std::map<in_addr_t, Tally> sent, received;
};

void Match() {
    const int peers = 16;
    std::random_device rd;
    const std::string base = "127." + std::to_string(20 + rd() % 200) + "." + std::to_string(1 + rd() % 250) + ".";
    NetConfig config;
    config.gamePort = testsupport::FreeUdpPort();
    config.discoveryPort = testsupport::FreeUdpPort();
    config.discoveryTarget = "127.255.255.255";
    config.receiveThread = false;
    std::vector<std::unique_ptr<NetEngine>> e;
    for (int i = 0; i < peers; ++i) {
        config.ownAddress = base + std::to_string(i + 1);
        e.push_back(std::make_unique<NetEngine>(config));
    }
    std::vector<int> frameMs{17, 17, 16};
    long long frameNo = 0;
    auto frame = [&] {
        unsigned ms = unsigned(frameMs[frameNo++ % 3]);
        for (auto& p : e) {
            p->DrainReceive();
            p->Update(ms);
        }
        for (auto& p : e) p->DrainReceive();
    };
    if (!e[0]->HostServer("Bench")) {
        std::printf("match: cannot host on %s1\n", base.c_str());
        return;
    }
    for (int i = 1; i < peers; ++i) {
        e[i]->FindServers();
        for (int f = 0; f < 400 && e[i]->GetServerList().empty(); ++f) frame();
        e[i]->StopFindingServers();
        if (!e[i]->ConnectToServer("Bench")) {
            std::printf("match: peer %d cannot connect\n", i);
            return;
        }
        for (int f = 0; f < 400 && e[i]->NetID() == 255; ++f) frame();
    }
    for (int f = 0; f < 30; ++f) frame();
    if (e[0]->NumClients() != peers - 1) {
        std::printf("match: only %d clients joined\n", int(e[0]->NumClients()));
        return;
    }

    // Reliable trickle: every peer changes a score twice a second; count arrivals per peer.
    std::vector<std::map<int, int>> arrivals(peers);
    for (int i = 0; i < peers; ++i)
        e[i]->SetMessageObserver([&, i](const BaseNetMessage& m) {
            if (auto* s = dynamic_cast<const MSG_ChangeScore*>(&m)) ++arrivals[i][s->delta.value];
        });
    CountingSeam seam;
    DatagramSeam* previous = SetDatagramSeam(&seam);
    const int frames = 600;  // ten seconds at 60 frames a second
    int reliableSent = 0;
    std::vector<unsigned> maxBps(peers, 0);
    for (int f = 0; f < frames; ++f) {
        for (int i = 0; i < peers; ++i) {
            MSG_UpdatePlayer p = SamplePlayer(i);
            e[i]->SendNetMessage(p, false);
            if (f % 30 == i % 30) {
                MSG_ChangeScore s;
                s.playerId = unsigned(i);
                s.delta = reliableSent++;
                e[i]->SendNetMessage(s, true);
            }
        }
        frame();
        if (f < 60) continue;  // the meter starts full (at the budget) and settles within a second
        for (int i = 0; i < peers; ++i) maxBps[i] = std::max(maxBps[i], e[i]->GetBPS());
    }
    SetDatagramSeam(previous);
    for (int f = 0; f < 60; ++f) frame();  // let the last resends settle

    double seconds = frames / 60.0;
    std::printf("match: 16 peers on loopback, %d frames (%.0f s at 60 frames/s), %d reliable messages\n", frames,
                seconds, reliableSent);
    std::printf("  peer      sent B/s   +hdr B/s   recv B/s   +hdr B/s   max meter B/s   reliable lost\n");
    int totalLost = 0;
    for (int i = 0; i < peers; ++i) {
        in_addr_t a = inet_addr((base + std::to_string(i + 1)).c_str());
        auto s = seam.sent[a];
        auto r = seam.received[a];
        // Every reliable message should reach every peer but its sender, once.
        int lost = 0;
        for (int k = 0; k < reliableSent; ++k) {
            auto it = arrivals[i].find(k);
            int got = it == arrivals[i].end() ? 0 : it->second;
            if (got != 1) ++lost;
        }
        // The peer's own messages do not come back to it.
        int own = 0;
        for (int f = 0, n = 0; f < frames; ++f)
            for (int j = 0; j < peers; ++j)
                if (f % 30 == j % 30) {
                    if (j == i) ++own;
                    ++n;
                }
        lost -= own;
        totalLost += lost;
        std::printf("  %-8s %10.0f %10.0f %10.0f %10.0f %15u %15d\n",
                    i == 0 ? "server" : ("client" + std::to_string(i)).c_str(), double(s.bytes) / seconds,
                    double(s.bytes + 28 * s.datagrams) / seconds, double(r.bytes) / seconds,
                    double(r.bytes + 28 * r.datagrams) / seconds, maxBps[i], lost);
    }
    std::printf("  budget per peer: %u B/s; reliable messages lost in total: %d\n", e[0]->Config().sendBudget,
                totalLost);
    for (auto& p : e) p->Disconnect();
}

}  // namespace

int main() {
    EncodeDecode();
    Match();
    return 0;
}

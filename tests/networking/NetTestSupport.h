#pragma once
// Helpers for networking tests: free ports, peers on their own loopback
// addresses, and a seam that records, loses, duplicates, reorders and delays
// datagrams. Everything stays inside 127.0.0.0/8.
#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "framework/Time.h"
#include "networking/NetEngine.h"
#include "networking/messages/MSG_ServerInfo.h"
#include "support/FakeClock.h"
#include "support/FreeUdpPort.h"

namespace nettest {

using testsupport::FreeUdpPort;

// A loopback network of its own for one test: 127.<a>.<b>.<host>, with its ports.
struct LoopbackNet {
    LoopbackNet() {
        std::random_device rd;
        a = 20 + int(rd() % 200);
        b = 1 + int(rd() % 250);
        gamePort = FreeUdpPort();
        discoveryPort = FreeUdpPort();
        while (discoveryPort == gamePort) discoveryPort = FreeUdpPort();
    }
    std::string Ip(int host) const {
        return "127." + std::to_string(a) + "." + std::to_string(b) + "." + std::to_string(host);
    }
    Networking::NetConfig Config(int host, bool thread = false) const {
        Networking::NetConfig c;
        c.gamePort = gamePort;
        c.discoveryPort = discoveryPort;
        c.discoveryTarget = "127.255.255.255";
        c.ownAddress = Ip(host);
        c.receiveThread = thread;
        return c;
    }
    int a, b;
    unsigned short gamePort, discoveryPort;
};

struct SentDatagram {
    std::string to;
    unsigned short port;
    std::vector<unsigned char> bytes;
};

// Loses, duplicates, holds back (reorders) and delays datagrams; records what is offered.
class TestSeam : public Networking::DatagramSeam {
public:
    explicit TestSeam(unsigned seed = 1) : rng(seed) { previous = Networking::SetDatagramSeam(this); }
    ~TestSeam() override { Networking::SetDatagramSeam(previous); }

    double loss = 0, duplicate = 0, reorder = 0;
    std::uint32_t delayMs = 0;  // with reorder: held datagrams leave this much later (fake clock)
    bool record = false;
    std::function<bool(const SentDatagram&)> drop;  // true: lose this one

    long SendTo(int handle, const sockaddr_in& to, const char* data, unsigned int len, const in_addr* source) override {
        std::lock_guard hold(lock);
        SentDatagram d{Dotted(to), ntohs(to.sin_port),
                       std::vector<unsigned char>(reinterpret_cast<const unsigned char*>(data),
                                                  reinterpret_cast<const unsigned char*>(data) + len)};
        if (record) sent.push_back(d);
        ReleaseDue();
        if (drop && drop(d)) return len;
        if (Chance(loss)) return len;
        if (Chance(reorder)) {
            held.push_back(Held{handle, to, d.bytes, source != nullptr, source ? *source : in_addr{},
                                1 + int(rng() % 3), TimeGetTime() + delayMs});
            return len;
        }
        long r = Networking::RawSendTo(handle, to, data, len, source);
        if (Chance(duplicate)) Networking::RawSendTo(handle, to, data, len, source);
        return r;
    }
    // Sends every held datagram now.
    void Flush() {
        std::lock_guard hold(lock);
        for (Held& h : held)
            Networking::RawSendTo(h.handle, h.to, reinterpret_cast<const char*>(h.bytes.data()),
                                  unsigned(h.bytes.size()), h.hasSource ? &h.source : nullptr);
        held.clear();
    }
    std::vector<SentDatagram> Sent() {
        std::lock_guard hold(lock);
        return sent;
    }
    void ClearSent() {
        std::lock_guard hold(lock);
        sent.clear();
    }

private:
    struct Held {
        int handle;
        sockaddr_in to;
        std::vector<unsigned char> bytes;
        bool hasSource;
        in_addr source;
        int after;
        std::uint32_t at;
    };
    static std::string Dotted(const sockaddr_in& a) {
        char t[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &a.sin_addr, t, sizeof t);
        return t;
    }
    bool Chance(double p) { return p > 0 && std::uniform_real_distribution<double>(0, 1)(rng) < p; }
    void ReleaseDue() {
        std::vector<Held> keep;
        for (Held& h : held) {
            bool due = delayMs ? std::int32_t(TimeGetTime() - h.at) >= 0 : --h.after <= 0;
            if (due)
                Networking::RawSendTo(h.handle, h.to, reinterpret_cast<const char*>(h.bytes.data()),
                                      unsigned(h.bytes.size()), h.hasSource ? &h.source : nullptr);
            else
                keep.push_back(std::move(h));
        }
        held.swap(keep);
    }
    std::mutex lock;
    std::mt19937 rng;
    std::vector<Held> held;
    std::vector<SentDatagram> sent;
    Networking::DatagramSeam* previous;
};

// Runs frames of every engine without a receive thread: read what has
// arrived, then update. Each frame moves the injected clock on by its length
// (when the test has put one in), as a frame would.
inline void Pump(const std::vector<Networking::NetEngine*>& engines, int frames, unsigned int ms = 16) {
    for (int f = 0; f < frames; ++f) {
        FakeClock::now.fetch_add(ms);
        for (auto* e : engines) {
            e->DrainReceive();
            e->Update(ms);
        }
    }
    for (auto* e : engines) e->DrainReceive();
}

// Repeats frames until done() (at most maxFrames); answers whether done() held.
inline bool PumpUntil(const std::vector<Networking::NetEngine*>& engines, const std::function<bool()>& done,
                      int maxFrames = 200, unsigned int ms = 16) {
    for (int f = 0; f < maxFrames; ++f) {
        if (done()) return true;
        Pump(engines, 1, ms);
    }
    return done();
}

// Makes a server announce the level and the player count given, whatever it plays.
inline void Announce(Networking::NetEngine& server, const std::string& level, unsigned int players) {
    server.SetServerInfoWriter([level, players](unsigned char* buffer, unsigned int capacity) -> unsigned int {
        Networking::NetMessage::MSG_ServerInfo info(level, players);
        if ((Networking::BaseNetMessage::ID_BITS + info.Size() + 7) / 8 > capacity) return 0;
        Networking::BitWriter out(buffer);
        info.Serialize(out);
        return (out.Position() + 7) / 8;
    });
}

// Whether the server holds the client's slot and has announced it.
inline bool Joined(const Networking::NetEngine& server, unsigned int id) {
    const Networking::NetEngine::SlotState slot = server.GetSlotState(id);
    return slot.inUse && !slot.connecting && !slot.isNew;
}

// Discovers the server by name and completes the handshake.
inline bool Join(Networking::NetEngine& server, Networking::NetEngine& client, const std::string& name,
                 std::vector<Networking::NetEngine*> others = {}) {
    std::vector<Networking::NetEngine*> all{&server, &client};
    all.insert(all.end(), others.begin(), others.end());
    client.FindServers();
    bool found = PumpUntil(all, [&] {
        for (const auto& s : client.GetServerList())
            if (s.name == name) return true;
        return false;
    });
    if (!found) return false;
    client.StopFindingServers();
    if (!client.ConnectToServer(name)) return false;
    return PumpUntil(all, [&] { return client.NetID() != 255 && Joined(server, client.NetID()); });
}

// A pack as the engine writes it: the count, the reliable bit and either the
// sequence number or the immediate bit, the messages, and the byte in progress.
inline std::vector<unsigned char> PackOf(const std::vector<const Networking::BaseNetMessage*>& messages, bool reliable,
                                         std::uint16_t sequence = 0, bool immediate = false) {
    std::vector<unsigned char> data(Networking::MAX_PACK_BYTES, 0);
    data[0] = static_cast<unsigned char>(messages.size() & 0xFF);
    data[1] = static_cast<unsigned char>(messages.size() >> 8);
    Networking::BitWriter out(data.data() + 2);
    out.Write(reliable ? 1 : 0, 1);
    if (reliable)
        out.Write(sequence, 16);
    else
        out.Write(immediate ? 1 : 0, 1);
    for (const auto* m : messages) m->Serialize(out);
    data.resize(2 + std::size_t(out.Position() / 8) + 1);
    return data;
}

// A datagram socket of the test's own on a loopback address.
struct RawPeer {
    explicit RawPeer(const std::string& ip) {
        fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = inet_addr(ip.c_str());
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    }
    ~RawPeer() { ::close(fd); }
    // One datagram that has arrived (waiting at most waitMs of real time); empty when none.
    std::vector<unsigned char> Receive(int waitMs = 0) const {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, waitMs) <= 0) return {};
        std::vector<unsigned char> bytes(2048);
        const long n = ::recv(fd, bytes.data(), bytes.size(), 0);
        bytes.resize(n > 0 ? std::size_t(n) : 0);
        return bytes;
    }
    void SendTo(const std::string& ip, unsigned short port, const std::vector<unsigned char>& bytes) const {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = inet_addr(ip.c_str());
        ::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&a), sizeof a);
    }
    int fd;
};

}  // namespace nettest

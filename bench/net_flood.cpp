// The game thread's network update on a server while garbage floods its game
// port: mean, 99th percentile and worst time of NetEngine::Update per frame,
// quiet and under about 60,000 datagrams a second, from an address that is no
// peer and from a connected client's own address. Everything stays on
// 127.0.0.0/8; the flood is bounded in count and in time.
#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "networking/Messages.h"
#include "networking/NetEngine.h"
#include "support/FreeUdpPort.h"

using namespace Networking;
using namespace Networking::NetMessage;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kFloodRate = 60000;      // datagrams a second
constexpr long kFloodLimit = 600000;   // at most this many datagrams in all
constexpr double kFloodSeconds = 8.0;  // and at most this long
constexpr int kFrames = 1500;          // frames measured per phase

// Sends junk from `from` to the server's game port at kFloodRate until told
// to stop, the count limit or the time limit.
class Flood {
public:
    Flood(const std::string& from, const std::string& to, unsigned short port) {
        fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = inet_addr(from.c_str());
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        target.sin_family = AF_INET;
        target.sin_port = htons(port);
        target.sin_addr.s_addr = inet_addr(to.c_str());
        worker = std::thread([this] { Run(); });
    }
    ~Flood() {
        stop = true;
        worker.join();
        ::close(fd);
    }
    long Sent() const { return sent.load(); }

private:
    void Run() {
        std::mt19937 rng(99);
        unsigned char junk[64];
        const auto start = Clock::now();
        long n = 0;
        while (!stop.load() && n < kFloodLimit) {
            const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
            if (elapsed > kFloodSeconds) break;
            if (n > elapsed * kFloodRate) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
                continue;
            }
            // Junk of every shape: short, pack-like with a huge count, random.
            const std::size_t len = 1 + rng() % sizeof junk;
            for (std::size_t i = 0; i < len; ++i) junk[i] = static_cast<unsigned char>(rng());
            if (n % 3 == 0 && len > 4) junk[0] = junk[1] = 0xFF;
            ::sendto(fd, junk, len, 0, reinterpret_cast<const sockaddr*>(&target), sizeof target);
            sent = ++n;
        }
    }
    int fd;
    sockaddr_in target{};
    std::atomic<bool> stop{false};
    std::atomic<long> sent{0};
    std::thread worker;
};

struct Figures {
    double mean, p99, worst;
};

Figures Measure(NetEngine& server, NetEngine& client) {
    std::vector<double> ms;
    ms.reserve(kFrames);
    for (int f = 0; f < kFrames; ++f) {
        MSG_UpdatePlayer p;
        p.name = "Player_1";
        p.position = D3DXVECTOR3{float(f) * 0.01f, 2.0f, 0.0f};
        client.SendNetMessage(p, false);
        if (f % 30 == 0) {
            MSG_ChangeScore s;
            s.playerId = 1;
            s.delta = 1;
            client.SendNetMessage(s, true);
        }
        client.DrainReceive();
        client.Update(16);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        const auto t0 = Clock::now();
        server.Update(16);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    double sum = 0;
    for (double v : ms) sum += v;
    return Figures{sum / double(ms.size()), sorted[std::size_t(double(sorted.size() - 1) * 0.99)], sorted.back()};
}

void Print(const char* what, const Figures& f, double perSecond) {
    std::printf("  %-34s mean %7.3f ms   p99 %7.3f ms   worst %7.3f ms", what, f.mean, f.p99, f.worst);
    if (perSecond > 0) std::printf("   (%.0f datagrams/s handled)", perSecond);
    std::printf("\n");
}

}  // namespace

int main() {
    std::random_device rd;
    const std::string base = "127." + std::to_string(20 + rd() % 200) + "." + std::to_string(1 + rd() % 250) + ".";
    NetConfig config;
    config.gamePort = testsupport::FreeUdpPort();
    config.discoveryPort = testsupport::FreeUdpPort();
    config.discoveryTarget = "127.255.255.255";
    config.ownAddress = base + "1";
    config.receiveThread = true;  // the server receives on its own thread, as in the game
    NetEngine server(config);
    config.ownAddress = base + "2";
    config.receiveThread = false;
    NetEngine client(config);

    if (!server.HostServer("Flood")) {
        std::printf("flood: cannot host on %s1\n", base.c_str());
        return 1;
    }
    auto frame = [&] {
        client.DrainReceive();
        client.Update(16);
        server.Update(16);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    };
    client.FindServers();
    for (int f = 0; f < 500 && client.GetServerList().empty(); ++f) frame();
    client.StopFindingServers();
    if (!client.ConnectToServer("Flood")) {
        std::printf("flood: cannot connect\n");
        return 1;
    }
    for (int f = 0; f < 500 && (client.NetID() == 255 || server.GetSlotState(1).connecting); ++f) frame();
    if (client.NetID() == 255) {
        std::printf("flood: the client did not join\n");
        return 1;
    }
    for (int f = 0; f < 30; ++f) frame();

    std::printf("net flood: the server's Update (game thread) per frame, %d frames a phase, one client sending\n",
                kFrames);
    std::printf("  flood: %d junk datagrams/s, at most %ld datagrams and %.0f s per phase\n", kFloodRate, kFloodLimit,
                kFloodSeconds);
    Print("quiet", Measure(server, client), 0);
    for (const char* source : {"200", "2"}) {
        const bool peer = std::string(source) == "2";
        const std::uint64_t before = server.DatagramsHandled();
        const auto start = Clock::now();
        Figures f;
        long sent;
        {
            Flood flood(base + source, base + "1", config.gamePort);
            f = Measure(server, client);
            sent = flood.Sent();
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        const double handled = double(server.DatagramsHandled() - before) / seconds;
        Print(peer ? "flood from the client's own address" : "flood from a non-peer address", f, handled);
        std::printf("  %-34s %ld datagrams sent; client still connected: %s\n", "", sent,
                    client.NetID() != 255 && server.GetSlotState(1).inUse ? "yes" : "no");
        for (int k = 0; k < 30; ++k) frame();
    }
    std::printf("  target: worst under 2 ms while flooded\n");
    server.Disconnect();
    client.Disconnect();
    return 0;
}

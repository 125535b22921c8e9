// A 3-player match of real programs on a simulated LAN (tests/lan/LanHarness.h,
// root only): the time from a click on "Join Game" to playing (the joiner's
// own player in its level), and the bytes per second each machine puts on the
// wire while all three play, beside the send budget.
#include <cstdio>

#include "lan/LanHarness.h"
#include "lan/LanSteps.h"

namespace {

using namespace lan::steps;

const char* const kWalk = "press Left\nwait 60\nrelease Left\npress Right\nwait 60\nrelease Right\n";

constexpr int kSeconds = 240;
constexpr double kBudget = 112000.0;  // the engine's send budget, bytes a second

int Fail(const char* what, const lan::Machine& m) {
    std::fprintf(stderr, "bench_lan_match: %s\n%s", what, m.Tail().c_str());
    return 1;
}

// From the click on Join Game to the first trace line showing the machine's own player.
long long JoinTime(const lan::Machine& m, const std::string& own) {
    const lan::TraceLine asked = m.First("step", "click 0.6 -0.4");
    if (asked.kind.empty()) return -1;
    const lan::TraceLine playing = m.First("players", own + "=", asked.ms);
    return playing.kind.empty() ? -1 : playing.ms - asked.ms;
}

}  // namespace

int main() {
    const std::string missing = lan::Missing();
    if (!missing.empty()) {
        std::printf("lan match: skipped (%s)\n", missing.c_str());
        return 0;
    }
    lan::Lan net(GF_SOURCE_DIR, std::filesystem::path(GF_BINARY_DIR) / "src/glimmerfall",
                 std::filesystem::path(GF_BINARY_DIR) / "lan-bench", 3);
    if (!net.Up()) {
        std::fprintf(stderr, "bench_lan_match: the simulated LAN did not come up\n");
        return 1;
    }
    lan::Machine host, first, second;
    std::string why;
    if (!net.Start(host, "host", 1, {"Hostess", 230, 60, 40}, why) ||
        !net.Start(first, "first", 2, {"Guest", 40, 60, 230}, why) ||
        !net.Start(second, "second", 3, {"Third", 40, 200, 60}, why)) {
        std::fprintf(stderr, "bench_lan_match: %s\n", why.c_str());
        return 1;
    }
    host.Say(kToLobby);
    host.Say(kHostMoon);
    host.Say("level Multiplayer\n");
    if (net.WaitForLine(host, "level", "Multiplayer", kSeconds) < 0) return Fail("the host did not host", host);
    long long joins[2] = {-1, -1};
    lan::Machine* clients[2] = {&first, &second};
    for (int i = 0; i < 2; ++i) {
        lan::Machine& m = *clients[i];
        m.Say(kToLobby);
        if (net.WaitForLine(m, "games", "Server: moon", kSeconds) < 0) return Fail("the game was not listed", m);
        m.Say(kJoinFirst);
        if (!net.WaitFor([&] { return !m.First("players", "Player_" + std::to_string(i + 1) + "=").kind.empty(); },
                         kSeconds))
            return Fail("the joiner did not play", m);
        joins[i] = JoinTime(m, "Player_" + std::to_string(i + 1));
    }
    // All three walk to and fro while the wire is counted.
    const int kWindow = 10;
    for (lan::Machine* m : {&host, &first, &second})
        for (int i = 0; i < 4; ++i) m->Say(kWalk);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    long long before[3], after[3];
    lan::Machine* all[3] = {&host, &first, &second};
    for (int i = 0; i < 3; ++i) before[i] = all[i]->SentBytes();
    const long long start = lan::NowMs();
    std::this_thread::sleep_for(std::chrono::seconds(kWindow));
    const double seconds = double(lan::NowMs() - start) / 1000.0;
    for (int i = 0; i < 3; ++i) after[i] = all[i]->SentBytes();

    std::printf("lan match: join to playing, first client  %6lld ms   (target: under 2000 ms)\n", joins[0]);
    std::printf("lan match: join to playing, second client %6lld ms   (target: under 2000 ms)\n", joins[1]);
    for (int i = 0; i < 3; ++i) {
        const double rate = double(after[i] - before[i]) / seconds;
        std::printf("lan match: %-6s sends %8.0f bytes/s on the wire  (target: at most %.0f, the send budget)\n",
                    all[i]->label.c_str(), rate, kBudget);
    }
    for (lan::Machine* m : all) net.Signal(*m, SIGTERM);
    for (lan::Machine* m : all) net.WaitForEnd(*m, 120);
    return 0;
}

// Real `glimmerfall` programs on a simulated LAN (tests/lan/LanHarness.h):
// a host and its clients find each other by the program's own broadcast
// discovery on the game's own ports, join, play, lose and regain machines,
// and shrug off a stranger's datagrams. Each program is driven by its script
// file and read back from its trace and its screen; the figures measured
// (how soon every machine showed a joiner, how soon a lost host was told)
// are printed, and the bounds on the waits are generous so that a loaded
// machine does not fail them: the figures themselves are bench/'s.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <fstream>
#include <map>
#include <random>
#include <set>

#include "lan/LanHarness.h"
#include "lan/LanSteps.h"
#include "support/ScriptedProgram.h"

namespace {

using lan::Machine;
using lan::TraceLine;
using namespace lan::steps;

std::filesystem::path Source(const std::string& relative) { return std::filesystem::path(GF_SOURCE_DIR) / relative; }

// ---------------------------------------------------------------- what a player does

std::string RecordedRun(const std::string& level) {
    return scripted::RecordedRun(Source("tests/screens/levelruns/" + level + ".txt"), 100000);
}

// ---------------------------------------------------------------- reading traces

// The players a "players" line names, with their positions.
struct Seen {
    std::string level;
    std::map<std::string, std::pair<float, float>> at;
    std::map<std::string, int> score;
};

Seen Parse(const TraceLine& line) {
    Seen seen;
    std::istringstream words(line.text);
    words >> seen.level;
    for (std::string word; words >> word;) {
        const std::size_t eq = word.find('=');
        if (eq == std::string::npos) continue;
        float x = 0, y = 0;
        int s = 0;
        if (std::sscanf(word.c_str() + eq + 1, "%f,%f,%d", &x, &y, &s) == 3) {
            seen.at[word.substr(0, eq)] = {x, y};
            seen.score[word.substr(0, eq)] = s;
        }
    }
    return seen;
}

std::string PlayerName(int id) { return "Player_" + std::string(1, char('0' + id)); }

// This machine's client id, from its trace (0 for a host, -1 when none).
int OwnId(const Machine& m) {
    int id = -1;
    for (const TraceLine& l : m.Trace()) {
        if (l.kind != "net") continue;
        int n = -1;
        if (std::sscanf(l.text.c_str() + l.text.find("id=") + 3, "%d", &n) == 1 && n < 255 &&
            (l.text.rfind("client", 0) == 0 || l.text.rfind("hosting", 0) == 0 || l.text.rfind("serving", 0) == 0))
            id = n;
    }
    return id;
}

// The first time (at or after since) the machine's trace shows every one of
// the players in its match level; -1 when it never did.
long long ShowsAll(const Machine& m, const std::vector<int>& ids, long long since = 0) {
    for (const TraceLine& l : m.Trace()) {
        if (l.kind != "players" || l.ms < since) continue;
        const Seen seen = Parse(l);
        if (std::all_of(ids.begin(), ids.end(), [&](int id) { return seen.at.count(PlayerName(id)) > 0; })) return l.ms;
    }
    return -1;
}

// When the last of the machines first showed every one of the players
// (at or after since); -1 while one of them has not.
long long AllShowAll(const std::vector<Machine*>& machines, const std::vector<int>& ids, long long since = 0) {
    long long last = 0;
    for (const Machine* m : machines) {
        const long long at = ShowsAll(*m, ids, since);
        if (at < 0) return -1;
        last = std::max(last, at);
    }
    return last;
}

// How far each player moved, as this machine saw it, since `since`.
std::map<std::string, float> Moves(const Machine& m, long long since) {
    std::map<std::string, std::pair<float, float>> first;
    std::map<std::string, float> moved;
    for (const TraceLine& l : m.Trace()) {
        if (l.kind != "players" || l.ms < since) continue;
        for (const auto& [name, at] : Parse(l).at) {
            if (!first.count(name)) first[name] = at;
            moved[name] = std::max(moved[name], std::abs(at.first - first[name].first));
        }
    }
    return moved;
}

std::string Tails(const std::vector<Machine*>& machines) {
    std::string text;
    for (const Machine* m : machines) text += m->Tail() + "\n";
    return text;
}

// ---------------------------------------------------------------- the fixture

class LanMatch : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string missing = lan::Missing();
        // A LAN case that cannot run fails, naming what it needs: it never
        // passes without having run.
        if (!missing.empty()) GTEST_FAIL() << "cannot run the LAN case: " << missing;
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        net.emplace(Source(""), std::filesystem::path(GF_BINARY_DIR) / "src/glimmerfall",
                    std::filesystem::path(GF_BINARY_DIR) / "lan-runs" / name, kHosts);
        ASSERT_TRUE(net->Up()) << "the simulated LAN did not come up";
    }
    void TearDown() override {
        if (net && HasFailure())
            for (Machine* m : {&host, &first, &second, &third})
                if (m->pid > 0) std::cerr << m->Tail(60) << "\n";
        net.reset();
    }

    void Start(Machine& m, const std::string& label, int hostNumber, const lan::Player& player) {
        std::string why;
        ASSERT_TRUE(net->Start(m, label, hostNumber, player, why)) << why;
    }

    // The host hosts moon and is in its first level; the clients are in
    // their lobbies, listing it.
    void HostMoon() {
        host.Say(kToLobby);
        host.Say(kHostMoon);
        host.Say("level Multiplayer\n");
        ASSERT_GE(net->WaitForLine(host, "level", "Multiplayer", kStartSeconds), 0) << host.Tail();
    }
    // Host, first and second client in the host's first level, each showing
    // all three players; the clients' ids.
    void ThreeInTheLevel(int& id1, int& id2) {
        Start(host, "host", 1, {"Hostess", 230, 60, 40});
        Start(first, "first", 2, {"Guest", 40, 60, 230});
        Start(second, "second", 3, {"Third", 40, 200, 60});
        ASSERT_NO_FATAL_FAILURE(HostMoon());
        ASSERT_GE(Join(first), 0) << Tails({&host, &first});
        ASSERT_GE(Join(second), 0) << Tails({&host, &first, &second});
        id1 = OwnId(first);
        id2 = OwnId(second);
        ASSERT_GT(id1, 0) << first.Tail();
        ASSERT_GT(id2, 0) << second.Tail();
        ASSERT_TRUE(net->WaitFor(
            [&] {
                return AllShowAll({&host, &first, &second}, {0, id1, id2}) >= 0;
            },
            120))
            << Tails({&host, &first, &second});
    }
    // A client joins from its lobby; the time its own level was loaded.
    long long Join(Machine& m, long long since = 0) {
        m.Say(kToLobby);
        EXPECT_GE(net->WaitForLine(m, "games", "Server: moon", kStartSeconds, since), 0) << m.Tail();
        m.Say(kJoinFirst);
        return net->WaitForLine(m, "level", "Multiplayer", kStartSeconds, since);
    }

    static constexpr int kHosts = 5;           // host, three clients, a stranger
    static constexpr int kStartSeconds = 240;  // a program's way to a screen on a loaded machine
    std::optional<lan::Lan> net;
    Machine host, first, second, third;
};

// Ends each program as a desktop's session end does (SIGTERM) and checks
// that each ended well.
void EndAll(lan::Lan& net, const std::vector<Machine*>& machines) {
    for (Machine* m : machines) net.Signal(*m, SIGTERM);
    for (Machine* m : machines) EXPECT_EQ(net.WaitForEnd(*m, 180), 0) << m->Tail();
}

// Does every machine see each of the named players move by more than a step?
bool AllSeeMoves(const std::vector<Machine*>& machines, const std::vector<int>& ids, long long since) {
    for (const Machine* m : machines) {
        const std::map<std::string, float> moved = Moves(*m, since);
        for (int id : ids) {
            auto it = moved.find(PlayerName(id));
            if (it == moved.end() || it->second < 0.5f) return false;
        }
    }
    return true;
}

// The last "texts" line of the machine showing that level.
std::string TextsOf(const Machine& m, const std::string& level) {
    std::string found;
    for (const TraceLine& l : m.Trace())
        if (l.kind == "texts" && l.text.rfind(level + " ", 0) == 0) found = l.text;
    return found;
}

// Sends a stranger's datagrams from the namespace ns to the host's game port:
// `count` of them spread over `ms` milliseconds (random bytes, pack-shaped
// garbage, and both connection words, each word from a socket of its own).
// Runs in a child process of its own; its id.
pid_t Stranger(const std::string& ns, const std::string& target, int count, int ms) {
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent || !lan::EnterNamespace(ns)) ::_exit(126);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(8001);
    ::inet_pton(AF_INET, target.c_str(), &to.sin_addr);
    const int main = ::socket(AF_INET, SOCK_DGRAM, 0);
    std::mt19937 random(12345);
    unsigned char buffer[1400];
    const long long start = lan::NowMs();
    for (int i = 0; i < count; ++i) {
        // Bounded rate: datagram i leaves no sooner than its share of the time.
        const long long due = start + static_cast<long long>(i) * ms / count;
        while (lan::NowMs() < due) ::usleep(500);
        int length = 0;
        int from = main;
        const int kind = static_cast<int>(random() % 10);
        if (kind < 6) {  // random bytes of any length
            length = 1 + static_cast<int>(random() % 1400);
            for (int b = 0; b < length; ++b) buffer[b] = static_cast<unsigned char>(random());
        } else if (kind < 8) {  // a pack's shape: a count, a flag, a number, messages of random bits
            length = 3 + static_cast<int>(random() % 60);
            for (int b = 0; b < length; ++b) buffer[b] = static_cast<unsigned char>(random());
            buffer[0] = static_cast<unsigned char>(1 + random() % 4);
            buffer[1] = 0;
        } else {  // a connection word, from a socket (a port) of its own
            const std::uint16_t word = kind == 8 ? 0xF07F : 0x0FF7;
            buffer[0] = static_cast<unsigned char>(word & 0xFF);
            buffer[1] = static_cast<unsigned char>(word >> 8);
            length = 2;
            from = ::socket(AF_INET, SOCK_DGRAM, 0);
        }
        ::sendto(from, buffer, static_cast<std::size_t>(length), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        if (from != main) ::close(from);
    }
    ::_exit(0);
}

// ---------------------------------------------------------------- the cases

// A machine's display belongs to its own namespace: a program started in
// any other network namespace (as the desktop tests start theirs) that asks
// for a display of the same number must not reach it, or it draws on the
// machine's screen and loses its connection when the machine ends.
TEST_F(LanMatch, AMachinesDisplayIsNotReachedFromOutsideItsNamespace) {
    Start(host, "host", 1, {"Hostess", 230, 60, 40});
    ASSERT_GE(host.displayNumber, 0);
    // The screen a program in a namespace of its own finds at that number,
    // read by xwd: the width in its dump's header, or 0 when none answers.
    const std::filesystem::path dump = host.folder / "outside.xwd";
    const int status = lan::RunTool({"/usr/bin/unshare", "-n", "/usr/bin/xwd", "-root", "-silent", "-display",
                                     ":" + std::to_string(host.displayNumber), "-out", dump.string()},
                                    60000);
    unsigned width = 0;
    if (status == 0) {
        std::ifstream in(dump, std::ios::binary);
        unsigned char header[24] = {};
        if (in.read(reinterpret_cast<char*>(header), sizeof header))
            width =
                (unsigned{header[16]} << 24) | (unsigned{header[17]} << 16) | (unsigned{header[18]} << 8) | header[19];
    }
    EXPECT_NE(width, 320u) << "a program outside the machine's namespace reached its display :" << host.displayNumber;
    ASSERT_GE(net->WaitForLine(host, "level", "Eula", kStartSeconds), 0) << host.Tail();
    EndAll(*net, {&host});
}

TEST_F(LanMatch, ThreeMachinesJoinSeeEachOtherPlayTwoLevelsAndRankAlike) {
    Start(host, "host", 1, {"Hostess", 230, 60, 40});
    Start(first, "first", 2, {"Guest", 40, 60, 230});
    Start(second, "second", 3, {"Third", 40, 200, 60});
    ASSERT_NO_FATAL_FAILURE(HostMoon());
    // The lobby lists the game with its player count.
    first.Say(kToLobby);
    ASSERT_GE(net->WaitForLine(first, "games", "Players: 1", kStartSeconds), 0) << Tails({&host, &first});
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // past the screen's fade
    net->Shot(first, "lobby");
    first.Say(kJoinFirst);
    const long long firstLoaded = net->WaitForLine(first, "level", "Multiplayer", kStartSeconds);
    ASSERT_GE(firstLoaded, 0) << Tails({&host, &first});
    const int id1 = OwnId(first);
    ASSERT_GT(id1, 0) << first.Tail();
    ASSERT_TRUE(net->WaitFor(
        [&] {
            return ShowsAll(host, {0, id1}) >= 0 && ShowsAll(first, {0, id1}) >= 0;
        },
        120))
        << Tails({&host, &first});
    second.Say(kToLobby);
    ASSERT_GE(net->WaitForLine(second, "games", "Players: 2", kStartSeconds), 0) << Tails({&host, &second});
    second.Say(kJoinFirst);
    const long long secondLoaded = net->WaitForLine(second, "level", "Multiplayer", kStartSeconds);
    ASSERT_GE(secondLoaded, 0) << Tails({&host, &first, &second});
    const int id2 = OwnId(second);
    ASSERT_GT(id2, 0) << second.Tail();
    const std::vector<int> all = {0, id1, id2};
    ASSERT_TRUE(net->WaitFor(
        [&] {
            return AllShowAll({&host, &first, &second}, all, secondLoaded) >= 0;
        },
        120))
        << Tails({&host, &first, &second});
    const long long seen = AllShowAll({&host, &first, &second}, all, secondLoaded);
    std::printf("figure: every machine showed the third player %lld ms after its level was loaded\n",
                seen - secondLoaded);

    // Every machine sees every player move.
    // The first client runs the level to its end; the other two stroll.
    const long long strolls = lan::NowMs();
    first.Say(RecordedRun("GrassLevel01"));
    host.Say(kStroll);
    second.Say(kStroll);
    ASSERT_TRUE(net->WaitFor(
        [&] {
            return AllSeeMoves({&host, &first, &second}, all, strolls);
        },
        180))
        << Tails({&host, &first, &second});
    for (Machine* m : {&host, &first, &second}) net->Shot(*m, "level1");

    // The first client plays to the level's end: the screen between levels,
    // then the second level on every machine.
    for (Machine* m : {&host, &first, &second})
        ASSERT_GE(net->WaitForLine(*m, "level", "LoadingLevel", kStartSeconds, strolls), 0) << m->Tail();
    EXPECT_GE(net->WaitForLine(host, "texts", "Next level: GrassLevel02", 60, strolls), 0) << host.Tail();
    const long long between = net->WaitForLine(first, "texts", "Next level:", 60, strolls);
    EXPECT_GE(between, 0) << first.Tail();
    net->Shot(host, "between");
    net->Shot(first, "between");
    for (Machine* m : {&host, &first, &second})
        ASSERT_GE(net->WaitForLine(*m, "level", "Multiplayer", kStartSeconds, between), 0) << m->Tail();
    const long long level2 = lan::NowMs();
    ASSERT_TRUE(net->WaitFor(
        [&] {
            return AllShowAll({&host, &first, &second}, all, level2) >= 0;
        },
        120))
        << Tails({&host, &first, &second});
    for (Machine* m : {&host, &first, &second}) net->Shot(*m, "level2");

    // The second level to its end: the final ranking on all three, alike.
    first.Say(RecordedRun("GrassLevel02"));
    for (Machine* m : {&host, &first, &second})
        ASSERT_GE(net->WaitForLine(*m, "level", "GameResults", kStartSeconds, level2), 0) << m->Tail();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    std::string ranking;
    for (Machine* m : {&host, &first, &second}) {
        net->Shot(*m, "results");
        // The ranking lists the players who scored: the one who ran both levels.
        const std::string texts = TextsOf(*m, "GameResults");
        EXPECT_NE(texts.find("1st: Guest ("), std::string::npos) << m->label << ": " << texts;
        if (ranking.empty()) ranking = texts;
        EXPECT_EQ(texts, ranking) << m->label << " ranks alike";
    }

    // Each ends as a player ends it: the menu's Quit, the window closed, SIGTERM.
    host.Say(std::string("tap Space\n") + kQuitFromMenu);
    first.Say("tap Space\nlevel MainMenu\nwait 30\nclose\n");
    second.Say("tap Space\nlevel MainMenu\n");
    ASSERT_GE(net->WaitForLine(second, "level", "MainMenu", 120, level2), 0) << second.Tail();
    net->Signal(second, SIGTERM);
    for (Machine* m : {&host, &first, &second}) EXPECT_EQ(net->WaitForEnd(*m, 180), 0) << m->Tail();
}

TEST_F(LanMatch, AClientKilledMidLevelIsDroppedAndRejoinsMidLevel) {
    int id1 = -1, id2 = -1;
    ASSERT_NO_FATAL_FAILURE(ThreeInTheLevel(id1, id2));

    const long long killed = lan::NowMs();
    net->Signal(second, SIGKILL);
    const long long told = net->WaitForLine(host, "message", "Player dropped.", 60, killed);
    ASSERT_GE(told, 0) << host.Tail();
    std::printf("figure: the host showed \"Player dropped.\" %lld ms after the client was killed\n", told - killed);
    net->Shot(host, "dropped");
    // The others go on: still in the level, and the host sees the first client move.
    const long long goesOn = lan::NowMs();
    first.Say(kStroll);
    ASSERT_TRUE(net->WaitFor(
        [&] {
            return AllSeeMoves({&host, &first}, {id1}, goesOn);
        },
        120))
        << Tails({&host, &first});
    for (Machine* m : {&host, &first}) EXPECT_EQ(m->First("level", "LoadingLevel", killed).kind, "") << m->Tail();

    // The killed client's machine starts the program again and rejoins.
    Start(third, "second-again", 3, {"Third", 40, 200, 60});
    const long long loaded = Join(third);
    ASSERT_GE(loaded, 0) << Tails({&host, &first, &third});
    const int id3 = OwnId(third);
    ASSERT_GT(id3, 0) << third.Tail();
    const std::vector<int> all = {0, id1, id3};
    ASSERT_TRUE(net->WaitFor(
        [&] {
            return AllShowAll({&host, &first, &third}, all, loaded) >= 0;
        },
        120))
        << Tails({&host, &first, &third});
    const long long seen = AllShowAll({&host, &first, &third}, all, loaded);
    std::printf("figure: every machine showed the rejoined player %lld ms after its level was loaded\n", seen - loaded);
    for (Machine* m : {&host, &first, &third}) net->Shot(*m, "rejoined");
    EndAll(*net, {&host, &first, &third});
}

TEST_F(LanMatch, TheHostKilledMidLevelSendsBothClientsToTheMenuWithAMessage) {
    int id1 = -1, id2 = -1;
    ASSERT_NO_FATAL_FAILURE(ThreeInTheLevel(id1, id2));

    const long long killed = lan::NowMs();
    net->Signal(host, SIGKILL);
    for (Machine* m : {&first, &second}) {
        const long long told = net->WaitForLine(*m, "message", "Connection dropped.", 120, killed);
        ASSERT_GE(told, 0) << m->Tail();
        const TraceLine menu = m->First("level", "MainMenu", killed);
        const TraceLine lobby = m->First("level", "Lobby", killed);
        ASSERT_TRUE(!menu.kind.empty() || !lobby.kind.empty()) << m->Tail();
        std::printf("figure: %s showed \"Connection dropped.\" on its menu %lld ms after the host was killed\n",
                    m->label.c_str(), told - killed);
    }
    // The message as the players see it (the windows are drawn ten times a second).
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    for (Machine* m : {&first, &second}) {
        net->Shot(*m, "dropped");
    }
    first.Say(kQuitFromMenu);
    net->Signal(second, SIGTERM);
    for (Machine* m : {&first, &second}) EXPECT_EQ(net->WaitForEnd(*m, 180), 0) << m->Tail();
}

TEST_F(LanMatch, AStrangersDatagramsDriveNothingAndKeepNoPlayerOut) {
    int id1 = -1, id2 = -1;
    ASSERT_NO_FATAL_FAILURE(ThreeInTheLevel(id1, id2));
    const std::vector<int> all = {0, id1, id2};
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const Seen before = Parse(host.Last("players"));

    const long long flood = lan::NowMs();
    const pid_t stranger = Stranger(net->Net().Host(5), lan::Network::Address(1), 2000, 10000);
    ASSERT_GT(stranger, 0);
    EXPECT_EQ(lan::Reap(stranger, 60000), 0);
    std::this_thread::sleep_for(std::chrono::seconds(2));

    // Nothing the stranger sent was carried out on the host.
    std::map<std::string, int> strangers;
    for (const TraceLine& l : host.Trace()) {
        if (l.kind != "exec" || l.ms < flood) continue;
        const int from = std::atoi(l.text.c_str() + l.text.rfind(' ') + 1);
        if (from != id1 && from != id2) ++strangers[l.text];
    }
    EXPECT_TRUE(strangers.empty()) << "carried out on the host: " << ::testing::PrintToString(strangers);
    // The level and the scores are as they were, and every player stays.
    for (Machine* m : {&host, &first, &second}) {
        EXPECT_EQ(m->First("level", "LoadingLevel", flood).kind, "") << m->Tail();
        EXPECT_GE(ShowsAll(*m, all, lan::NowMs() - 1500), 0) << m->Tail();
    }
    const Seen after = Parse(host.Last("players"));
    EXPECT_EQ(after.score, before.score);

    // A new client still joins at once.
    Start(third, "third", 4, {"Fourth", 200, 200, 40});
    third.Say(kToLobby);
    ASSERT_GE(net->WaitForLine(third, "games", "Server: moon", kStartSeconds), 0) << third.Tail();
    third.Say(kJoinFirst);
    const long long asked = net->WaitForLine(third, "step", "click 0.6 -0.4", 60);
    const long long connected = net->WaitForLine(third, "net", "client id=", 120, asked);
    ASSERT_GE(connected, 0) << Tails({&host, &third});
    std::printf("figure: a new client had its id %lld ms after it asked to join, after the stranger\n",
                connected - asked);
    ASSERT_GE(net->WaitForLine(third, "level", "Multiplayer", kStartSeconds, asked), 0) << Tails({&host, &third});
    EndAll(*net, {&host, &first, &second, &third});
}

TEST_F(LanMatch, AClientThatGoesBackToTheLobbyRejoinsAtOnceAndLeavesNoGhost) {
    Start(host, "host", 1, {"Hostess", 230, 60, 40});
    Start(first, "first", 2, {"Guest", 40, 60, 230});
    Start(second, "second", 3, {"Third", 40, 200, 60});
    ASSERT_NO_FATAL_FAILURE(HostMoon());
    ASSERT_GE(Join(first), 0) << Tails({&host, &first});
    const int id1 = OwnId(first);
    ASSERT_TRUE(net->WaitFor(
        [&] {
            return ShowsAll(host, {0, id1}) >= 0 && ShowsAll(first, {0, id1}) >= 0;
        },
        120))
        << Tails({&host, &first});
    // The third machine only watches the lobby's list of games.
    second.Say(kToLobby);
    ASSERT_GE(net->WaitForLine(second, "games", "Players: 2", kStartSeconds), 0) << second.Tail();

    // The pause menu's way back to the main menu, to the lobby, and the
    // same game joined again by the same program, at once.
    const long long left = lan::NowMs();
    first.Say("tap Escape\nwait 30\nclick 0 -0.3\nwait 20\nclick 0 -0.3\n");  // Main Menu, and once more: sure
    ASSERT_GE(net->WaitForLine(first, "level", "MainMenu", 120, left), 0) << first.Tail();
    const long long loaded = Join(first, left);
    ASSERT_GE(loaded, left) << Tails({&host, &first});
    const int again = OwnId(first);
    ASSERT_GT(again, 0) << first.Tail();
    ASSERT_TRUE(net->WaitFor(
        [&] {
            return AllShowAll({&host, &first}, {0, again}, loaded) >= 0;
        },
        120))
        << Tails({&host, &first});
    const long long seen = AllShowAll({&host, &first}, {0, again}, loaded);
    std::printf("figure: both machines showed the rejoined player %lld ms after its level was loaded\n", seen - loaded);
    // No slot of the earlier run is left: the lobby counts the host and one client.
    ASSERT_TRUE(net->WaitFor([&] { return host.Last("net").text == "hosting id=0 clients=1"; }, 60)) << host.Tail();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_NE(second.Last("games").text.find("Players: 2"), std::string::npos) << second.Tail();
    EndAll(*net, {&host, &first, &second});
}

}  // namespace

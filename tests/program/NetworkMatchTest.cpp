// Two real runs of the program, each in a process of its own on its own
// loopback address, play a networked match: one hosts a custom game, the
// other finds it in its lobby and joins; both play to the results; and the
// loss of either machine in the middle of a level.
//
// The parent test starts this same test program twice with the role test
// below, each with its address, its script and a report file; each run
// writes what it saw into its report, and the parent compares the reports.
// Every wait is bounded: frames inside a run, real seconds in the parent.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <SDL2/SDL.h>
#include <fcntl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "framework/Fatal.h"
#include "framework/GameVariables.h"
#include "framework/Level.h"
#include "framework/Quit.h"
#include "framework/SaveFile.h"
#include "framework/Time.h"
#include "networking/NetEngine.h"
#include "networking/NetTestSupport.h"
#include "objects/Player.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/window/GuiWindow.h"
#include "platform/window/StateWindows.h"
#include "support/ScriptedProgram.h"
#include "support/TempFolder.h"
#include "support/ThreadSanitized.h"
#include "support/WaitFor.h"
#include "widgets/Text.h"
#include "widgets/TextMsg.h"

extern char** environ;

namespace {

using scripted::ProgramRun;

std::filesystem::path Source(const std::string& relative) { return std::filesystem::path(GF_SOURCE_DIR) / relative; }

// ---------------------------------------------------------------- one run (child)

const char* Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Appends one line to the report at once, so the parent sees it while the run goes on.
void Report(const std::string& line) {
    std::ofstream out(Env("GF_MATCH_REPORT"), std::ios::app);
    out << line << '\n';
}

// The recorded run of the first level as script steps: its first `stretches` stretches.
std::string RecordedRun(int stretches) {
    return scripted::RecordedRun(Source("tests/screens/levelruns/GrassLevel01.txt"), stretches);
}

State* Showing(const std::string& level) {
    for (State* state : State::_list)
        if (!state->Deleted() && state->GetLevel() != nullptr && state->GetLevelName() == level) return state;
    return nullptr;
}

Entity* PlayerIn(const std::string& level, const std::string& name) {
    State* state = Showing(level);
    Entity* player = state != nullptr ? state->GetLevel()->GetMyObject(name.c_str()) : nullptr;
    return ObjectData::Player::IsPlayer(player) ? player : nullptr;
}

// This machine's own player, named after its client id.
std::string Own() { return NetworkingEngine.GetPlayerName(); }

int ScoreOf(Entity* player) { return player != nullptr ? ObjectData::Player::Vars(player).score : 0; }

std::string NetErrorText(const std::string& level) {
    State* state = Showing(level);
    Entity* message = state != nullptr ? state->GetLevel()->GetMyObject("NetError") : nullptr;
    Object** text = message != nullptr ? FindVariable<Object*>(message, enum_textObj) : nullptr;
    ObjectData::Text::Variables* t = text != nullptr ? ObjectData::Text::Find(*text) : nullptr;
    return t != nullptr ? t->text : "";
}

// The ranking lines of the results screen, each with its colour, in order of height.
void ReportRanking() {
    State* state = Showing("GameResults");
    if (state == nullptr) return;
    std::vector<std::pair<float, std::string>> lines;
    for (Object* object : state->Objects()) {
        ObjectData::Text::Variables* t = ObjectData::Text::Find(object);
        if (t == nullptr || t->text.empty() || t->text[0] < '1' || t->text[0] > '9') continue;
        std::ostringstream line;
        std::string words = t->text;
        while (!words.empty() && words.back() == '\n') words.pop_back();
        line << "rank=" << words << "|" << std::hex << t->settings.primaryColor;
        lines.emplace_back(-t->settings.y, line.str());
    }
    std::sort(lines.begin(), lines.end());
    for (const auto& [y, line] : lines) Report(line);
}

// The save file as the program writes it: its version line, then five lines
// more, the player's name among them.
bool SaveFileWhole(const std::string& path, const std::string& name) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines.size() == 6 && lines[0] == "Ver3" && lines[3] == name;
}

// Ends the program the way GF_MATCH_END names: the Quit handler's own call,
// the window closed as its close button does, or a fatal error. (Signals
// come from the parent.)
void EndTheProgram() {
    const std::string way = Env("GF_MATCH_END");
    if (way == "quit") {
        SetQuitting(nullptr);
    } else if (way == "close") {
        // The close request the window system sends, for every window there is.
        for (Uint32 id = 1; id < 64; ++id) {
            SDL_Event close{};
            close.type = SDL_WINDOWEVENT;
            close.window.event = SDL_WINDOWEVENT_CLOSE;
            close.window.windowID = id;
            SDL_PushEvent(&close);
        }
    } else if (way == "fatal") {
        FatalError("A fatal error in the middle of a match.", "Network match test: ", 3);
    }
}

class NetworkMatchRole : public ProgramRun {};

TEST_F(NetworkMatchRole, Play) {
    const std::string role = Env("GF_MATCH_ROLE");
    if (role.empty()) GTEST_SKIP() << "one machine of the networked match tests, started by them";
    // Two processes share no clock but real time, and each one's network
    // time-outs measure the other's silence. The injected clock runs at its
    // own process's pace (on a loaded machine, many times faster than real
    // time while the other process is busy), so a peer would be timed out,
    // its connection refused or a hand-over missed for a stall of a few real
    // milliseconds: the runs keep the real clock. Their scripts still count
    // frames, and every wait is bounded in frames and in real time.
    SetClockFunction(nullptr);
    SetSleepFunction(nullptr);
    Networking::NetConfig config;
    config.ownAddress = Env("GF_MATCH_ADDRESS");
    config.discoveryTarget = "127.255.255.255";
    config.gamePort = static_cast<unsigned short>(std::atoi(Env("GF_MATCH_GAME_PORT")));
    config.discoveryPort = static_cast<unsigned short>(std::atoi(Env("GF_MATCH_DISCOVERY_PORT")));
    config.timeOut = std::atoi(Env("GF_MATCH_TIMEOUT"));
    ASSERT_TRUE(NetworkingEngine.SetConfig(config));

    std::string script = scripted::ReadFile(Env("GF_MATCH_SCRIPT"));
    for (const auto& [marker, stretches] : {std::pair{std::string("# the whole recorded run goes here\n"), 1000},
                                            {std::string("# the first stretches of the run go here\n"), 16}}) {
        const std::size_t at = script.find(marker);
        if (at != std::string::npos) script.replace(at, marker.size(), RecordedRun(stretches));
    }
    // On demand (GF_MATCH_KEEP in the parent), a trace of the run beside its
    // report: the engine's own debug lines, and each change of the levels
    // shown or of the link, with the frame and the real time.
    std::FILE* trace = *Env("GF_MATCH_TRACE") != '\0' ? std::fopen(Env("GF_MATCH_TRACE"), "w") : nullptr;
    if (trace != nullptr) {
        std::setvbuf(trace, nullptr, _IOLBF, 0);
        NetworkingEngine.SetDebug(true);
        NetworkingEngine.SetDebugLog(trace);
    }
    const auto started = std::chrono::steady_clock::now();
    std::string lastSeen;
    auto traceFrame = [&](int frame) {
        if (trace == nullptr) return;
        std::string seen;
        for (State* state : State::_list)
            if (!state->Deleted() && state->GetLevel() != nullptr) seen += state->GetLevelName() + " ";
        seen += NetworkingEngine.IsClient()   ? "client"
                : NetworkingEngine.IsServer() ? "server of " + std::to_string(NetworkingEngine.NumClients())
                                              : "alone";
        seen += " syncs:";
        for (const Networking::SyncEvent& e : NetworkingEngine.GetSyncEvents())
            seen += " " + e.name + "(" + std::to_string(e.arrived.size()) + "," + std::to_string(e.timeLeft) + ")";
        if (State* newest = State::_list.empty() ? nullptr : State::_list.back(); newest && newest->window)
            seen += " window " + std::to_string(newest->window->GetRenderWidth()) + "x" +
                    std::to_string(newest->window->GetRenderHeight());
        if (seen == lastSeen && frame % 100 != 0) return;
        lastSeen = seen;
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
        std::fprintf(trace, "## frame %d at %lld ms: %s\n", frame, static_cast<long long>(ms), seen.c_str());
    };
    // Two programs draw at once on software GL: their windows are drawn
    // small and seldom, so that the game's frames, not the drawing, take
    // the machine.
    CapWindowHeight(std::atoi(Env("GF_MATCH_WINDOW_HEIGHT")));
    GraphicsEngine::SetDrawRate(std::atoi(Env("GF_MATCH_DRAW_RATE")));
    const bool hosting = role == "host";
    const int status =
        Run(script,
            {{"named",
              [&] {
                  // Each machine's player, told apart by name and colour.
                  GameVars().playerName = hosting ? "Hostess" : "Guest";
                  GameVars().playerRed = hosting ? 230 : 40;
                  GameVars().playerGreen = 60;
                  GameVars().playerBlue = hosting ? 40 : 230;
              }},
             {"ready", [] { Report("ready"); }},
             {"hosting",
              [] {
                  Report("hosting=" + std::string(NetworkingEngine.IsHosting() ? "yes " : "no ") +
                         NetworkingEngine.GetOwnIP());
              }},
             {"lobby",
              [] {
                  Report("lobby=" + std::string(NetworkingEngine.IsSearching() ? "searching " : "idle ") +
                         NetworkingEngine.GetOwnIP());
              }},
             {"results", [] { ReportRanking(); }},
             {"menu", [] { Report("menu=" + NetErrorText("MainMenu")); }},
             {"savefile", [] { Report("savefile=" + SaveFilePath()); }},
             {"end", [] { EndTheProgram(); }},
             {"goesOn",
              [] { Report(std::string("goesOn=") + (PlayerIn("Multiplayer", Own()) != nullptr ? "yes" : "no")); }}},
            {{"gameListed",
              [] {
                  for (const Networking::ServerInfo& server : NetworkingEngine.GetServerList())
                      if (server.name == "moon") return true;
                  return false;
              }},

             {"ownPlayer", [] { return PlayerIn("Multiplayer", Own()) != nullptr; }},
             {"scored", [] { return ScoreOf(PlayerIn("Multiplayer", Own())) > 0; }},
             {"otherScored", [&] { return ScoreOf(PlayerIn("Multiplayer", hosting ? "Player_1" : "Player_0")) > 0; }},
             {"otherIn", [&] { return PlayerIn("Multiplayer", hosting ? "Player_1" : "Player_0") != nullptr; }},
             {"otherDropped", [] { return NetErrorText("Multiplayer") == "Player dropped."; }},
             {"never", [] { return false; }}},
            traceFrame);
    CapWindowHeight(0);
    GraphicsEngine::SetDrawRate(0);
    NetworkingEngine.SetDebugLog(nullptr);
    if (trace != nullptr) std::fclose(trace);
    if (*Env("GF_MATCH_END") != '\0')
        Report(std::string("save=") + (SaveFileWhole(SaveFilePath(), GameVars().playerName) ? "whole" : "damaged"));
    Report("failure=" + runner->Failure());
    Report("status=" + std::to_string(status));
    EXPECT_EQ(runner->Failure(), "");
    EXPECT_EQ(status, 0);
}

// ---------------------------------------------------------------- the match (parent)

struct Machine {
    pid_t pid = -1;
    std::filesystem::path errors;  // what the run wrote on its error output
    std::string ErrorText() const {
        std::ifstream in(errors);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    int status = -1;  // the exit status, -1 while running or when killed
    std::filesystem::path report;
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::ifstream in(report);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    bool Says(const std::string& line) const {
        for (const std::string& l : Lines())
            if (l == line) return true;
        return false;
    }
    std::vector<std::string> Starting(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& l : Lines())
            if (l.rfind(prefix, 0) == 0) found.push_back(l);
        return found;
    }
};

class NetworkMatch : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        net = "127." + std::to_string(20 + rd() % 200) + "." + std::to_string(1 + rd() % 250) + ".";
        gamePort = nettest::FreeUdpPort();
        do discoveryPort = nettest::FreeUdpPort();
        while (discoveryPort == gamePort);
    }
    void TearDown() override {
        for (Machine* m : {&host, &client})
            if (m->pid > 0 && m->status < 0) {
                ::kill(m->pid, SIGKILL);
                ::waitpid(m->pid, nullptr, 0);
            }
    }

    void Start(Machine& m, const std::string& role, int host, const std::string& script,
               const std::string& ending = "") {
        // GF_MATCH_KEEP names a folder where the reports stay, each run's
        // trace beside them, one folder a test (for looking into a failure).
        std::filesystem::path where = folder.Path();
        const char* keep = std::getenv("GF_MATCH_KEEP");
        if (keep != nullptr && *keep != '\0') {
            where = std::filesystem::path(keep) / ::testing::UnitTest::GetInstance()->current_test_info()->name();
            std::filesystem::create_directories(where);
            std::filesystem::remove(where / (role + ".report"));
        }
        m.report = where / (role + ".report");
        m.errors = where / (role + ".errors");
        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e)
            if (std::string(*e).rfind("GF_MATCH_", 0) != 0) env.emplace_back(*e);
        env.push_back("GF_MATCH_ROLE=" + role);
        if (!ending.empty()) env.push_back("GF_MATCH_END=" + ending);
        env.push_back("GF_MATCH_ADDRESS=" + net + std::to_string(host));
        env.push_back("GF_MATCH_GAME_PORT=" + std::to_string(gamePort));
        env.push_back("GF_MATCH_DISCOVERY_PORT=" + std::to_string(discoveryPort));
        env.push_back("GF_MATCH_TIMEOUT=" + std::to_string(kTimeOut));
        // The drawing settings of the runs, unless the parent's environment gives its own.
        for (const auto& [name, value] :
             {std::pair{"GF_MATCH_WINDOW_HEIGHT", kWindowHeight}, std::pair{"GF_MATCH_DRAW_RATE", kDrawRate}}) {
            const char* given = std::getenv(name);
            env.push_back(std::string(name) + "=" + (given != nullptr ? given : std::to_string(value)));
        }
        // One drawing thread of the software renderer each, rather than one
        // a core: two programs on a busy machine.
        if (std::getenv("LP_NUM_THREADS") == nullptr) env.push_back("LP_NUM_THREADS=1");
        env.push_back("GF_MATCH_SCRIPT=" + Source("tests/program/scripts/" + script).string());
        env.push_back("GF_MATCH_REPORT=" + m.report.string());
        if (keep != nullptr && *keep != '\0') env.push_back("GF_MATCH_TRACE=" + m.report.string() + ".trace");
        std::vector<char*> envp;
        for (std::string& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
        std::string filter = "--gtest_filter=NetworkMatchRole.Play";
        char* argv[] = {self.data(), filter.data(), nullptr};
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 2, m.errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int spawned = ::posix_spawn(&m.pid, self.c_str(), &files, nullptr, argv, envp.data());
        posix_spawn_file_actions_destroy(&files);
        ASSERT_EQ(spawned, 0);
    }

    // Waits (real time, bounded) until done() holds or every machine has ended.
    bool WaitFor(const std::function<bool()>& done, int seconds) {
        return testsupport::WaitFor(
            [&] {
                Reap();
                return done();
            },
            std::chrono::seconds(seconds), std::chrono::milliseconds(100));
    }
    void Reap() {
        for (Machine* m : {&host, &client}) {
            if (m->pid <= 0 || m->status >= 0) continue;
            int raw = 0;
            if (::waitpid(m->pid, &raw, WNOHANG) == m->pid)
                m->status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        }
    }
    static bool Ended(const Machine& m) { return m.status >= 0; }
    void Kill(Machine& m) {
        ::kill(m.pid, SIGKILL);
        ::waitpid(m.pid, nullptr, 0);
        m.status = 137;
    }

    static constexpr int kTimeOut = 8000;  // the network time-out of both runs, real ms
    static constexpr int kRunSeconds = 600;
    // Smaller and more seldom under ThreadSanitizer, where two sanitized
    // programs drawing on software GL would take the machine.
    static constexpr int kWindowHeight = sanitized::kThreads ? 72 : 144;  // pixels
    static constexpr int kDrawRate = sanitized::kThreads ? 4 : 10;        // drawings a second
    TempFolder folder;
    std::string net;
    unsigned short gamePort = 0, discoveryPort = 0;
    Machine host, client;
};

TEST_F(NetworkMatch, TwoProgramsPlayAMatchToTheResultsAndRankItAlike) {
    Start(host, "host", 1, "match_host.script");
    Start(client, "client", 2, "match_client.script");
    ASSERT_TRUE(WaitFor([&] { return Ended(host) && Ended(client); }, kRunSeconds))
        << "host: " << ::testing::PrintToString(host.Lines())
        << "\nclient: " << ::testing::PrintToString(client.Lines());
    EXPECT_EQ(host.status, 0) << ::testing::PrintToString(host.Lines());
    EXPECT_EQ(client.status, 0) << ::testing::PrintToString(client.Lines());
    EXPECT_TRUE(host.Says("failure=")) << ::testing::PrintToString(host.Lines());
    EXPECT_TRUE(client.Says("failure=")) << ::testing::PrintToString(client.Lines());
    const std::vector<std::string> ranking = host.Starting("rank=");
    ASSERT_EQ(ranking.size(), 2u) << ::testing::PrintToString(host.Lines());
    EXPECT_EQ(client.Starting("rank="), ranking) << "both machines rank both players alike";
    const std::string both = ranking[0] + ranking[1];
    EXPECT_NE(both.find("Hostess ("), std::string::npos) << both;
    EXPECT_NE(both.find("Guest ("), std::string::npos) << both;
}

TEST_F(NetworkMatch, LosingTheHostMidLevelSendsTheClientToTheMainMenu) {
    Start(host, "host", 1, "match_host_stays.script");
    Start(client, "client", 2, "match_client_loses_host.script");
    ASSERT_TRUE(WaitFor([&] { return client.Says("ready") || Ended(client); }, kRunSeconds))
        << "client: " << ::testing::PrintToString(client.Lines())
        << "\nhost: " << ::testing::PrintToString(host.Lines());
    ASSERT_FALSE(Ended(client)) << ::testing::PrintToString(client.Lines());
    Kill(host);
    ASSERT_TRUE(WaitFor([&] { return Ended(client); }, kRunSeconds)) << ::testing::PrintToString(client.Lines());
    EXPECT_TRUE(client.Says("menu=Connection dropped.")) << ::testing::PrintToString(client.Lines());
    EXPECT_TRUE(client.Says("failure=")) << ::testing::PrintToString(client.Lines());
    EXPECT_EQ(client.status, 0);
}

TEST_F(NetworkMatch, LosingTheClientMidLevelIsToldOnTheHostWhoseLevelGoesOn) {
    Start(host, "host", 1, "match_host_loses_client.script");
    Start(client, "client", 2, "match_client_stays.script");
    ASSERT_TRUE(WaitFor([&] { return host.Says("ready") || Ended(host); }, kRunSeconds))
        << "host: " << ::testing::PrintToString(host.Lines())
        << "\nclient: " << ::testing::PrintToString(client.Lines());
    ASSERT_FALSE(Ended(host)) << ::testing::PrintToString(host.Lines());
    Kill(client);
    ASSERT_TRUE(WaitFor([&] { return Ended(host); }, kRunSeconds)) << ::testing::PrintToString(host.Lines());
    EXPECT_TRUE(host.Says("goesOn=yes")) << ::testing::PrintToString(host.Lines());
    EXPECT_TRUE(host.Says("failure=")) << ::testing::PrintToString(host.Lines());
    EXPECT_EQ(host.status, 0);
}

// Ending the program in the middle of a match, with messages queued both
// ways, each way a player or the system may end it: the host goes first, the
// client (which has lost its host meanwhile) is ended by SIGTERM. Both end
// with status 0 (a fatal error with its own), no sanitizer report, and the
// save file whole.
class MatchEnding : public NetworkMatch, public ::testing::WithParamInterface<const char*> {};

TEST_P(MatchEnding, EndsCleanly) {
    const std::string way = GetParam();
    const bool bySignal = way == "sigterm" || way == "sigint";
    Start(host, "host", 1, "match_host_ends.script", bySignal ? "signal" : way);
    Start(client, "client", 2, "match_client_ends.script", "signal");
    const auto bothReady = [&] {
        return (host.Says("ready") || Ended(host)) && (client.Says("ready") || Ended(client));
    };
    ASSERT_TRUE(WaitFor(bothReady, kRunSeconds)) << "host: " << ::testing::PrintToString(host.Lines())
                                                 << "\nclient: " << ::testing::PrintToString(client.Lines());
    ASSERT_FALSE(Ended(client)) << ::testing::PrintToString(client.Lines()) << client.ErrorText();
    if (bySignal) {
        ASSERT_FALSE(Ended(host)) << ::testing::PrintToString(host.Lines());
        ::kill(host.pid, way == "sigterm" ? SIGTERM : SIGINT);
    }
    ASSERT_TRUE(WaitFor([&] { return Ended(host); }, 120)) << ::testing::PrintToString(host.Lines());
    ::kill(client.pid, SIGTERM);
    ASSERT_TRUE(WaitFor([&] { return Ended(client); }, 120)) << ::testing::PrintToString(client.Lines());

    const auto noSanitizerReport = [](const std::string& errors) {
        for (const char* mark : {"AddressSanitizer", "LeakSanitizer", "runtime error:", "ThreadSanitizer"})
            if (errors.find(mark) != std::string::npos) return false;
        return true;
    };
    EXPECT_TRUE(noSanitizerReport(host.ErrorText())) << host.ErrorText();
    EXPECT_TRUE(noSanitizerReport(client.ErrorText())) << client.ErrorText();
    EXPECT_EQ(client.status, 0) << client.ErrorText();
    EXPECT_TRUE(client.Says("save=whole")) << ::testing::PrintToString(client.Lines());
    if (way == "fatal") {
        EXPECT_EQ(host.status, 3) << host.ErrorText();
        // The run ended at once: the save file is read where the run said it was.
        const std::vector<std::string> saved = host.Starting("savefile=");
        ASSERT_EQ(saved.size(), 1u);
        EXPECT_TRUE(SaveFileWhole(saved[0].substr(9), "Hostess"));
        // Its home, which the ended run could not take away.
        for (std::filesystem::path home = saved[0].substr(9); home.has_parent_path() && home != home.parent_path();
             home = home.parent_path()) {
            std::error_code error;
            if (home.filename().string().rfind("gf-test-", 0) == 0 &&
                std::filesystem::equivalent(home.parent_path(), std::filesystem::temp_directory_path(), error)) {
                std::filesystem::remove_all(home);
                break;
            }
        }
    } else {
        EXPECT_EQ(host.status, 0) << host.ErrorText();
        EXPECT_TRUE(host.Says("save=whole")) << ::testing::PrintToString(host.Lines());
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWayOut, MatchEnding, ::testing::Values("quit", "close", "sigterm", "sigint", "fatal"));

}  // namespace

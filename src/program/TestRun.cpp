#include "program/TestRun.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#include "framework/Game.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "framework/VariableNames.h"
#include "framework/Variables.h"
#include "networking/GameLink.h"
#include "networking/NetEngine.h"
#include "objects/Player.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/input/Input.h"
#include "platform/window/StateWindows.h"
#include "program/ScriptedInput.h"
#include "screens/ServerMenu.h"
#include "widgets/Text.h"

namespace {

struct Run {
    std::optional<ScriptedInput::Runner> runner;
    std::FILE* trace = nullptr;
    std::FILE* netLog = nullptr;
    long long lastPlayers = 0;
    // What was last written of each kind, so a line is written on a change only.
    std::string levels, role, games, texts, message, syncs;
};

Run& Current() {
    static Run run;
    return run;
}

// Milliseconds of the monotonic clock, which every process of the machine
// shares: the traces of programs run side by side can be laid together.
long long Now() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void Write(const std::string& kind, const std::string& text) {
    Run& run = Current();
    if (run.trace == nullptr) return;
    std::fprintf(run.trace, "%lld %s %s\n", Now(), kind.c_str(), text.c_str());
}

// Writes the line when its text differs from what was last written of its kind.
void OnChange(std::string& last, const std::string& kind, const std::string& text) {
    if (text == last) return;
    last = text;
    Write(kind, text);
}

State* Newest() {
    for (auto it = State::_list.rbegin(); it != State::_list.rend(); ++it)
        if (!(*it)->Deleted() && (*it)->GetLevel() != nullptr) return *it;
    return nullptr;
}

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r' || c == '|') c = ' ';
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

std::string Role() {
    Networking::NetEngine& net = NetworkingEngine;
    std::string role = net.IsHosting()                       ? "hosting"
                       : net.IsServer()                      ? "serving"
                       : net.IsClient() && net.NetID() < 255 ? "client"
                       : net.IsClient()                      ? "connecting"
                       : net.IsSearching()                   ? "searching"
                                                             : "alone";
    return role + " id=" + std::to_string(int(net.NetID())) + " clients=" + std::to_string(int(net.NumClients()));
}

std::string Games(State* state) {
    if (state == nullptr || state->GetLevelName() != "Lobby") return "";
    Entity* list = state->GetLevel()->GetMyObject("ServerMenu");
    auto* v = ObjectData::ServerMenu::Find(list);
    if (v == nullptr) return "";
    std::string games;
    for (const std::string& line : v->stencilNames) games += (games.empty() ? "" : "|") + OneLine(line);
    return games;
}

std::string Texts(State* state) {
    if (state == nullptr) return "";
    std::string texts = state->GetLevelName();
    for (Object* object : state->Objects()) {
        if (object == nullptr || object->_Deleted()) continue;
        ObjectData::Text::Variables* t = ObjectData::Text::Find(object);
        if (t == nullptr || OneLine(t->text).empty()) continue;
        texts += " " + OneLine(t->text) + " |";
    }
    return texts;
}

std::string Message(State* state) {
    if (state == nullptr) return "";
    Entity* line = state->GetLevel()->GetMyObject("NetError");
    Object** text = line != nullptr ? FindVariable<Object*>(line, enum_textObj) : nullptr;
    ObjectData::Text::Variables* t = text != nullptr ? ObjectData::Text::Find(*text) : nullptr;
    return state->GetLevelName() + " " + (t != nullptr ? OneLine(t->text) : std::string());
}

std::string Players(State* state) {
    if (state == nullptr) return "";
    std::string players = state->GetLevelName();
    char at[96];
    for (unsigned int i = 0; i < 16; ++i) {
        const std::string name = Networking::PlayerObjectName(i);
        Entity* player = state->GetLevel()->GetMyObject(name.c_str());
        if (!ObjectData::Player::IsPlayer(player)) continue;
        const ObjectData::Player::Variables& p = ObjectData::Player::Vars(player);
        std::snprintf(at, sizeof at, " %s=%.2f,%.2f,%d", name.c_str(), static_cast<double>(p.position.x),
                      static_cast<double>(p.position.y), static_cast<int>(p.score));
        players += at;
    }
    return players;
}

std::string Syncs() {
    std::string syncs;
    for (const Networking::SyncEvent& e : NetworkingEngine.GetSyncEvents())
        syncs += " " + e.name + "(" + std::to_string(e.arrived.size()) + ")";
    return syncs;
}

void TraceFrame(int) {
    Run& run = Current();
    if (run.trace == nullptr) return;
    std::string levels;
    for (State* state : State::_list)
        if (!state->Deleted() && state->GetLevel() != nullptr)
            levels += (levels.empty() ? "" : " ") + state->GetLevelName();
    OnChange(run.levels, "level", levels);
    OnChange(run.role, "net", Role());
    State* newest = Newest();
    OnChange(run.games, "games", Games(newest));
    OnChange(run.texts, "texts", Texts(newest));
    OnChange(run.message, "message", Message(newest));
    OnChange(run.syncs, "syncs", Syncs());
    const long long now = Now();
    if (newest != nullptr && newest->GetLevelName() == "Multiplayer" && now - run.lastPlayers >= 250) {
        run.lastPlayers = now;
        Write("players", Players(newest));
    }
}

std::string StepText(const ScriptedInput::Step& s) {
    std::string text = std::to_string(s.line) + " " + s.command;
    if (!s.name.empty()) text += " " + s.name;
    if (s.command == "point" || s.command == "click") {
        char xy[48];
        std::snprintf(xy, sizeof xy, " %g %g", static_cast<double>(s.x), static_cast<double>(s.y));
        text += xy;
    }
    if (s.command == "wait" || s.command == "limit") text += " " + std::to_string(s.count);
    return text;
}

std::FILE* OpenLineFile(const std::string& path, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        error = "cannot write \"" + path + "\": " + std::strerror(errno);
        return nullptr;
    }
    std::setvbuf(file, nullptr, _IOLBF, 0);
    return file;
}

bool Number(const char* text, int& value) {
    char* end = nullptr;
    const long n = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || n < 1 || n > 100000) return false;
    value = static_cast<int>(n);
    return true;
}

}  // namespace

bool ReadTestRunOption(int argc, const char* const* argv, int& i, TestRunOptions& options, std::string& error) {
    const std::string option = argv[i];
    std::string* path = option == "--script"    ? &options.script
                        : option == "--trace"   ? &options.trace
                        : option == "--net-log" ? &options.netLog
                                                : nullptr;
    int* number = option == "--window-height" ? &options.windowHeight
                  : option == "--draw-rate"   ? &options.drawRate
                                              : nullptr;
    if (path == nullptr && number == nullptr) return false;
    if (i + 1 >= argc || argv[i + 1][0] == '\0') {
        error = option + " needs a value";
        return true;
    }
    const char* value = argv[++i];
    if (path != nullptr) {
        *path = value;
    } else if (!Number(value, *number)) {
        error = option + " needs a whole number from 1 to 100000, not \"" + value + "\"";
    }
    return true;
}

const char* TestRunUsage() {
    return "  --script FILE          for test runs: input from a script file that may grow\n"
           "                         while the program runs\n"
           "  --trace FILE           for test runs: a report of the run (levels, the link,\n"
           "                         lists, texts, players)\n"
           "  --net-log FILE         for test runs: the network engine's debug lines\n"
           "  --window-height N      for test runs: windows at most N pixels high\n"
           "  --draw-rate N          for test runs: windows drawn N times a second\n";
}

bool StartTestRun(const TestRunOptions& options, std::string& error) {
    Run& run = Current();
    if (!options.trace.empty() && (run.trace = OpenLineFile(options.trace, error)) == nullptr) return false;
    if (!options.netLog.empty()) {
        if ((run.netLog = OpenLineFile(options.netLog, error)) == nullptr) return false;
        NetworkingEngine.SetDebug(true);
        NetworkingEngine.SetDebugLog(run.netLog);
    }
    if (options.windowHeight > 0) CapWindowHeight(options.windowHeight);
    if (options.drawRate > 0) GraphicsEngine::SetDrawRate(options.drawRate);
    if (run.trace != nullptr) {
        NetworkingEngine.SetMessageObserver([](const Networking::BaseNetMessage& message) {
            Write("exec", std::string(Networking::MessageName(message.typeId)) + " from " +
                              std::to_string(int(message.sender)));
        });
    }
    if (!options.script.empty()) {
        run.runner.emplace(ScriptedInput::Runner::Follow{options.script});
        run.runner->EachFrame(&TraceFrame);
        run.runner->EachStep([](const ScriptedInput::Step& s) { Write("step", StepText(s)); });
        run.runner->Install();
    } else if (run.trace != nullptr) {
        Game::hooks.takeInput = [] {
            TraceFrame(0);
            inputEngine.GameUpdate();
        };
    }
    return true;
}

std::string EndTestRun() {
    Run& run = Current();
    std::string failure = run.runner ? run.runner->Failure() : std::string();
    Write("end", failure.empty() ? "ok" : failure);
    NetworkingEngine.SetMessageObserver(nullptr);
    NetworkingEngine.SetDebugLog(nullptr);
    for (std::FILE** file : {&run.trace, &run.netLog}) {
        if (*file != nullptr) std::fclose(*file);
        *file = nullptr;
    }
    return failure;
}

#include "screens/LoadingLevel.h"

#include <algorithm>
#include <cstddef>

#include "framework/Engine.h"
#include "framework/GameVariables.h"
#include "framework/LevelTemplate.h"
#include "framework/State.h"
#include "networking/LevelTransfer.h"
#include "networking/Match.h"
#include "networking/NetEngine.h"
#include "networking/NetworkingUpdate.h"
#include "networking/messages/MSG_LoadLevel.h"
#include "networking/messages/MSG_RequestLevel.h"
#include "screens/PlayLevel.h"
#include "screens/ScreenSteps.h"
#include "widgets/Text.h"
#include "widgets/WidgetSupport.h"

namespace LevelData::LoadingLevel {

namespace {

using _DATA = LevelTemplate::Data<Variables>;

// The match's network engine: the program's, or one a test gave the
// per-frame network update.
Networking::NetEngine& Net() { return EngineData::NetworkingUpdate::Target(); }

VariableOffsetTable table;

// How long each hand-over point waits for every machine, in milliseconds.
constexpr int kLoadingTimeOut = 30000;
constexpr int kStartTimeOut = 20000;
constexpr int kCreateTimeOut = 30000;

// What the screen tells the player while the machines wait for each other:
// the next level's name and who is still being waited for.
struct Status {
    std::string nameAtLoad;  // a client learns the next level's name with its rules
    std::string shown;
};
Status status;
constexpr char kStatusName[] = "LoadingStatus";

void Copy(Entity* copy, const Entity* source) {
    ConstructVariables<Variables>(copy, source);
    copy->DoEvent("PreLoad");
    Engine::_MakeCopy("NetworkingUpdate", 1.075);
    Engine::_MakeCopy("GraphicsDraw", 1.0);
    LevelTemplate::Spawn("LoadingLevelBackground");
    ScreenSteps::LabelSetup setup;
    setup.y = 0.05f;
    setup.width = 1.2f;
    setup.height = 0.6f;
    setup.setHeight = true;
    setup.charHeight = 0.06f;
    setup.hAlign = 1;
    setup.vAlign = 1;
    setup.setVAlign = true;
    setup.multiLine = true;
    setup.primaryColor = 0xFFF2ECFFu;
    setup.setColor = true;
    status = Status{};
    if (Object* text = ScreenSteps::Label(setup)) text->SetName(kStatusName);
    copy->DoEvent("Load");
}

std::string PlayerLabel(unsigned int id) {
    const std::string& name = GameVars().playerNames[id];
    if (id == Net().NetID() && !GameVars().playerName.empty()) return GameVars().playerName;
    return name.empty() ? "Player " + std::to_string(id + 1) : name;
}

// The lines of the screen as this machine knows them: the server knows who
// has reached the hand-over point it waits at; a client knows the level once
// the server has sent its rules.
std::string StatusText() {
    const bool server = Net().IsServer();
    std::string text = "Next level: ";
    if (server || CurrentLevelName != status.nameAtLoad)
        text += CurrentLevelName.empty() ? std::string("...") : CurrentLevelName;
    else
        text += "...";
    text += "\n";
    if (!server) return text + PlayerLabel(Net().NetID()) + " ready\nWaiting for the host";
    const Networking::SyncEvent* waiting = nullptr;
    for (const Networking::SyncEvent& e : Net().GetSyncEvents())
        if (e.name == "LoadingLevel" || e.name == "StartLevel") {
            waiting = &e;
            break;
        }
    for (unsigned int id : Net().GetClientList()) {
        if (id > 15) continue;
        const bool ready = waiting == nullptr ||
                           std::find(waiting->arrived.begin(), waiting->arrived.end(), id) != waiting->arrived.end();
        text += PlayerLabel(id) + (ready ? " ready\n" : " waiting\n");
    }
    return text;
}

void Update(Entity* self, Entity*) {
    Entity* line = self->GetMyObject(kStatusName);
    ObjectData::Text::Variables* t = ObjectData::Text::Find(line);
    if (t == nullptr) return;
    const std::string text = StatusText();
    if (text == status.shown) return;
    status.shown = text;
    t->text = text;
    Widgets::RaiseOwn(line, "CalcText", line);
}

void Free(Entity* self) {
    self->DoEvent("Unload");
    status = Status{};
    VariablesOf<Variables>(self).levelName.clear();
}

void SendLoadLevel(const char* level) {
    Networking::NetMessage::MSG_LoadLevel message;
    message.levelName = std::string(level);
    Net().PrivateSendNetMessage(message, true, false);
}

void Load(Entity* self, Entity*) {
    Net().SetOnKillClientCallBack(nullptr);
    Net().SetOnKillServerCallBack(&OnServerLost);
    ++CurrentLevelIndex;
    status.nameAtLoad = CurrentLevelName;
    const bool server = Net().IsServer();
    if (server) {
        if (CurrentLevelIndex >= 0 && CurrentLevelIndex < static_cast<int>(LevelOrder.size())) {
            const auto index = static_cast<std::size_t>(CurrentLevelIndex);
            const bool loaded = LoadEntry(index);
            CurrentLevelName = LevelOrder[index];
            if (!loaded) {
                // Told once on the main menu, as a dropped connection is; the
                // match ends there, so no machine is waited for.
                LevelLoadFailed = true;
                State::SetLevel(self->_state, "MainMenu");
                return;
            }
        } else {
            SendLoadLevel("GameResults");
            Net().SendAllMessages();
            State::SetLevel(self->_state, "GameResults");
            return;
        }
    }
    if (CurrentLevelIndex == 0 && Net().IsClient()) {
        Networking::NetMessage::MSG_RequestLevel request(true);
        Net().PrivateSendNetMessage(request, true, false);
    }
    // The point may have been set up when the last level ended; the first
    // level of a match sets it up here.
    if (server) Net().AddHandOverPoint("LoadingLevel", "NextLevel", kLoadingTimeOut);
    Net().SendSync("LoadingLevel");
}

// Every machine has reached "LoadingLevel" (or the point timed out).
void NextLevel(Entity*, Entity*) {
    SendLevelToClient(Net(), 0, false);
    Net().AddHandOverPoint("StartLevel", "StartLevel", kStartTimeOut);
    Net().SendSync("StartLevel");
}

// Every machine holds the level's grid (or the point timed out).
void StartLevel(Entity* self, Entity*) {
    State::SetLevel(self->_state, "Multiplayer");
    Net().AddHandOverPoint(CurrentLevelName, "CreatePlayers", kCreateTimeOut);
    SendLoadLevel("Multiplayer");
}

}  // namespace

bool LoadEntry(std::size_t index) {
    if (index >= LevelOrder.size()) return false;
    LevelCollision& grid = GameVars().basicLevel;
    const int number = index < LevelOrderNumbers.size() ? LevelOrderNumbers[index] : -1;
    if (number >= 0) return grid.SLoad(number);
    std::string file = LevelOrder[index];
    if (file.size() < 4 || file.compare(file.size() - 4, 4, ".lvl") != 0) file += ".lvl";
    return grid.Load(file);
}

void OnServerLost() {
    ConnectionDropped = true;
    State::SetLevel(State::_currentState, "MainMenu");
}

Level* _Init() {
    _DATA* prototype = LevelTemplate::Begin<Variables>("LoadingLevel", table, &Copy, &Free);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("NextLevel", &NextLevel);
    prototype->_AddEvent("StartLevel", &StartLevel);
    prototype->_AddEvent("Update", &Update);
    LevelTemplate::StartVariables(prototype, table);
    BindVariable(table, *prototype, enum_levelName, prototype->vars.levelName);
    return prototype;
}

}  // namespace LevelData::LoadingLevel

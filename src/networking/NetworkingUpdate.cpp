#include "networking/NetworkingUpdate.h"

#include "framework/Game.h"
#include "framework/GameVariables.h"
#include "framework/State.h"
#include "framework/Time.h"
#include "framework/Variables.h"
#include "networking/GameLink.h"
#include "networking/Messages.h"
#include "networking/NetEngine.h"

namespace EngineData::NetworkingUpdate {

namespace {
Networking::NetEngine* target = nullptr;

VariableOffsetTable& Table() {
    static VariableOffsetTable table;
    return table;
}

// Copies "lastTime" from the source, then raises "Load" on the copy.
void Copy(Entity* copy, const Entity* source) {
    ConstructVariables<Variables>(copy, source);
    copy->DoEvent("Load");
}
}  // namespace

Networking::NetEngine& Target() { return target ? *target : NetworkingEngine; }
void SetTarget(Networking::NetEngine* engine) { target = engine; }

_DATA::_DATA() : Engine(sizeof(_DATA)) {}

Engine* _Init() {
    auto* prototype = new _DATA();
    prototype->_SetName("NetworkingUpdate");
    ClearVariableTable(Table());
    prototype->_map = Table();
    prototype->_startVar = reinterpret_cast<char*>(&prototype->vars);
    prototype->_copy = &Copy;
    prototype->_free = &Entity::_CallUnload;
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Update", &Update);
    prototype->_AddEvent("Unload", &Event::DefaultFunction);
    prototype->_AddEvent("CreatePlayers", &CreatePlayers);
    prototype->_AddEvent("FadeToNextLevel", &FadeToNextLevel);
    prototype->_AddEvent("FadedOutTemp", &FadedOutTemp);
    return prototype;
}

void Load(Entity* self, Entity*) { VariablesOf<Variables>(self).lastTime = TimeGetTime(); }

void Update(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    const std::uint32_t now = TimeGetTime();
    const std::uint32_t frameTime = now - v.lastTime;
    v.lastTime = now;
    Networking::NetEngine& net = Target();
    // A completed sync point raises its event on every subscriber of the state.
    net.SetSyncEventRaiser([self](const std::string& eventName) { self->CallEvent(eventName); });
    net.Update(frameTime);
    net.SetSyncEventRaiser(nullptr);
}

void CreatePlayers(Entity*, Entity*) {
    Networking::NetEngine& net = Target();
    Game* game = GetMyGame();
    if (game == nullptr || game->_startVar == nullptr) return;
    const auto& g = VariablesOf<GameData::TheGame::GameVariables>(game);
    for (unsigned int id : net.GetClientList()) {
        // The constructor creates the player here as well; the message
        // creates it on every other copy.
        Networking::NetMessage::MSG_CreateNetObj create("Player", Networking::PlayerObjectName(id), id, g.startPos,
                                                        static_cast<std::uint32_t>(g.playerColors[id % 16]),
                                                        g.playerNames[id % 16], &net);
        net.PrivateSendNetMessage(create, true, false);
    }
}

void FadeToNextLevel(Entity* self, Entity*) {
    Networking::NetEngine& net = Target();
    // Every machine waits for all the others at "LoadingLevel"; the server
    // then raises "NextLevel".
    if (net.IsServer()) net.AddHandOverPoint("LoadingLevel", "NextLevel", 30000);
    self->CallEvent("StartFadingOut");
    self->SetEvent("FadedOut", &FadedOutTemp);
}

void FadedOutTemp(Entity* self, Entity*) {
    // A level the server has already sent this machine to (the results after
    // the last level, arriving during the fade) wins over the screen between levels.
    if (State* state = State::_currentState) {
        const bool sentOn = state->GetLevel() != nullptr && state->GetNextLevelName() != state->GetLevelName();
        if (!sentOn) state->nextLevelName = "LoadingLevel";
    }
    self->SetEvent("FadedOut", &Event::DefaultFunction);
}

}  // namespace EngineData::NetworkingUpdate

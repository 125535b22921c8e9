#include "screens/Multiplayer.h"

#include <algorithm>

#include "framework/GameVariables.h"
#include "framework/State.h"
#include "framework/Time.h"
#include "networking/GameLink.h"
#include "networking/Match.h"
#include "networking/NetEngine.h"
#include "networking/NetworkingUpdate.h"
#include "networking/messages/MSG_CreateNetObj.h"
#include "networking/messages/MSG_DropObj.h"
#include "networking/messages/MSG_SetClientInfo.h"
#include "objects/Player.h"
#include "screens/MenuScreen.h"
#include "screens/PlayLevel.h"

namespace LevelData::Multiplayer {

namespace {

// The match's network engine: the program's, or one a test gave the
// per-frame network update.
Networking::NetEngine& Net() { return EngineData::NetworkingUpdate::Target(); }

void KeepAlive(int) { Net().SendKeepAlive(); }

void PingEvery64Rows(int row) {
    if (row % 64 == 0) rowPing(row);
}

void Build(Entity* self, Entity*) {
    PlayLevel::Variables& v = PlayLevel::Vars(self);
    self->SetName(v.levelName.c_str());
    if (Net().IsServer()) MatchLevelCount = static_cast<int>(LevelOrder.size());
    v.startTime = TimeGetTime();
    PlayLevel::StartMusic();
    Object* player = PlayLevel::MakeLocalPlayer(self);
    PlayLevel::RegisterLocalPlayer(player);
    v.ObjectList.clear();
    PlayLevel::BuildFromGrid(self, true, &PingEvery64Rows);

    Net().SetOnNewClientCallBack(&OnClientJoined);
    Net().SetOnKillClientCallBack(&OnClientLeft);
    Net().SetOnServerConnectCallBack(&OnConnected);
    Net().SetOnKillServerCallBack(&OnServerLost);
    if (PlayLevel::InNetworkGame()) PlayLevel::RetireLocalPlayer(self);
    Net().SendSync(Net().GetPlayerName());
    Net().SendSync(CurrentLevelName);
    LevelTemplate::Spawn("WanderBotAI", "Wanderer");
    LevelTemplate::Spawn("SolverBotAI", "Solver");
}

// Everyone's player is made at the level's start: no joiner waits any more.
void CreatePlayers(Entity*, Entity*) { GameVars().pendingClients.clear(); }

bool Connected(unsigned int id) {
    const std::vector<unsigned int> clients = Net().GetClientList();
    return std::find(clients.begin(), clients.end(), id) != clients.end();
}

// The player of the next joiner still waiting: ids that left meanwhile, or
// whose player exists already, are passed over.
void NewPlayer(Entity* self, Entity*) {
    GameData::TheGame::GameVariables& game = GameVars();
    while (!game.pendingClients.empty()) {
        const int id = game.pendingClients.front();
        game.pendingClients.pop_front();
        if (id < 1 || id > 15 || !Connected(static_cast<unsigned int>(id))) continue;
        const std::string name = Networking::PlayerObjectName(static_cast<unsigned int>(id));
        if (self->GetMyObject(name.c_str()) != nullptr) continue;
        self->CallEvent("OnNewPlayer");
        const D3DXVECTOR3 at{game.checkpointPosition.x, game.checkpointPosition.y, game.startPos.z};
        Networking::NetMessage::MSG_CreateNetObj create("Player", name, static_cast<unsigned int>(id), at,
                                                        static_cast<std::uint32_t>(game.playerColors[id]),
                                                        game.playerNames[id]);
        Net().PrivateSendNetMessage(create, true, false);
        return;
    }
}

void Update(Entity* self, Entity*) {
    GameData::TheGame::GameVariables& game = GameVars();
    for (unsigned int i = 0; i < 16; ++i) {
        Entity* player = self->GetMyObject(Networking::PlayerObjectName(i).c_str());
        if (ObjectData::Player::IsPlayer(player)) game.playerScores[i] = ObjectData::Player::Vars(player).score;
    }
    PlayLevel::PauseStep(self, PlayLevel::controls.matchBack());
}

}  // namespace

void (*rowPing)(int row) = &KeepAlive;
void ResetRowPing() { rowPing = &KeepAlive; }

void OnClientJoined(char id) {
    const auto joiner = static_cast<unsigned char>(id);
    const std::string name = Networking::PlayerObjectName(joiner);
    GameData::TheGame::GameVariables& game = GameVars();
    Net().AddSyncEvent(name, "NewPlayer", 30000);
    for (unsigned int c : Net().GetClientList()) {
        if (c == joiner || c > 15) continue;
        Net().SetSync(name, c);
        Networking::NetMessage::MSG_SetClientInfo info(static_cast<std::uint32_t>(game.playerColors[c]),
                                                       game.playerNames[c], c);
        Net().PrivateSendNetMessageToClient(joiner, info, true, false);
    }
    game.pendingClients.push_back(joiner);
}

void OnClientLeft(char id) {
    const std::string name = Networking::PlayerObjectName(static_cast<unsigned char>(id));
    Networking::NetMessage::MSG_DropObj drop(name);
    Net().PrivateSendNetMessage(drop, true, false);
    // The player leaves this level on the server: a joiner given the same id
    // later must find no player of that name, or none would be made for it
    // (the clients' dropped copies are replaced when the new one is made).
    if (State* state = State::_currentState; state != nullptr && state->GetLevel() != nullptr) {
        if (Entity* left = state->GetLevel()->GetMyObject(name.c_str()); ObjectData::Player::IsPlayer(left)) {
            left->SetName("");
            left->_Delete();
        }
    }
    MenuScreen::ShowNetError(State::_currentState, "Player dropped.");
}

void OnConnected() { PlayLevel::LogServerConnected(); }

void OnServerLost() {
    ConnectionDropped = true;
    CurrentLevelIndex = -1;
    State::SetLevel(State::_currentState, "MainMenu");
}

Level* _Init() {
    PlayLevel::_DATA* prototype = PlayLevel::Register("Multiplayer", &Build, &Update);
    prototype->_AddEvent("NewPlayer", &NewPlayer);
    prototype->_AddEvent("CreatePlayers", &CreatePlayers);
    return prototype;
}

}  // namespace LevelData::Multiplayer

#include "screens/Sandbox.h"

#include "framework/GameVariables.h"
#include "framework/Level.h"
#include "framework/State.h"
#include "framework/Time.h"
#include "networking/GameLink.h"
#include "networking/Match.h"
#include "networking/NetEngine.h"
#include "networking/NetworkingUpdate.h"
#include "networking/messages/MSG_DeleteObj.h"
#include "objects/Player.h"
#include "screens/MenuScreen.h"
#include "screens/PlayLevel.h"

namespace LevelData::Sandbox {

namespace {

// The match's network engine: the program's, or one a test gave the
// per-frame network update.
Networking::NetEngine& Net() { return EngineData::NetworkingUpdate::Target(); }

void Build(Entity* self, Entity*) {
    PlayLevel::Variables& v = PlayLevel::Vars(self);
    const std::string sync = SyncName();
    MatchLevelCount = static_cast<int>(LevelOrder.size());
    if (Net().IsServer()) Net().AddSyncEvent(sync, "CreatePlayers", 10000);
    v.startTime = TimeGetTime();
    // The grid is the editor's: nothing is loaded.
    PlayLevel::StartMusic();
    Object* player = PlayLevel::MakeLocalPlayer(self);
    const bool networkGame = PlayLevel::InNetworkGame();
    // Alone, the player plays as in single play: no name label, deaths cost nothing.
    if (!networkGame && player != nullptr) ObjectData::Player::DropNetworking(player);
    PlayLevel::RegisterLocalPlayer(player);
    v.ObjectList.clear();
    PlayLevel::BuildFromGrid(self, false);

    Net().SetOnNewClientCallBack(&OnClientJoined);
    Net().SetOnKillClientCallBack(&OnClientLeft);
    Net().SetOnServerConnectCallBack(&OnConnected);
    Net().SetOnKillServerCallBack(&OnServerLost);
    if (!networkGame) return;
    PlayLevel::RetireLocalPlayer(self);
    Net().SendSync(Net().GetPlayerName());
    Net().SendSync(sync);
}

}  // namespace

std::string SyncName() { return std::string("Level_") + static_cast<char>(48 + CurrentLevelIndex); }

const char* ReturnScreen() { return Level::_IsRegistered("LevelEditor") ? "LevelEditor" : "MainMenu"; }

void OnClientJoined(char) { MenuScreen::ShowNetError(State::_currentState, "New player!"); }

void OnClientLeft(char id) {
    Networking::NetMessage::MSG_DeleteObj remove(Networking::PlayerObjectName(static_cast<unsigned char>(id)));
    Net().PrivateSendNetMessage(remove, true, false);
    MenuScreen::ShowNetError(State::_currentState, "Player dropped.");
}

void OnConnected() { PlayLevel::LogServerConnected(); }

void OnServerLost() {
    CurrentLevelIndex = -1;
    State::SetLevel(State::_currentState, "MainMenu");
}

Level* _Init() { return PlayLevel::Register("Sandbox", &Build, &PlayLevel::PauseRule); }

}  // namespace LevelData::Sandbox

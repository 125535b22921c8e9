#include "objects/LevelObjectHooks.h"

#include "networking/NetEngine.h"
#include "networking/NetworkingUpdate.h"
#include "networking/messages/MSG_Finished.h"
#include "networking/messages/MSG_NextLevel.h"
#include "networking/messages/MSG_SendCreateMsg.h"
#include "networking/messages/MSG_SetCheckPoint.h"

namespace {

// The match's network engine: the program's, or one a test gave the
// per-frame network update.
Networking::NetEngine& Net() { return EngineData::NetworkingUpdate::Target(); }

void SendSetCheckPoint(const D3DXVECTOR2& position) {
    Networking::NetMessage::MSG_SetCheckPoint message(position);
    Net().PrivateSendNetMessage(message, true, false);
}
void SendNextLevel() {
    Networking::NetMessage::MSG_NextLevel message;
    Net().PrivateSendNetMessage(message, true, false);
}
bool IsServer() { return Net().IsServer() || Net().IsHosting(); }
// The point every machine reaches on the screen between levels: added here,
// before any client can reach it, so that no early arrival is lost.
void AddNextLevelSync() { Net().AddHandOverPoint("LoadingLevel", "NextLevel", 30000); }

void SendFinished() {
    Networking::NetMessage::MSG_Finished message;
    Net().PrivateSendNetMessage(message, true, false);
}
void SendCreateToNewClient(Entity* player) {
    Networking::NetMessage::MSG_SendCreateMsg message(player, "Player");
    Net().PrivateSendNetMessageToClient(Net().GetMostRecentClient(), message, true, false);
}

constexpr LevelObjectHooks Defaults() {
    return {&SendSetCheckPoint, &SendNextLevel, &IsServer, &AddNextLevelSync, &SendFinished, &SendCreateToNewClient};
}

}  // namespace

constinit LevelObjectHooks levelObjectHooks = Defaults();
void ResetLevelObjectHooks() { levelObjectHooks = Defaults(); }

#include "objects/LevelObjectHooks.h"

#include "networking/NetEngine.h"
#include "networking/messages/MSG_Finished.h"
#include "networking/messages/MSG_NextLevel.h"
#include "networking/messages/MSG_SendCreateMsg.h"
#include "networking/messages/MSG_SetCheckPoint.h"

namespace {

void SendSetCheckPoint(const D3DXVECTOR2& position) {
    Networking::NetMessage::MSG_SetCheckPoint message(position);
    NetworkingEngine.PrivateSendNetMessage(message, true, false);
}
void SendNextLevel() {
    Networking::NetMessage::MSG_NextLevel message;
    NetworkingEngine.PrivateSendNetMessage(message, true, false);
}
bool IsServer() { return NetworkingEngine.IsServer() || NetworkingEngine.IsHosting(); }
// The point every machine reaches on the screen between levels: added here,
// before any client can reach it, so that no early arrival is lost.
void AddNextLevelSync() { NetworkingEngine.AddHandOverPoint("LoadingLevel", "NextLevel", 30000); }

void SendFinished() {
    Networking::NetMessage::MSG_Finished message;
    NetworkingEngine.PrivateSendNetMessage(message, true, false);
}
void SendCreateToNewClient(Entity* player) {
    Networking::NetMessage::MSG_SendCreateMsg message(player, "Player");
    NetworkingEngine.PrivateSendNetMessageToClient(NetworkingEngine.GetMostRecentClient(), message, true, false);
}

constexpr LevelObjectHooks Defaults() {
    return {&SendSetCheckPoint, &SendNextLevel, &IsServer, &AddNextLevelSync, &SendFinished, &SendCreateToNewClient};
}

}  // namespace

constinit LevelObjectHooks levelObjectHooks = Defaults();
void ResetLevelObjectHooks() { levelObjectHooks = Defaults(); }

#include "objects/LevelObjectHooks.h"

#include "networking/NetEngine.h"
#include "networking/messages/MSG_NextLevel.h"
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
void AddNextLevelSync() { NetworkingEngine.AddSyncEvent("NextLevel", "LoadingLevel", 30000); }

constexpr LevelObjectHooks Defaults() { return {&SendSetCheckPoint, &SendNextLevel, &IsServer, &AddNextLevelSync}; }

}  // namespace

constinit LevelObjectHooks levelObjectHooks = Defaults();
void ResetLevelObjectHooks() { levelObjectHooks = Defaults(); }

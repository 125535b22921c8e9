#include "networking/messages/MSG_SetCheckPoint.h"

#include "framework/GameVariables.h"
#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

void MSG_SetCheckPoint::CallBack(NetEngine& engine) {
    if (auto* game = GameVariablesOrNull()) game->checkpointPosition = position;
    Entity::_CallEvent("SetCheckPoint");
    Relay(engine, *this, true);
}

}  // namespace Networking::NetMessage

#include "networking/messages/MSG_RequestLevel.h"

#include "networking/LevelTransfer.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

void MSG_RequestLevel::CallBack(NetEngine& engine) {
    // Only a server has a level to give: the rules go to every client, the
    // grid to the one that asked. Not relayed.
    if (engine.IsServer()) SendLevelToClient(engine, sender, startMatch);
}

}  // namespace Networking::NetMessage

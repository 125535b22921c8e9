#include "networking/messages/MSG_GameRules.h"

#include "networking/NetEngine.h"

namespace Networking::NetMessage {

void MSG_GameRules::CallBack(NetEngine& engine) {
    // Not relayed; what the message does to the game world belongs to the gameplay layer.
    (void)engine;
}

}  // namespace Networking::NetMessage

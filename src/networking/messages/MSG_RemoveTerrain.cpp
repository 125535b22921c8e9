#include "networking/messages/MSG_RemoveTerrain.h"

#include "networking/NetEngine.h"

namespace Networking::NetMessage {

void MSG_RemoveTerrain::CallBack(NetEngine& engine) {
    // Not relayed; what the message does to the game world belongs to the gameplay layer.
    (void)engine;
}

}  // namespace Networking::NetMessage

#include "networking/messages/MSG_CreateNetObj.h"

#include "networking/NetEngine.h"

namespace Networking::NetMessage {

void MSG_CreateNetObj::CallBack(NetEngine& engine) {
    // What the message does to the game world belongs to the gameplay layer;
    // the server passes it on to every other client.
    if (engine.IsServer()) engine.ForwardMessageFrom(sender, *this, true);
}

}  // namespace Networking::NetMessage

#include "networking/messages/MSG_UpdatePlayer.h"

#include "networking/NetEngine.h"

namespace Networking::NetMessage {

void MSG_UpdatePlayer::CallBack(NetEngine& engine) {
    // What the message does to the game world belongs to the gameplay layer;
    // the server passes it on, unreliably, to every other client.
    if (engine.IsServer()) engine.ForwardMessageFrom(sender, *this, false);
}

}  // namespace Networking::NetMessage

#include "networking/messages/MSG_Sync.h"

#include "networking/NetEngine.h"

namespace Networking::NetMessage {

void MSG_Sync::CallBack(NetEngine& engine) {
    // The sender has reached the named sync point.
    engine.SetSync(syncName, sender);
}

}  // namespace Networking::NetMessage

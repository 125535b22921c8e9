#include "networking/messages/MSG_ServerInfo.h"

#include "networking/NetEngine.h"

namespace Networking::NetMessage {

void MSG_ServerInfo::CallBack(NetEngine& engine) {
    // Nothing: the lobby reads server information from the discovery list.
    (void)engine;
}

}  // namespace Networking::NetMessage

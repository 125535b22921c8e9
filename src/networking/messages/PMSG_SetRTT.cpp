#include "networking/messages/PMSG_SetRTT.h"

#include <mutex>

#include "networking/NetEngine.h"

namespace Networking::PrivateNetMessage {

// The client takes the round-trip time its server measured.
void PMSG_SetRTT::CallBack(NetEngine& engine) {
    Client& server = engine.slots[0];
    std::lock_guard hold(server.lock);
    server.rtt = rtt.value;
}

}  // namespace Networking::PrivateNetMessage

#include "networking/messages/PMSG_SetClientID.h"

#include <mutex>

#include "networking/NetEngine.h"
#include "networking/messages/PMSG_ConfirmConnect.h"

namespace Networking::PrivateNetMessage {

// The end of the handshake on the client: it takes its id and confirms.
void PMSG_SetClientID::CallBack(NetEngine& engine) {
    // Only the server gives ids, and only those of client slots.
    if (sender != 0 || clientId.value < 1 || clientId.value > 15) return;
    {
        Client& server = engine.slots[0];
        std::lock_guard hold(server.lock);
        if (!server.inUse) return;
        server.connecting = false;
    }
    engine.ownId = static_cast<unsigned char>(clientId.value);
    engine.Log("** Connection with Server Complete!\n");
    if (engine.onServerConnect) engine.onServerConnect();
    PMSG_ConfirmConnect confirm;
    engine.PrivateSendNetMessage(confirm, true, false);
}

}  // namespace Networking::PrivateNetMessage

#include "networking/messages/PMSG_SetClientID.h"

#include <mutex>

#include "networking/NetEngine.h"
#include "networking/messages/PMSG_ConfirmConnect.h"

namespace Networking::PrivateNetMessage {

// The end of the handshake on the client: it takes its id, confirms with the
// server's number, stops searching for games and only then tells the game,
// so that the confirmation leaves ahead of anything the game sends.
void PMSG_SetClientID::CallBack(NetEngine& engine) {
    // Only the server gives ids, and only those of client slots.
    if (sender != 0 || clientId.value < 1 || clientId.value > 15) return;
    {
        Client& server = engine.slots[0];
        std::lock_guard hold(server.lock);
        if (!server.inUse || !server.connecting) return;  // a second copy changes nothing
        server.connecting = false;
    }
    engine.ownId = static_cast<unsigned char>(clientId.value);
    engine.Log("** Connection with Server Complete!\n");
    PMSG_ConfirmConnect confirm(token.value);
    engine.PrivateSendNetMessage(confirm, true, false);
    engine.StopFindingServers();
    if (engine.onServerConnect) engine.onServerConnect();
}

}  // namespace Networking::PrivateNetMessage

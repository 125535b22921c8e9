#include "networking/messages/PMSG_ConfirmConnect.h"

#include "networking/NetEngine.h"

namespace Networking::PrivateNetMessage {

// The client has taken its id: its slot is no longer connecting.
void PMSG_ConfirmConnect::CallBack(NetEngine& engine) { engine.ConfirmConnect(sender); }

}  // namespace Networking::PrivateNetMessage

#include "networking/messages/PMSG_ConfirmConnect.h"

#include "networking/NetEngine.h"

namespace Networking::PrivateNetMessage {

// The server takes a slot only for an address whose confirmation carried the
// right number (see NetEngine::HandleDatagram): a confirmation reaching a
// slot already in use has nothing left to do.
void PMSG_ConfirmConnect::CallBack(NetEngine&) {}

}  // namespace Networking::PrivateNetMessage

#include "networking/messages/PMSG_Ack.h"

#include "networking/NetEngine.h"

namespace Networking::PrivateNetMessage {

// The saved pack with this number stops being resent.
void PMSG_Ack::CallBack(NetEngine& engine) { engine.AckMsg(sequence, sender); }

}  // namespace Networking::PrivateNetMessage

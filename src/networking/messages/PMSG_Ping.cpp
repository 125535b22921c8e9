#include "networking/messages/PMSG_Ping.h"

#include "networking/NetEngine.h"
#include "networking/messages/PMSG_Pong.h"

namespace Networking::PrivateNetMessage {

// Answered at once with the same number.
void PMSG_Ping::CallBack(NetEngine& engine) {
    PMSG_Pong pong(static_cast<unsigned short>(pingNumber.value));
    engine.SendNetMessageNow(pong);
}

}  // namespace Networking::PrivateNetMessage

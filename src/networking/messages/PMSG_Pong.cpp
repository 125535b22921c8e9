#include "networking/messages/PMSG_Pong.h"

#include <mutex>

#include "framework/Time.h"
#include "networking/NetEngine.h"

namespace Networking::PrivateNetMessage {

// An answer to the current ping moves the sender's round-trip time halfway
// towards the time just measured; an answer to an older ping changes nothing.
void PMSG_Pong::CallBack(NetEngine& engine) {
    if (pingNumber.value != engine.pingNumber.load() || sender > engine.config.maxClients) return;
    std::uint32_t measured = TimeGetTime() - engine.pingSentTime.load();
    Client& slot = engine.slots[sender];
    std::lock_guard hold(slot.lock);
    slot.rtt = static_cast<unsigned int>(0.5 * measured + 0.5 * slot.rtt);
}

}  // namespace Networking::PrivateNetMessage

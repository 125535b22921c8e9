#include "networking/messages/PMSG_Pong.h"

#include <mutex>

#include "framework/Time.h"
#include "networking/NetEngine.h"

namespace Networking::PrivateNetMessage {

// An answer to the current ping moves the sender's round-trip time halfway
// towards the time just measured; an answer to an older ping, or a second
// answer to the same one, changes nothing.
void PMSG_Pong::CallBack(NetEngine& engine) {
    if (pingNumber.value != engine.pingNumber.load() || sender > engine.config.maxClients) return;
    std::uint32_t measured = TimeGetTime() - engine.pingSentTime.load();
    Client& slot = engine.slots[sender];
    std::lock_guard hold(slot.lock);
    // A duplicated answer would be measured later and count twice.
    if (slot.lastPong == pingNumber.value) return;
    slot.lastPong = static_cast<std::uint16_t>(pingNumber.value);
    slot.rtt = static_cast<unsigned int>(0.5 * measured + 0.5 * slot.rtt);
}

}  // namespace Networking::PrivateNetMessage

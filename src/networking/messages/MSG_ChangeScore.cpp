#include "networking/messages/MSG_ChangeScore.h"

#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

void MSG_ChangeScore::CallBack(NetEngine& engine) {
    if (int* score = Var<int>(FindPlayer(playerId), enum_score)) {
        // Wraps like the 32-bit sum it is rather than overflowing.
        *score = static_cast<int>(static_cast<unsigned int>(*score) + static_cast<unsigned int>(delta.value));
    }
    Relay(engine, *this, true);
}

}  // namespace Networking::NetMessage

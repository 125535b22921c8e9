#include "networking/messages/MSG_LoadLevel.h"

#include "framework/State.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

void MSG_LoadLevel::CallBack(NetEngine& engine) {
    // Only the server chooses the level: a client's request is ignored.
    if (engine.IsServer()) return;
    // The state switches at its next check. Not relayed: only the server sends it.
    State::SetLevel(State::_currentState, levelName);
}

}  // namespace Networking::NetMessage

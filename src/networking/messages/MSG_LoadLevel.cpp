#include "networking/messages/MSG_LoadLevel.h"

#include "framework/State.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

void MSG_LoadLevel::CallBack(NetEngine&) {
    // The state switches at its next check. Not relayed: only the server sends it.
    State::SetLevel(State::_currentState, levelName);
}

}  // namespace Networking::NetMessage

#include "networking/messages/MSG_ChangeLevel.h"

#include "framework/State.h"
#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

void MSG_ChangeLevel::CallBack(NetEngine& engine) {
    // The state switches at its next check.
    State::SetLevel(State::_currentState, levelName);
    Relay(engine, *this, true);
}

}  // namespace Networking::NetMessage

#include "networking/messages/MSG_Finished.h"

#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

void MSG_Finished::CallBack(NetEngine& engine) {
    // Every subscriber of the current state hears that the level ended.
    Entity::_CallEvent("LevelEnd");
    Relay(engine, *this, true);
}

}  // namespace Networking::NetMessage

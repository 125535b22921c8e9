#include "networking/messages/MSG_NextLevel.h"

#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

void MSG_NextLevel::CallBack(NetEngine& engine) {
    // The level's "NetworkingUpdate" engine answers by fading out towards
    // "LoadingLevel".
    Entity::_CallEvent("FadeToNextLevel");
    Relay(engine, *this, true);
}

}  // namespace Networking::NetMessage

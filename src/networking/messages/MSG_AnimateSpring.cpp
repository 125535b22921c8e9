#include "networking/messages/MSG_AnimateSpring.h"

#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

void MSG_AnimateSpring::CallBack(NetEngine& engine) {
    if (float* spring = Var<float>(FindEntity(name), enum_spring)) *spring = 1.0f;
    Relay(engine, *this, true);
}

}  // namespace Networking::NetMessage

#include "networking/messages/MSG_CancelGrab.h"

#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

void MSG_CancelGrab::CallBack(NetEngine& engine) {
    if (int* grabbing = Var<int>(FindPlayer(grabberId), enum_grabbing)) *grabbing = -1;
    Entity* grabbed = FindPlayer(grabbedId);
    if (int* held = Var<int>(grabbed, enum_grabbed)) *held = 0;
    if (int* by = Var<int>(grabbed, enum_grabbedBy)) *by = -1;
    Relay(engine, *this, true);
}

}  // namespace Networking::NetMessage

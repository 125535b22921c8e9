#include "networking/messages/MSG_GrabPlayer.h"

#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

void MSG_GrabPlayer::CallBack(NetEngine& engine) {
    Entity* grabber = FindPlayer(grabberId);
    Entity* grabbed = FindPlayer(grabbedId);
    // A player who is held cannot grab: the grab is refused here and goes
    // no further.
    const int* grabberHeld = Var<int>(grabber, enum_grabbed);
    if (grabberHeld != nullptr && *grabberHeld > 0) return;
    if (int* grabbing = Var<int>(grabber, enum_grabbing)) *grabbing = static_cast<int>(grabbedId.value);
    if (grabbed != nullptr) {
        int* held = Var<int>(grabbed, enum_grabbed);
        const int* size = Var<int>(grabbed, enum_grabSize);
        if (held != nullptr && size != nullptr) *held = *size;
        if (int* by = Var<int>(grabbed, enum_grabbedBy)) *by = static_cast<int>(grabberId.value);
    }
    Relay(engine, *this, true);
}

}  // namespace Networking::NetMessage

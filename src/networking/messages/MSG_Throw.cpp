#include "networking/messages/MSG_Throw.h"

#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

void MSG_Throw::CallBack(NetEngine& engine) {
    if (Entity* thrown = FindPlayer(playerId)) {
        if (int* by = Var<int>(thrown, enum_grabbedBy)) *by = -1;
        if (int* held = Var<int>(thrown, enum_grabbed)) *held = 0;
        const float direction = throwRight ? 1.0f : -1.0f;
        auto* velocity = Var<D3DXVECTOR2>(thrown, enum_velocity);
        const float* speed = Var<float>(thrown, enum_throwSpeed);
        if (velocity != nullptr && speed != nullptr) velocity->x = direction * *speed;
        if (float* airRun = Var<float>(thrown, enum_airRun)) *airRun = direction;
    }
    Relay(engine, *this, true);
}

}  // namespace Networking::NetMessage

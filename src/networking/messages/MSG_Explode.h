#pragma once
#include "networking/NetMessage.h"

class Entity;

namespace Networking::NetMessage {

// A player blew up: its place and the offset of its splat.
class MSG_Explode : public GeneralNetMessage<MSG_Explode> {
public:
    MSG_Explode() = default;
    // From the entity's name, splatOffset and the x and y of its position.
    explicit MSG_Explode(Entity* entity);
    MSG_Explode(const MSG_Explode&) = default;
    MSG_Explode& operator=(const MSG_Explode&) = default;

    void CallBack(NetEngine& engine) override;

    NetString name;
    NetType<D3DXVECTOR2> splatOffset;
    NetType<D3DXVECTOR2> position;
};

}  // namespace Networking::NetMessage

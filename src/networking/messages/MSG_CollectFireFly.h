#pragma once
#include "networking/NetMessage.h"

class Entity;

namespace Networking::NetMessage {

// A firefly was collected: it follows its collector in the collector's colour.
class MSG_CollectFireFly : public GeneralNetMessage<MSG_CollectFireFly> {
public:
    MSG_CollectFireFly() = default;
    // From the entity's name, color and the x and y of its position.
    explicit MSG_CollectFireFly(Entity* entity);
    MSG_CollectFireFly(const MSG_CollectFireFly&) = default;
    MSG_CollectFireFly& operator=(const MSG_CollectFireFly&) = default;

    void CallBack(NetEngine& engine) override;

    NetString name;
    NetType<int> color;
    NetType<D3DXVECTOR2> position;
};

}  // namespace Networking::NetMessage

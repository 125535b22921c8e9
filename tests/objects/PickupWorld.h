#pragma once
// Test helper for the pick-ups, springs, grass and the title moon: the object
// world with a record of the game messages they queue, and a player placed
// without running its own engines.
#include <string>
#include <vector>

#include "ObjectWorld.h"
#include "networking/NetMessage.h"
#include "networking/messages/MSG_AnimateSpring.h"
#include "networking/messages/MSG_CollectFireFly.h"
#include "networking/messages/MSG_CollectMoonRock.h"
#include "networking/messages/MSG_CollectShard.h"
#include "objects/PickupSupport.h"

namespace objtest {

struct SentMessage {
    std::string kind;  // the message class's short name
    std::string name;  // the object name it carries
    bool toNewClient = false;
};

inline std::vector<SentMessage>& SentMessages() {
    static std::vector<SentMessage> sent;
    return sent;
}

inline SentMessage Describe(Networking::BaseNetMessage& message, bool toNewClient) {
    using namespace Networking::NetMessage;
    if (auto* m = dynamic_cast<MSG_CollectMoonRock*>(&message)) return {"CollectMoonRock", m->name, toNewClient};
    if (auto* m = dynamic_cast<MSG_CollectShard*>(&message)) return {"CollectShard", m->name, toNewClient};
    if (auto* m = dynamic_cast<MSG_CollectFireFly*>(&message)) return {"CollectFireFly", m->name, toNewClient};
    if (auto* m = dynamic_cast<MSG_AnimateSpring*>(&message)) return {"AnimateSpring", m->name, toNewClient};
    return {"other", "", toNewClient};
}

inline int CountSent(const std::string& kind) {
    int n = 0;
    for (const SentMessage& m : SentMessages()) n += m.kind == kind ? 1 : 0;
    return n;
}

class PickupWorld : public ObjectWorld {
protected:
    void SetUp() override {
        ObjectWorld::SetUp();
        SentMessages().clear();
        pickupNetwork.sendAll = [](Networking::BaseNetMessage& m) { SentMessages().push_back(Describe(m, false)); };
        pickupNetwork.sendToNewClient = [](Networking::BaseNetMessage& m) {
            SentMessages().push_back(Describe(m, true));
        };
    }
    void TearDown() override {
        ResetPickupNetwork();
        ObjectWorld::TearDown();
    }

    // An object of a type at (x, y).
    Object* Place(const std::string& type, const char* name, float x, float y) {
        Object* object = Make(type, name);
        if (auto* at = FindVariable<D3DXVECTOR3>(object, enum_position)) *at = {x, y, 0.0f};
        return object;
    }
};

}  // namespace objtest

#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

// An entity goes away (a player whose client left a sandbox game).
class MSG_DeleteObj : public GeneralNetMessage<MSG_DeleteObj> {
public:
    MSG_DeleteObj() = default;
    // Marks the named entity for deletion on the sending copy too.
    explicit MSG_DeleteObj(const std::string& entityName);
    MSG_DeleteObj(const MSG_DeleteObj&) = default;
    MSG_DeleteObj& operator=(const MSG_DeleteObj&) = default;

    void CallBack(NetEngine& engine) override;

    NetString name;
};

}  // namespace Networking::NetMessage

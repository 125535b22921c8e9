#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_Sync : public GeneralNetMessage<MSG_Sync> {
public:
    MSG_Sync() = default;
    explicit MSG_Sync(const std::string& name) { syncName = name; }
    MSG_Sync(const MSG_Sync&) = default;
    MSG_Sync& operator=(const MSG_Sync&) = default;

    void CallBack(NetEngine& engine) override;

    NetString syncName;
};

}  // namespace Networking::NetMessage

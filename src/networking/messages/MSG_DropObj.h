#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

// A player whose client left a match dies and falls out of the level.
class MSG_DropObj : public GeneralNetMessage<MSG_DropObj> {
public:
    MSG_DropObj() = default;
    // Drops the named entity on the sending copy too.
    explicit MSG_DropObj(const std::string& entityName);
    MSG_DropObj(const MSG_DropObj&) = default;
    MSG_DropObj& operator=(const MSG_DropObj&) = default;

    void CallBack(NetEngine& engine) override;

    // Raises "OnDeath" on the entity, then moves it (and its previous place)
    // far below the level with no death delay left.
    static void Drop(const std::string& entityName);

    NetString name;
};

}  // namespace Networking::NetMessage

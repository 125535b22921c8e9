#pragma once
// Who may say what: for every message type, which kind of peer may send it,
// and the check a received one passes before it is run or relayed.
#include <string>

#include "networking/NetMessage.h"

namespace Networking {

enum class MaySend {
    // Only the server (a client refuses nothing from it but the messages of MaySend::Client).
    Server,
    // Only a client, about itself (its sync points, its level request, its
    // confirmation); a client refuses them from its server.
    Client,
    // The server, or a client about its own player (the fields say whose).
    ServerOrOwnPlayer,
    // Any peer: shared events of the level (pick-ups, terrain, springs,
    // checkpoints, the goal) and the link messages of every peer.
    Either,
};

// The rule of a message type; MaySend::Server for an id that names no type.
MaySend SenderRule(unsigned int typeId);
const char* MaySendName(MaySend rule);

// Whether a message that came from `sender` may run: 0 is the server (the
// receiver is a client), 1 to 15 a client (the receiver is the server). A
// refused message is dropped unread by its handler and never relayed.
bool MayRun(const BaseNetMessage& message, unsigned int sender);

// The link messages that count while a peer's handshake is not complete.
bool PartOfHandshake(unsigned int typeId);

}  // namespace Networking

#include "networking/Permissions.h"

#include "networking/GameLink.h"
#include "networking/Messages.h"

namespace Networking {

namespace {
using namespace NetMessage;
using namespace PrivateNetMessage;

template <class T>
const T& As(const BaseNetMessage& m) {
    return static_cast<const T&>(m);
}

bool IsOtherPlayersName(const std::string& name, unsigned int sender) {
    for (unsigned int c = 0; c < 16; ++c)
        if (c != sender && name == PlayerObjectName(c)) return true;
    return false;
}

// The most a kill moves from the victim to its holder: the rules carry the
// points of a kill in 7 bits.
constexpr int kMostKillPoints = 127;

// A client's message about players: true when it speaks only of its own.
bool AboutOwnPlayer(const BaseNetMessage& m, unsigned int sender) {
    switch (m.typeId) {
        case MSG_Explode::MSG_ID: return As<MSG_Explode>(m).name.value == PlayerObjectName(sender);
        case MSG_UpdatePlayer::MSG_ID:
            // Its own player, or an object of its own that is nobody's player.
            return !IsOtherPlayersName(As<MSG_UpdatePlayer>(m).name.value, sender);
        case MSG_GrabPlayer::MSG_ID: return As<MSG_GrabPlayer>(m).grabberId.value == sender;
        case MSG_CancelGrab::MSG_ID: {
            const auto& c = As<MSG_CancelGrab>(m);
            return c.grabberId.value == sender || c.grabbedId.value == sender;
        }
        case MSG_Throw::MSG_ID:
            // The thrower names the player it held, never itself.
            return As<MSG_Throw>(m).playerId.value != sender;
        case MSG_SetClientInfo::MSG_ID: return As<MSG_SetClientInfo>(m).clientId.value == sender;
        case MSG_ChangeScore::MSG_ID: {
            // A dying player hands what it lost to the player holding it.
            const auto& c = As<MSG_ChangeScore>(m);
            return c.playerId.value != sender && c.delta.value >= 0 && c.delta.value <= kMostKillPoints;
        }
        default: return false;
    }
}
}  // namespace

MaySend SenderRule(unsigned int typeId) {
    switch (typeId) {
        case MSG_Finished::MSG_ID:
        case MSG_BreakTerrain::MSG_ID:
        case MSG_CollectFireFly::MSG_ID:
        case MSG_CollectMoonRock::MSG_ID:
        case MSG_NextLevel::MSG_ID:
        case MSG_SetCheckPoint::MSG_ID:
        case MSG_AnimateSpring::MSG_ID:
        case PMSG_Ack::MSG_ID:
        case PMSG_Pong::MSG_ID: return MaySend::Either;
        case MSG_Explode::MSG_ID:
        case MSG_GrabPlayer::MSG_ID:
        case MSG_CancelGrab::MSG_ID:
        case MSG_UpdatePlayer::MSG_ID:
        case MSG_Throw::MSG_ID:
        case MSG_SetClientInfo::MSG_ID:
        case MSG_ChangeScore::MSG_ID: return MaySend::ServerOrOwnPlayer;
        case MSG_Sync::MSG_ID:
        case MSG_RequestLevel::MSG_ID:
        case PMSG_ConfirmConnect::MSG_ID: return MaySend::Client;
        default:
            // The server's own word: discovery, the level and its flow, the
            // objects it makes, deletes and describes, its pings and the
            // handshake's ids and times.
            return MaySend::Server;
    }
}

const char* MaySendName(MaySend rule) {
    switch (rule) {
        case MaySend::Server: return "server only";
        case MaySend::Client: return "client only";
        case MaySend::ServerOrOwnPlayer: return "server, or a client about its own player";
        case MaySend::Either: return "either";
    }
    return "?";
}

bool MayRun(const BaseNetMessage& message, unsigned int sender) {
    const bool fromServer = sender == 0;
    switch (SenderRule(message.typeId)) {
        case MaySend::Either: return true;
        case MaySend::Server: return fromServer;
        case MaySend::Client: return !fromServer;
        case MaySend::ServerOrOwnPlayer: return fromServer || AboutOwnPlayer(message, sender);
    }
    return false;
}

bool PartOfHandshake(unsigned int typeId) {
    return typeId == PMSG_SetClientID::MSG_ID || typeId == PMSG_ConfirmConnect::MSG_ID || typeId == PMSG_Ack::MSG_ID;
}

}  // namespace Networking

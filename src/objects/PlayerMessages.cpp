// Turns the players' outgoing messages into the network's game messages and
// queues them: a client sends to its server, a server to every client; with
// no connection nothing leaves.
#include <algorithm>

#include "networking/NetEngine.h"
#include "networking/NetworkingUpdate.h"
#include "networking/messages/MSG_BreakTerrain.h"
#include "networking/messages/MSG_CancelGrab.h"
#include "networking/messages/MSG_ChangeScore.h"
#include "networking/messages/MSG_Explode.h"
#include "networking/messages/MSG_GrabPlayer.h"
#include "networking/messages/MSG_Throw.h"
#include "networking/messages/MSG_UpdatePlayer.h"
#include "objects/GameplayHooks.h"
#include "objects/Player.h"

namespace {

using namespace Networking::NetMessage;

// The match's network engine: the program's, or one a test gave the
// per-frame network update.
Networking::NetEngine& Net() { return EngineData::NetworkingUpdate::Target(); }

void Queue(Networking::BaseNetMessage& message, bool reliable) {
    Net().PrivateSendNetMessage(message, reliable, false);
}

void Snapshot(MSG_UpdatePlayer& m, Entity* player) {
    const ObjectData::Player::Variables& v = ObjectData::Player::Vars(player);
    m.Stamp();
    m.name = player->GetName();
    m.position = v.position;
    m.velocity = v.velocity;
    m.speedBoost = static_cast<std::uint32_t>(std::clamp(v.spdBoost, 0.0f, 511.0f));
    m.airRun = v.airRun;
    m.score = v.score;
    m.collisionFlag = static_cast<std::uint32_t>(v.collisionflag & 15);
    m.rolling = v.rolling;
    m.upPressed = v.upPressed;
    m.downPressed = v.downPressed;
    m.rightPressed = v.rightPressed;
    m.leftPressed = v.leftPressed;
    m.grabPressed = v.grabPressed;
    m.grabTriggered = v.grabTriggered;
    m.jumpPressed = v.jumpPressed;
    m.jumpTriggered = v.jumpTriggered;
}

}  // namespace

void SendToNetwork(const PlayerMessage& message) {
    const auto number = [](int n) { return static_cast<std::uint32_t>(n) & 15u; };
    switch (message.kind) {
        case PlayerMessage::UpdatePlayer: {
            if (!ObjectData::Player::IsPlayer(message.player)) return;
            MSG_UpdatePlayer m;
            Snapshot(m, message.player);
            Queue(m, message.reliable);
            return;
        }
        case PlayerMessage::Explode: {
            if (!ObjectData::Player::IsPlayer(message.player)) return;
            const ObjectData::Player::Variables& v = ObjectData::Player::Vars(message.player);
            MSG_Explode m;
            m.name = message.player->GetName();
            m.splatOffset = D3DXVECTOR2{v.splatOffset.x, v.splatOffset.y};
            m.position = D3DXVECTOR2{v.position.x, v.position.y};
            Queue(m, message.reliable);
            return;
        }
        case PlayerMessage::BreakTerrain: {
            MSG_BreakTerrain m;
            m.cell = message.point;
            Queue(m, message.reliable);
            return;
        }
        case PlayerMessage::GrabPlayer: {
            MSG_GrabPlayer m;
            m.grabberId = number(message.first);
            m.grabbedId = number(message.second);
            Queue(m, message.reliable);
            return;
        }
        case PlayerMessage::CancelGrab: {
            MSG_CancelGrab m;
            m.grabberId = number(message.first);
            m.grabbedId = number(message.second);
            Queue(m, message.reliable);
            return;
        }
        case PlayerMessage::Throw: {
            MSG_Throw m;
            m.playerId = number(message.first);
            m.throwRight = message.right;
            Queue(m, message.reliable);
            return;
        }
        case PlayerMessage::ChangeScore: {
            MSG_ChangeScore m;
            m.playerId = number(message.first);
            m.delta = message.second;
            Queue(m, message.reliable);
            return;
        }
    }
}

// Before any connection gave this peer an id it plays as number 0, as the
// network engine's own player name has it.
int NetworkClientId() {
    const unsigned char id = Net().NetID();
    return id < 16 ? id : 0;
}

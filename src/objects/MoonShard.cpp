#include "objects/MoonShard.h"

#include <cmath>
#include <cstdlib>

#include "framework/GameVariables.h"
#include "networking/messages/MSG_CollectMoonRock.h"
#include "networking/messages/MSG_CollectShard.h"
#include "objects/GameplayHooks.h"
#include "objects/PickupSupport.h"
#include "objects/Player.h"

namespace ObjectData::MoonShard {

namespace {

VariableOffsetTable table;
const CollisionEngine collide;

constexpr float kTwoPi = 6.28318f;

std::uint32_t Tint(float moonPhase) {
    const int c = 207 + static_cast<int>(48.0f * std::cos(moonPhase));
    const auto rg = static_cast<std::uint32_t>(c - 15) & 255u;
    return 0xFF000000u | rg << 16 | rg << 8 | 240u;
}

std::uint32_t WithAlpha(std::uint32_t colour, float alpha) {
    return (colour & 0x00FFFFFFu) | (static_cast<std::uint32_t>(static_cast<int>(alpha)) & 255u) << 24;
}

}  // namespace

void Load(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    v.pulse = Pickups::RandomFraction() * 3.14159f;
    v.pulserate = Pickups::RandomFraction() * 0.05f + 0.05f;
    v.rotaterate = Pickups::RandomFraction() * 0.7f + 0.1f;
    v.counter = std::rand() % 60;
    v.collision.AddRectangle(-0.33f, 0.33f, 0.33f, -0.33f);
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);

    v.moonRadiation *= 1.09f;
    v.moonRadiationRotation += 0.017f;
    v.moonRadiationFade = v.moonRadiationFade * 0.93f - 0.1f * v.velocity.y;
    if (v.moonRadiationFade < 0.01f) {
        v.moonRadiation = 0.99f;
        v.moonRadiationFade = 1.0f;
        v.moonRadiationRotation = v.rotation;
    }
    v.moonPhase += 0.01f;
    if (v.moonPhase > kTwoPi) v.moonPhase -= kTwoPi;

    Entity* player = Pickups::LocalPlayer(self);
    if (player == nullptr) return;
    v.pulse += v.pulserate * 0.8f;

    if (!v.shardFollow) {
        v.rotation += 0.02f;
        if (collide.Check(self, player)) {
            if (auto* score = FindVariable<std::int32_t>(player, enum_score)) *score += GameVars().SCORE_MOONSHARD;
            self->DoEvent("Explode");
            gameplayHooks.rumbleRemote(100);
            gameplayHooks.vibratePad(100);
            gameplayHooks.playSound(MOONSHARD_COLLECT, 1.0f);
            Networking::NetMessage::MSG_CollectMoonRock message(self);
            pickupNetwork.sendAll(message);
        }
    }

    if (v.shardFollow) {
        v.lightFade *= 0.9f;
        v.rotation += 0.1f + 2.0f * v.velocity.y;
        v.velocity.y += 0.005f;
        v.position.y += v.velocity.y;
        v.shardAlpha *= 0.999f;
        if (v.shardAlpha < 0.01f) self->_Delete();
        if (v.shardsVisible) {
            float sum = 0.0f;
            for (int i = 0; i < kPieces; ++i) {
                v.shardVelocity[i].y += 0.0001f;
                v.shardPosition[i].x += v.shardVelocity[i].x;
                v.shardPosition[i].y += v.shardVelocity[i].y;
                v.shardRotation[i] += v.shardRotationSpeed[i];
                sum += v.shardSize[i].x + v.shardSize[i].y;
                v.shardSize[i].x *= 0.993f;
                v.shardSize[i].y *= 0.993f;
            }
            if (sum < 0.1f) v.shardsVisible = false;
        }
    }
}

void Explode(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    if (v.shardFollow) return;
    v.shardsVisible = true;
    v.shardFollow = true;
    for (int i = 0; i < kPieces; ++i) {
        float x = 0.0f, y = 0.0f;
        do {
            x = 2.0f * Pickups::RandomFraction() - 1.0f;
            y = 2.0f * Pickups::RandomFraction() - 1.0f;
        } while (std::sqrt(x * x + y * y) > 1.0f);
        v.shardPosition[i] = D3DXVECTOR2(x * 0.25f, y * 0.25f);
        v.shardVelocity[i] = D3DXVECTOR2(v.shardPosition[i].x * 0.24f, v.shardPosition[i].y * 0.24f);
        if ((std::rand() & 3) != 0) {
            v.shardVelocity[i].x += (2.0f * Pickups::RandomFraction() - 1.0f) * 0.01f;
            v.shardVelocity[i].y += (2.0f * Pickups::RandomFraction() - 1.0f) * 0.01f;
        }
        v.shardPosition[i].x += v.position.x;
        v.shardPosition[i].y += v.position.y;
        v.shardRotation[i] = Pickups::RandomFraction() * 6.28318f;
        v.shardRotationSpeed[i] = Pickups::RandomFraction() * 0.2f + 0.3f;
        v.shardRotationSpeed[i] *= Pickups::RandomSign();
        const float w = 0.5f + Pickups::RandomFraction() * 0.5f;
        const float h = 0.5f + Pickups::RandomFraction() * 0.5f;
        v.shardSize[i] = D3DXVECTOR2(w * 0.35f, h * 0.35f);
    }
}

void OnNewPlayer(Entity* self, Entity*) {
    if (!VariablesOf<Variables>(self).shardFollow) return;
    Networking::NetMessage::MSG_CollectShard message(self);
    pickupNetwork.sendToNewClient(message);
}

void GraphicsDraw(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    const std::uint32_t tint = Tint(v.moonPhase);
    const float glow = 4.0f * (0.8f + 0.2f * std::cos(v.pulse));
    Pickups::AddFrameToLayer(0, v.position.x, v.position.y, 0.55f, glow, glow, 0.0f, "light", tint);

    float cx = 0.0f, cy = 0.0f, hw = 0.0f, hh = 0.0f;
    if (!Pickups::CameraView(self, cx, cy, hw, hh)) return;

    if (v.shardsVisible) {
        for (int i = 0; i < kPieces; ++i)
            Pickups::AddTile(9, v.shardPosition[i].x, v.shardPosition[i].y, -10000.3f, v.shardSize[i].x,
                             v.shardSize[i].y, v.shardRotation[i], "moonShard", tint);
    }
    if (!Pickups::InView(self, v.position.x, v.position.y, 16.0f * v.size.x, 9.0f * v.size.y, 9.0f * v.size.y)) return;
    Pickups::AddTile(9, v.position.x, v.position.y, 99.0f, 0.7f * v.size.x * v.moonRadiation,
                     0.7f * v.size.y * v.moonRadiation, v.moonRadiationRotation, "moonShard",
                     WithAlpha(tint, 200.0f * v.moonRadiationFade));
    if (!Pickups::InView(self, v.position.x, v.position.y, 0.9f * v.size.x, 0.9f * v.size.y, 0.9f * v.size.y)) return;
    Pickups::AddTile(9, v.position.x, v.position.y, 99.0f, 0.7f * v.size.x, 0.7f * v.size.y, v.rotation, "moonShard",
                     WithAlpha(tint, 255.0f * v.shardAlpha));
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "MoonShard", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("OnNewPlayer", &OnNewPlayer);
    prototype->_AddEvent("Explode", &Explode);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    const _DATA& p = *prototype;
    BindVariable(table, p, enum_position, v.position);
    BindVariable(table, p, enum_velocity, v.velocity);
    BindVariable(table, p, enum_size, v.size);
    BindVariable(table, p, enum_collision, v.collision);
    BindVariable(table, p, enum_pulse, v.pulse);
    BindVariable(table, p, enum_pulserate, v.pulserate);
    BindVariable(table, p, enum_rotaterate, v.rotaterate);
    BindVariable(table, p, enum_moonRadiation, v.moonRadiation);
    BindVariable(table, p, enum_moonRadiationFade, v.moonRadiationFade);
    BindVariable(table, p, enum_moonRadiationRotation, v.moonRadiationRotation);
    BindVariable(table, p, enum_lightFade, v.lightFade);
    BindVariable(table, p, enum_rotation, v.rotation);
    BindVariable(table, p, enum_counter, v.counter);
    BindVariable(table, p, enum_shardAlpha, v.shardAlpha);
    BindVariable(table, p, enum_moonPhase, v.moonPhase);
    BindVariable(table, p, enum_shardFollow, v.shardFollow);
    BindVariable(table, p, enum_shardsVisible, v.shardsVisible);
    BindVariable(table, p, enum_shardPosition, v.shardPosition);
    BindVariable(table, p, enum_shardVelocity, v.shardVelocity);
    BindVariable(table, p, enum_shardRotation, v.shardRotation);
    BindVariable(table, p, enum_shardRotationSpeed, v.shardRotationSpeed);
    BindVariable(table, p, enum_shardSize, v.shardSize);
}

}  // namespace ObjectData::MoonShard

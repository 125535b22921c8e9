#include "objects/Firefly.h"

#include <cmath>
#include <cstdlib>

#include "framework/GameVariables.h"
#include "networking/messages/MSG_CollectFireFly.h"
#include "objects/GameplayHooks.h"
#include "objects/PickupSupport.h"

namespace ObjectData::Firefly {

namespace {

VariableOffsetTable table;
const CollisionEngine collide;

std::uint32_t Ease(std::uint32_t drawn, std::uint32_t target) {
    std::uint32_t result = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        const float own = static_cast<float>((drawn >> shift) & 255u);
        const float goal = static_cast<float>((target >> shift) & 255u);
        result |= (static_cast<std::uint32_t>(static_cast<int>(0.95f * own + 0.05f * goal)) & 255u) << shift;
    }
    return result;
}

std::uint32_t Alpha(std::uint32_t colour, float alpha) {
    return (colour & 0x00FFFFFFu) | (static_cast<std::uint32_t>(static_cast<int>(alpha)) & 255u) << 24;
}

}  // namespace

void Load(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    const float vx = 0.05f * (0.5f + Pickups::RandomFraction() * 0.5f);
    v.velocity.x = vx * Pickups::RandomSign();
    const float vy = 0.05f * (0.5f + Pickups::RandomFraction() * 0.5f);
    v.velocity.y = vy * Pickups::RandomSign();
    v.pulse = Pickups::RandomFraction() * 3.14159f;
    v.pulserate = Pickups::RandomFraction() * 0.05f + 0.05f;
    const float turn = Pickups::RandomFraction() * 0.7f;
    v.rotaterate = turn + 0.1f * Pickups::RandomSign();
    v.counter = std::rand() % 60;
    v.collision.AddRectangle(-0.33f, 0.33f, 0.33f, -0.33f);
    v.frandPosX = static_cast<float>(std::rand() % 100 - 50) / 200.0f;
    v.frandPosY = static_cast<float>(std::rand() % 100 - 50) / 200.0f;
}

void Logic(Entity* self, Entity* player) {
    Variables& v = VariablesOf<Variables>(self);
    if (const auto* colour = FindVariable<std::uint32_t>(player, enum_playerColor)) v.color = *colour;
    if (auto* score = FindVariable<std::int32_t>(player, enum_score)) *score += GameVars().SCORE_FIREFLY;
    // Both devices apply the rumble, pad and pause settings themselves.
    gameplayHooks.rumbleRemote(50);
    gameplayHooks.lightVibratePad(35);
    gameplayHooks.playSound(FIREFLY_COLLECT, 1.0f);
    v.follow = true;
    Networking::NetMessage::MSG_CollectFireFly message(self);
    pickupNetwork.sendAll(message);
}

void OnNewPlayer(Entity* self, Entity*) {
    if (!VariablesOf<Variables>(self).follow) return;
    Networking::NetMessage::MSG_CollectFireFly message(self);
    pickupNetwork.sendToNewClient(message);
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Entity* player = Pickups::LocalPlayer(self);
    if (!v.follow && player != nullptr && collide.Check(self, player)) Entity::_DoEvent("Logic", player, self);

    v.fireflyColor = Ease(v.fireflyColor, v.color);

    if (!v.follow) {
        v.pulse += 0.5f * v.pulserate;
        return;
    }
    v.pulse += v.pulserate;
    v.counter += 1;
    if (v.counter >= 240) {
        if (v.stray) {
            v.counter = std::rand() % 60 + 90;
            v.rotaterate = Pickups::RandomFraction() * 0.4f + 0.5f;
            if ((std::rand() & 1) != 0) v.rotaterate = -v.rotaterate;
        } else {
            v.counter = std::rand() % 20 + 10;
        }
        v.stray = !v.stray;
    }
    if (player != nullptr && !v.stray) {
        D3DXVECTOR2 target{0.0f, 0.0f};
        if (const auto* camera = FindVariable<D3DXVECTOR2>(player, enum_cameraPosition)) target = *camera;
        float dx = target.x - v.position.x, dy = target.y - v.position.y;
        const float length = std::sqrt(dx * dx + dy * dy);
        if (length > 0.0f) {
            dx = dx / length * 0.1f;
            dy = dy / length * 0.1f;
        } else {
            dx = dy = 0.0f;
        }
        v.velocity.x = 0.99f * v.velocity.x + 0.01f * dx;
        v.velocity.y = 0.99f * v.velocity.y + 0.01f * dy;
    }
    v.velocity.x += 0.005f * v.rotaterate * std::cos(v.pulse);
    v.velocity.y += 0.005f * v.rotaterate * std::sin(v.pulse);
    const float speed = std::sqrt(v.velocity.x * v.velocity.x + v.velocity.y * v.velocity.y);
    if (speed > 0.1f) {
        v.velocity.x *= 0.1f / speed;
        v.velocity.y *= 0.1f / speed;
    }
    v.position.x += v.velocity.x;
    v.position.y += v.velocity.y;
}

void GraphicsDraw(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    const float s = 1.0f + 0.1f * std::cos(v.pulse);
    const float g = 0.7f + 0.3f * std::cos(v.pulse);
    const float x = v.position.x + v.frandPosX, y = v.position.y + v.frandPosY;
    if (!Pickups::InView(self, v.position.x, v.position.y, 3.5f * g, 3.5f * g, 3.5f * g)) return;
    gameplayHooks.addFrame(x, y, 5.5f, g * v.size.x, g * v.size.y, 0.0f, v.texture, Alpha(v.fireflyColor, 64.0f * g));
    gameplayHooks.addFrame(x, y, 0.5f, 0.25f * s * v.size.x, 0.25f * s * v.size.y, 0.0f, v.texture,
                           Alpha(0xFFFFFFFFu, 128.0f * g));
    Pickups::AddFrameToLayer(0, x, y, 0.55f, 4.0f * g * s * v.size.x, 4.0f * g * s * v.size.y, 0.0f, "light",
                             0xFFFFFFFFu);
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "Firefly", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsUpdate", Event());
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("OnNewPlayer", &OnNewPlayer);
    prototype->_AddEvent("Logic", &Logic);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    const _DATA& p = *prototype;
    BindVariable(table, p, enum_texture, v.texture);
    BindVariable(table, p, enum_position, v.position);
    BindVariable(table, p, enum_velocity, v.velocity);
    BindVariable(table, p, enum_size, v.size);
    BindVariable(table, p, enum_collision, v.collision);
    BindVariable(table, p, enum_pulse, v.pulse);
    BindVariable(table, p, enum_pulserate, v.pulserate);
    BindVariable(table, p, enum_rotaterate, v.rotaterate);
    BindVariable(table, p, enum_stray, v.stray);
    BindVariable(table, p, enum_counter, v.counter);
    BindVariable(table, p, enum_follow, v.follow);
    BindVariable(table, p, enum_frandPosX, v.frandPosX);
    BindVariable(table, p, enum_frandPosY, v.frandPosY);
    BindVariable(table, p, enum_color, v.color);
    BindVariable(table, p, enum_fireflyColor, v.fireflyColor);
}

}  // namespace ObjectData::Firefly

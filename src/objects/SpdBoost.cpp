#include "objects/SpdBoost.h"

#include <cmath>
#include <cstdlib>

#include "objects/GameplayHooks.h"
#include "objects/PickupSupport.h"

namespace ObjectData::SpdBoost {

namespace {

VariableOffsetTable table;
const CollisionEngine collide;
constexpr float kTwoPi = 6.28318f;

}  // namespace

void Load(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    v.pulse = Pickups::RandomFraction() * 3.14159f;
    v.pulserate = Pickups::RandomFraction() * 0.05f + 0.05f;
    v.rotation = 2.0f * Pickups::RandomFraction() * 3.14159f;
    v.rotaterate = -0.3f;
    v.counter = std::rand() % 60;
    v.collision.AddRectangle(-0.33f, 0.33f, 0.33f, -0.33f);
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Entity* player = Pickups::LocalPlayer(self);
    v.size = D3DXVECTOR2(0.8f, 0.8f);
    if (player != nullptr && collide.Check(self, player)) {
        self->DoEvent("Logic");
    } else {
        v.boostColor = 0xFFFFFFFFu;
        v.size = D3DXVECTOR2(0.8f, 0.8f);
        v.triggered = false;
    }
    v.rotation += v.rotaterate;
    if (v.rotation > kTwoPi) v.rotation -= kTwoPi;
    v.pulse += v.pulserate;
    if (v.pulse > kTwoPi) v.pulse -= kTwoPi;
}

void Logic(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    if (!v.triggered) {
        v.triggered = true;
        gameplayHooks.playSound(SPEED_BOOST_SOUND, 1.0f);
    }
    Entity* player = Pickups::LocalPlayer(self);
    if (player == nullptr) return;
    float* boost = FindVariable<float>(player, enum_spdBoost);
    const float* length = FindVariable<float>(player, enum_speedBoostLength);
    const std::int32_t* deathDelay = FindVariable<std::int32_t>(player, enum_deathDelay);
    if (boost != nullptr && length != nullptr) {
        if (*boost < *length - 2.0f && (deathDelay == nullptr || *deathDelay <= 0)) {
            gameplayHooks.rumbleRemote(100);
            gameplayHooks.vibratePad(100);
        }
        *boost = *length;
    }
    if (const auto* colour = FindVariable<std::uint32_t>(player, enum_playerColor)) v.boostColor = *colour;
    v.size = D3DXVECTOR2(1.2f, 1.2f);
    v.pulse += v.pulserate;
    v.rotation -= 0.8f * v.rotaterate;
}

void GraphicsDraw(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    if (!Pickups::InView(self, v.position.x, v.position.y, 1.0f, 1.0f, 1.0f)) return;
    for (int k = 0; k < 3; ++k) {
        const float a = 2.0f * static_cast<float>(k) * 3.14159265f / 3.0f;
        const float f = 1.0f + 0.1f * std::cos(a + v.pulse);
        gameplayHooks.addFrame(v.position.x + 0.3f * std::cos(v.rotation + a),
                               v.position.y + 0.2f * std::sin(v.rotation + a), -1.0f, f * v.size.x, f * v.size.y, 0.0f,
                               "firefly", v.boostColor);
    }
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "SpdBoost", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsUpdate", Event());
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("OnNewPlayer", Event());
    prototype->_AddEvent("Logic", &Logic);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    const _DATA& p = *prototype;
    BindVariable(table, p, enum_textureFront, v.textureFront);
    BindVariable(table, p, enum_position, v.position);
    BindVariable(table, p, enum_velocity, v.velocity);
    BindVariable(table, p, enum_size, v.size);
    BindVariable(table, p, enum_collision, v.collision);
    BindVariable(table, p, enum_boostColor, v.boostColor);
    BindVariable(table, p, enum_pulse, v.pulse);
    BindVariable(table, p, enum_pulserate, v.pulserate);
    BindVariable(table, p, enum_rotaterate, v.rotaterate);
    BindVariable(table, p, enum_rotation, v.rotation);
    BindVariable(table, p, enum_stray, v.stray);
    BindVariable(table, p, enum_counter, v.counter);
    BindVariable(table, p, enum_follow, v.follow);
    BindVariable(table, p, enum_triggered, v.triggered);
}

}  // namespace ObjectData::SpdBoost

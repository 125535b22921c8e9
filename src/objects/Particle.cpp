#include "objects/Particle.h"

#include "objects/GameplayHooks.h"

namespace ObjectData::Particle {

namespace {
VariableOffsetTable table;

// The sprite's pulse has no phase of its own to run, so it stays at its
// peak: the size grown by a tenth.
constexpr float kPulseScale = 1.1f;
}  // namespace

std::uint32_t Colour(const Variables& v) {
    const auto byte = [](std::int32_t channel) { return static_cast<std::uint32_t>(channel) & 255u; };
    return byte(v.alpha) << 24 | byte(v.red) << 16 | byte(v.green) << 8 | byte(v.blue);
}

void GraphicsDraw(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    gameplayHooks.addFrame(v.position.x, v.position.y, 0.0f, v.size.x * kPulseScale, v.size.y * kPulseScale, 0.0f,
                           v.texture, Colour(v));
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "Particle", table);
    prototype->_TempAddEngine("Behavior", Event());
    prototype->_TempAddEngine("GraphicsUpdate", Event());
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("Load", Event());
    prototype->_AddEvent("OnNewPlayer", Event());
    prototype->_AddEvent("Logic", Event());
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    const _DATA& p = *prototype;
    BindVariable(table, p, enum_texture, v.texture);
    BindVariable(table, p, enum_red, v.red);
    BindVariable(table, p, enum_green, v.green);
    BindVariable(table, p, enum_blue, v.blue);
    BindVariable(table, p, enum_alpha, v.alpha);
    BindVariable(table, p, enum_position, v.position);
    BindVariable(table, p, enum_velocity, v.velocity);
    BindVariable(table, p, enum_size, v.size);
    BindVariable(table, p, enum_collision, v.collision);
}

}  // namespace ObjectData::Particle

#include "objects/GrassBlade.h"

#include <algorithm>
#include <cmath>

#include "objects/GameplayHooks.h"
#include "objects/PickupSupport.h"

namespace ObjectData::GrassBlade {

namespace {

// The four blade types share one layout, so they share the offset table.
VariableOffsetTable table;
const CollisionEngine collide;
constexpr float kPi = 3.14159265f;
// Blades are a shade darker than the grass edge they grow from, so the edge
// reads as the ground line and the blades as plants on it.
constexpr std::uint32_t kBladeShade = 0xFFB0B8B0u;

bool Gate(Kind kind, const D3DXVECTOR2& velocity, std::int32_t flags) {
    switch (kind) {
        case Kind::Up: return velocity.y < 0.1f && (flags & 3) == 0;
        case Kind::Down: return velocity.y > -0.1f && (flags & 3) == 0;
        case Kind::Left: return velocity.x > -0.01f && (flags & 12) == 0;
        case Kind::Right: return velocity.x < 0.01f && (flags & 12) == 0;
    }
    return false;
}

bool FootTouches(const Entity* blade, const D3DXVECTOR2& at, Entity* player, int foot) {
    const auto* offset = FindVariable<D3DXVECTOR2>(player, foot);
    if (offset == nullptr) return false;
    return collide.Check(blade, Collision2D(at.x + offset->x, at.y + offset->y));
}

}  // namespace

float RestAngle(Kind kind) {
    switch (kind) {
        case Kind::Up: return 0.0f;
        case Kind::Down: return kPi;
        case Kind::Left: return 1.5707950592f;
        case Kind::Right: return 4.712385178f;
    }
    return 0.0f;
}

float SpringBack(Kind kind) {
    switch (kind) {
        case Kind::Up: return 0.995f;
        case Kind::Down: return 0.99f;
        case Kind::Left:
        case Kind::Right: return 0.992f;
    }
    return 0.995f;
}

void Load(Entity* self, Kind kind) {
    Variables& v = VariablesOf<Variables>(self);
    // The circle sits on the blade's root.
    v.collision.AddCircle(0.0f, 0.0f, kind == Kind::Up ? 0.2f : 0.1f);
    v.unRotate = 0.0f;
}

void Flatten(Entity* self, Kind kind) {
    Variables& v = VariablesOf<Variables>(self);
    for (int n = 0; n < 16; ++n) {
        Entity* player = self->GetMyObject(PlayerObjectName(n).c_str());
        if (player == nullptr || !collide.Check(self, player)) continue;
        const auto* velocityPointer = FindVariable<D3DXVECTOR2>(player, enum_velocity);
        const auto* positionPointer = FindVariable<D3DXVECTOR2>(player, enum_position);
        const auto* flagsPointer = FindVariable<std::int32_t>(player, enum_collisionflag);
        const D3DXVECTOR2 velocity = velocityPointer != nullptr ? *velocityPointer : D3DXVECTOR2{0.0f, 0.0f};
        const D3DXVECTOR2 position = positionPointer != nullptr ? *positionPointer : D3DXVECTOR2{0.0f, 0.0f};
        if (!Gate(kind, velocity, flagsPointer != nullptr ? *flagsPointer : 0)) continue;

        v.grassDir = D3DXVECTOR2(std::cos(v.grassRotation), std::sin(v.grassRotation));
        switch (kind) {
            case Kind::Up: {
                // A player landing on the blade flattens it harder the faster it falls.
                const float k = std::max(-40.0f * velocity.y, 1.0f);
                if (std::fabs(position.x - v.position.x) < 0.25f) v.grassDir.y /= k;
                if (FootTouches(self, position, player, enum_leftFootPosition) ||
                    FootTouches(self, position, player, enum_rightFootPosition))
                    v.grassDir.x += 3.0f * velocity.x;
                break;
            }
            case Kind::Down: v.grassDir.x += 3.0f * velocity.x; break;
            case Kind::Left:
            case Kind::Right: v.grassDir.y += 3.0f * velocity.y; break;
        }
        const float a = std::atan2(v.grassDir.y, v.grassDir.x);
        v.unRotate += v.grassRotation - a;
        if (v.unRotate > kPi) v.unRotate -= 2.0f * kPi;
        if (v.unRotate < -kPi) v.unRotate += 2.0f * kPi;
        v.grassRotation = a;
    }
}

void XGraphicsDraw(Entity* self, Kind kind) {
    Variables& v = VariablesOf<Variables>(self);
    const float d = SpringBack(kind);
    v.grassRotation += (1.0f - d) * v.unRotate;
    v.unRotate *= d;
    v.grassDance += 0.06f;

    if (!Pickups::InView(self, v.position.x, v.position.y, 0.5f, 0.5f, kind == Kind::Down ? 1.0f : 0.5f)) return;
    const float length = (0.8f * std::sin(v.grassRotation - RestAngle(kind)) + 0.2f) * 8.0f * v.size.y;
    Pickups::AddTile(7, v.position.x, v.position.y, 5.5f, v.size.x, length,
                     v.grassRotation + 0.1f * std::cos(v.grassDance), v.texture, kBladeShade);
}

void Register(Object*& slot, const char* typeName, Kind kind, const Handlers& handlers) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, typeName, table);
    prototype->_AddEvent("Load", handlers.load);
    prototype->_AddEvent("Flatten", handlers.flatten);
    prototype->_AddEvent("XGraphicsDraw", handlers.draw);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    if (kind == Kind::Left || kind == Kind::Right) v.size = D3DXVECTOR2(1.2f, 0.05f);
    const _DATA& p = *prototype;
    BindVariable(table, p, enum_texture, v.texture);
    BindVariable(table, p, enum_position, v.position);
    BindVariable(table, p, enum_size, v.size);
    BindVariable(table, p, enum_collision, v.collision);
    BindVariable(table, p, enum_grassDance, v.grassDance);
    BindVariable(table, p, enum_grassRotation, v.grassRotation);
    BindVariable(table, p, enum_grassDir, v.grassDir);
    BindVariable(table, p, enum_unRotate, v.unRotate);
}

namespace {
void UpLoad(Entity* self, Entity*) { Load(self, Kind::Up); }
void UpFlatten(Entity* self, Entity*) { Flatten(self, Kind::Up); }
void UpDraw(Entity* self, Entity*) { XGraphicsDraw(self, Kind::Up); }
}  // namespace

void _Init(Object*& slot) { Register(slot, "GrassBlade", Kind::Up, {&UpLoad, &UpFlatten, &UpDraw}); }

}  // namespace ObjectData::GrassBlade

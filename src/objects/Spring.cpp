#include "objects/Spring.h"

#include <cmath>
#include <cstdlib>

#include "collision/SolverData.h"
#include "networking/messages/MSG_AnimateSpring.h"
#include "objects/GameplayHooks.h"
#include "objects/PickupSupport.h"

namespace ObjectData::Spring {

namespace {

// One offset table per type: only "Spring" numbers its `rotation`.
VariableOffsetTable tables[3];
const CollisionEngine collide;

int SolverKind(Kind kind) {
    switch (kind) {
        case Kind::Up: return 1;
        case Kind::Right: return 4;
        case Kind::Left: return 2;
    }
    return 1;
}

// The side springs are drawn a quarter turn's half from upright: the right
// one leans clockwise, the left one anticlockwise.
float Tilt(Kind kind) { return kind == Kind::Right ? -0.78539816f : 0.78539816f; }

bool Fires(const Variables& v, Kind kind, const D3DXVECTOR2& velocity, float playerY) {
    switch (kind) {
        case Kind::Up: return velocity.y < -0.01f && v.position.y + 0.25f < playerY;
        case Kind::Right: return -velocity.x - velocity.y > 0.01f;
        case Kind::Left: return velocity.x - velocity.y > 0.01f;
    }
    return false;
}

}  // namespace

void Load(Entity* self, Kind kind) {
    Variables& v = VariablesOf<Variables>(self);
    v.collision.AddRectangle(-0.33f, 0.33f, 0.33f, -0.33f);
    SolverAddObject(self, SolverKind(kind));
}

void Behavior(Entity* self, Kind kind) {
    Variables& v = VariablesOf<Variables>(self);
    Entity* player = Pickups::LocalPlayer(self);
    if (player != nullptr && collide.Check(self, player)) {
        const auto* velocity = FindVariable<D3DXVECTOR2>(player, enum_velocity);
        const auto* position = FindVariable<D3DXVECTOR2>(player, enum_position);
        if (velocity != nullptr && position != nullptr && Fires(v, kind, *velocity, position->y))
            self->DoEvent("Logic");
    }
    v.spring = v.spring * 0.9f + v.springGoal * 0.1f;
}

void Logic(Entity* self, Kind kind) {
    Variables& v = VariablesOf<Variables>(self);
    // Both devices apply the rumble, pad and pause settings themselves.
    gameplayHooks.rumbleRemote(100);
    gameplayHooks.vibratePad(100);
    if (kind != Kind::Up) gameplayHooks.playSound(SPRING_SOUND, 1.0f);

    if (Entity* player = Pickups::LocalPlayer(self)) {
        if (auto* velocity = FindVariable<D3DXVECTOR2>(player, enum_velocity)) {
            velocity->y = 0.3f;
            if (kind == Kind::Right) velocity->x = 0.4f;
            if (kind == Kind::Left) velocity->x = -0.4f;
        }
        if (auto* wallJump = FindVariable<std::int32_t>(player, enum_wallJump)) *wallJump = 0;
        const float airRun = (std::rand() & 1) != 0 ? 1.0f : -1.0f;
        if (auto* run = FindVariable<float>(player, enum_airRun)) *run = airRun;
        if (auto* rolling = FindVariable<bool>(player, enum_rolling)) *rolling = true;
        if (auto* hover = FindVariable<std::int32_t>(player, enum_hoverTime)) *hover = 0;
        if (auto* camChange = FindVariable<bool>(player, enum_camChangeY)) *camChange = true;
    }
    v.spring = 1.0f;

    if (kind == Kind::Up) {
        gameplayHooks.playSound(SPRING_SOUND, 1.0f);
        Networking::NetMessage::MSG_AnimateSpring message(self->GetName());
        pickupNetwork.sendAll(message);
    }
}

void GraphicsDraw(Entity* self, Kind kind) {
    const Variables& v = VariablesOf<Variables>(self);
    if (!Pickups::InView(self, v.position.x, v.position.y, v.size.x, v.size.y, v.size.y)) return;
    const float bodyHeight = (v.spring + 1.0f) * v.size.y;
    if (kind == Kind::Up) {
        Pickups::AddTile(6, v.position.x, v.position.y + 0.5f * v.spring * v.size.y, -5.6f, v.size.x, bodyHeight, 0.0f,
                         v.textureBack, 0xFFFFFFFFu);
        Pickups::AddTile(8, v.position.x, v.position.y + v.spring * v.size.y, -5.5f, v.size.x, v.size.y, 0.0f,
                         v.textureFront, 0xFFFFFFFFu);
        return;
    }
    const float k = std::sqrt(2.0f) / 2.0f;
    const float side = kind == Kind::Right ? 1.0f : -1.0f;
    const float rotation = Tilt(kind);
    Pickups::AddTile(6, v.position.x + side * 0.5f * k * v.spring * v.size.x,
                     v.position.y + 0.5f * k * v.spring * v.size.y, -5.6f, v.size.x, bodyHeight, rotation,
                     v.textureBack, 0xFFFFFFFFu);
    Pickups::AddTile(8, v.position.x + side * k * v.spring * v.size.x, v.position.y + k * v.spring * v.size.y, -5.5f,
                     v.size.x, v.size.y, rotation, v.textureFront, 0xFFFFFFFFu);
}

void Register(Object*& slot, const char* typeName, Kind kind, const Handlers& handlers) {
    VariableOffsetTable& table = tables[static_cast<int>(kind)];
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, typeName, table);
    prototype->_TempAddEngine("Behavior", handlers.behavior);
    if (kind != Kind::Up) prototype->_TempAddEngine("GraphicsUpdate", Event());
    prototype->_TempAddEngine("GraphicsDraw", handlers.draw);
    prototype->_AddEvent("Load", handlers.load);
    prototype->_AddEvent("OnNewPlayer", Event());
    prototype->_AddEvent("Logic", handlers.logic);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    const _DATA& p = *prototype;
    BindVariable(table, p, enum_textureFront, v.textureFront);
    BindVariable(table, p, enum_textureBack, v.textureBack);
    BindVariable(table, p, enum_position, v.position);
    BindVariable(table, p, enum_velocity, v.velocity);
    BindVariable(table, p, enum_size, v.size);
    BindVariable(table, p, enum_collision, v.collision);
    BindVariable(table, p, enum_spring, v.spring);
    BindVariable(table, p, enum_springGoal, v.springGoal);
    if (kind == Kind::Up) BindVariable(table, p, enum_rotation, v.rotation);
}

namespace {
void UpLoad(Entity* self, Entity*) { Load(self, Kind::Up); }
void UpBehavior(Entity* self, Entity*) { Behavior(self, Kind::Up); }
void UpLogic(Entity* self, Entity*) { Logic(self, Kind::Up); }
void UpDraw(Entity* self, Entity*) { GraphicsDraw(self, Kind::Up); }
}  // namespace

void _Init(Object*& slot) { Register(slot, "Spring", Kind::Up, {&UpLoad, &UpBehavior, &UpLogic, &UpDraw}); }

}  // namespace ObjectData::Spring

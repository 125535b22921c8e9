#include "objects/Checkpoint.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "collision/SolverData.h"
#include "framework/GameVariables.h"
#include "objects/GameplayHooks.h"
#include "objects/LevelObjectHooks.h"
#include "objects/PickupSupport.h"
#include "objects/Player.h"

namespace ObjectData::Checkpoint {

namespace {

VariableOffsetTable table;

Variables& Vars(Entity* self) { return VariablesOf<Variables>(self); }

float U() { return static_cast<float>(std::rand() & 0x3FF) / 1024.0f; }

void Load(Entity* self, Entity*) {
    Variables& v = Vars(self);
    v.pulse = U() * 3.14159f;
    v.pulserate = U() * 0.05f + 0.05f;
    v.rotaterate = U() * 0.7f + 0.1f;
    v.counter = std::rand() % 60;
    v.collision.AddRectangle(-0.33f, 0.33f, 0.33f, -0.33f);
    SolverAddObject(self, 16);
}

// A checkpoint that goes before the path solver's next map leaves its list.
void Unload(Entity* self, Entity*) {
    std::erase_if(SolverObjectList, [self](const auto& entry) { return entry.second == self; });
}

void Behavior(Entity* self, Entity*) {
    Variables& v = Vars(self);
    Entity* player = self->GetMyObject(LocalPlayerName().c_str());
    if (!v.follow && Player::IsPlayer(player) && collisionEngine.Check(self, player)) {
        GameData::TheGame::GameVariables& game = GameVars();
        Player::Vars(player).score += game.SCORE_CHECKPOINT;
        v.follow = true;
        gameplayHooks.rumbleRemote(100);
        gameplayHooks.vibratePad(100);
        gameplayHooks.playSound(AudioList::CHECKPOINT_SOUND, 1.0f);
        game.checkpointPosition = {v.position.x, v.position.y};
        levelObjectHooks.sendSetCheckPoint(game.checkpointPosition);
    }
    v.rotation += v.follow ? 0.2f : 0.02f;
    v.pulse += v.pulserate * 0.8f;
}

void SetCheckPoint(Entity* self, Entity*) {
    Variables& v = Vars(self);
    const D3DXVECTOR2& at = GameVars().checkpointPosition;
    if (std::trunc(at.x) == std::trunc(v.position.x) && std::trunc(at.y) == std::trunc(v.position.y)) v.follow = true;
}

struct Orbit {
    float a, b, p, r, scale;
};
constexpr Orbit kOrbits[8] = {
    {0.33221f, 0.7123f, 0.0f, 0.5f, 1.0f},       {0.166105f, 0.35615f, 10.0f, 0.4f, 1.0f},
    {0.33221f, 0.7123f, 20.0f, 0.3f, 1.0f},      {0.166105f, 0.35615f, 30.0f, 0.4f, 1.0f},
    {0.0830525f, 0.178075f, 130.0f, 0.4f, 0.8f}, {0.0830525f, 0.178075f, 100.0f, 0.4f, 0.8f},
    {0.0498315f, 0.106845f, 230.0f, 0.3f, 0.5f}, {0.0498315f, 0.106845f, 200.0f, 0.3f, 0.5f},
};

// A checkpoint is a small lantern: dark with a faint ember until it is
// reached, then burning warm with its light on the ground about it and its
// fireflies circling.
constexpr float kLanternWidth = 0.5f, kLanternHeight = 0.75f;
constexpr float kLanternDepth = 98.0f;
constexpr std::uint32_t kLanternLight = 0xFFB08840u;

void Draw(Entity* self, Entity*) {
    const Variables& v = Vars(self);
    const float g = 0.4f * (v.follow ? 1.0f : 0.0f) + std::cos(v.pulse) * 0.2f + 0.5f;
    const float w = g * v.size.x;
    const float h = g * v.size.y;
    // The hook gives the reciprocal of the camera's scale; the view is
    // scale units high.
    float cameraX = 0.0f, cameraY = 0.0f, r = 1.0f;
    gameplayHooks.camera(cameraX, cameraY, r);
    const float scale = r > 0.0f ? 1.0f / r : 1.0f;
    const float halfViewW = 0.5f * scale * gameplayHooks.aspect();
    const float halfViewH = 0.5f * scale;
    const float reachX = std::max(0.9f * w, 0.5f * kLanternWidth);
    const float reachY = std::max(0.9f * h, 0.5f * kLanternHeight);
    if (v.position.x + reachX < cameraX - halfViewW || v.position.x - reachX > cameraX + halfViewW ||
        v.position.y + reachY < cameraY - halfViewH || v.position.y - reachY > cameraY + halfViewH)
        return;
    gameplayHooks.addFrame(v.position.x, v.position.y, kLanternDepth, kLanternWidth, kLanternHeight, 0.0f,
                           v.follow ? "checkpointLanternLit" : "checkpointLantern", 0xFFFFFFFFu);
    if (!v.follow) return;
    Pickups::AddFrameToLayer(0, v.position.x, v.position.y, 0.55f, 3.0f, 3.0f, 0.0f, "light", kLanternLight);
    const auto alpha =
        static_cast<std::uint32_t>(static_cast<std::int32_t>(255.0f - (0.125f - std::cos(v.pulse) * 0.125f) * 255.0f));
    const std::uint32_t colour = (alpha & 0xFFu) << 24 | 0x00FFFFFFu;
    for (int j = 0; j < 8; ++j) {
        const Orbit& o = kOrbits[j];
        // The odd fireflies circle mirrored.
        const float sign = (j % 2 == 0) ? 1.0f : -1.0f;
        gameplayHooks.addFrame(v.position.x + o.r * std::cos(v.rotation * o.b - o.p),
                               v.position.y + sign * o.r * std::sin(v.rotation * o.a - o.p), 99.0f, o.scale * w,
                               o.scale * h, 0.0f, "firefly", colour);
    }
}

}  // namespace

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "Checkpoint", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsUpdate", Event());
    prototype->_TempAddEngine("GraphicsDraw", &Draw);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Unload", &Unload);
    prototype->_AddEvent("SetCheckPoint", &SetCheckPoint);
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
    BindVariable(table, p, enum_rotation, v.rotation);
    BindVariable(table, p, enum_counter, v.counter);
    BindVariable(table, p, enum_follow, v.follow);
}

}  // namespace ObjectData::Checkpoint

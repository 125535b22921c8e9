#include "widgets/Cursor.h"

#include <cmath>
#include <cstdlib>

#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"
#include "platform/input/Mouse.h"
#include "widgets/WidgetSupport.h"

namespace ObjectData::Cursor {

namespace {

VariableOffsetTable table;

// A fresh random fraction in [0, 1) in steps of 1/1024.
float U() { return static_cast<float>(std::rand() % 1024) / 1024.0f; }

void MouseInGame(float& x, float& y) { graphicsEngine.ScreenToGame(Mouse.GetScreenX(), Mouse.GetScreenY(), x, y); }

}  // namespace

std::uint32_t Tint(float moonPhase) {
    const auto g = static_cast<std::uint32_t>(207 - static_cast<int>(std::cos(moonPhase) * -48.0f));
    return 0xFF0000F0u | g << 16 | g << 8;
}

void Load(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    v.collision.AddPoint(0.0f, 0.0f);
    MouseInGame(v.position.x, v.position.y);
    for (D3DXVECTOR2& s : v.shardSize) s = {0.0f, 0.0f};
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    v.moonPhase += 0.01f;
    float mx = 0.0f, my = 0.0f;
    MouseInGame(mx, my);
    const float dx = mx - v.position.x, dy = my - v.position.y;
    if (dx != 0.0f || dy != 0.0f) {
        const int c = v.currentShard;
        const float H = Widgets::WindowHeight();
        const float sx = v.size.x / H, sy = v.size.y / H;
        const float a = v.rotation, ca = std::cos(a), sa = std::sin(a);
        const float side = 100.0f * (0.15f + 0.15f * U());
        v.shardSize[c] = {side, side};
        D3DXVECTOR2 p{ca * sx / 2.0f, sa * sy / 2.0f};
        const float along = (U() - 0.5f) * sx;
        p.x += 0.7f * along * ca;
        p.y += 0.7f * along * sa;
        const float across = (U() - 0.5f) * sx;
        p.x += 0.2f * across * -sa;
        p.y += 0.2f * across * ca;
        p.x += v.position.x;
        p.y += v.position.y;
        v.shardPosition[c] = p;
        const float vx = (U() - 0.5f) * 0.01f;
        const float vy = (U() - 0.5f) * 0.01f;
        v.shardVelocity[c] = {vx, vy};
        const float spin = 0.5f + U();
        v.shardRotation[c] = std::rand() % 2 == 0 ? spin : -spin;
        v.shardRotationSpeed[c] = static_cast<float>(std::rand() % 1024) * 6.28318f / 1024.0f;
        v.currentShard = (c + 1) % kShards;
        // The heading turns toward the motion.
        const float hx = ca + 20.0f * dx, hy = sa + 20.0f * dy;
        const float length = std::sqrt(hx * hx + hy * hy);
        if (length > 0.0f) v.velocity = {hx / length, hy / length};
        v.rotation = std::atan2(v.velocity.y, v.velocity.x);
    }
    v.position.x = mx;
    v.position.y = my;
    for (int i = 0; i < kShards; ++i) {
        v.shardRotation[i] += v.shardRotationSpeed[i];
        v.shardVelocity[i].x *= 0.92f;
        v.shardVelocity[i].y *= 0.92f;
        v.shardPosition[i].x += v.shardVelocity[i].x;
        v.shardPosition[i].y += v.shardVelocity[i].y;
        v.shardSize[i].x *= 0.95f;
        v.shardSize[i].y *= 0.95f;
    }
}

void GraphicsDraw(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    if (!v.visible) return;
    Buffer* buffer = graphicsEngine.GetCurrentBuffer();
    if (buffer == nullptr) return;
    const int tint = static_cast<int>(Tint(v.moonPhase));
    float cx = 0.0f, cy = 0.0f, q = 1.0f;
    Widgets::Camera(cx, cy, q);
    const float H = Widgets::WindowHeight();
    // Shards live in game units, as the pointer does: each is drawn where it
    // stands in the view, its size given in pixels of the window's height.
    const Frame& shard = FrameMap("moonShard", 0, 0);
    for (int i = 0; i < kShards; ++i) {
        buffer->AddTile(0, cx + v.shardPosition[i].x / q, cy + v.shardPosition[i].y / q, -10000.3f,
                        v.shardSize[i].x / H / q, v.shardSize[i].y / H / q, v.shardRotation[i], shard, tint);
    }
    const float w = v.size.x / H, h = v.size.y / H;
    graphicsEngine.AddFrame(v.position.x + w / 2.0f, v.position.y - h / 2.0f, v.position.z, w, h,
                            v.rotation + 1.570795f, FrameMap(v.texture != nullptr ? v.texture : "", 0, 0), tint);
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "Cursor", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsUpdate", Event());
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Unload", Event());
    prototype->_AddEvent("Explosion", Event());
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_moonPhase, v.moonPhase);
    BindVariable(table, *prototype, enum_position, v.position);
    BindVariable(table, *prototype, enum_velocity, v.velocity);
    BindVariable(table, *prototype, enum_size, v.size);
    BindVariable(table, *prototype, enum_ownerID, v.ownerID);
    BindVariable(table, *prototype, enum_texture, v.texture);
    BindVariable(table, *prototype, enum_visible, v.visible);
    BindVariable(table, *prototype, enum_collision, v.collision);
    BindVariable(table, *prototype, enum_rotation, v.rotation);
    BindVariable(table, *prototype, enum_currentShard, v.currentShard);
    BindVariable(table, *prototype, enum_shardPosition, v.shardPosition);
    BindVariable(table, *prototype, enum_shardVelocity, v.shardVelocity);
    BindVariable(table, *prototype, enum_shardRotation, v.shardRotation);
    BindVariable(table, *prototype, enum_shardRotationSpeed, v.shardRotationSpeed);
    BindVariable(table, *prototype, enum_shardSize, v.shardSize);
}

}  // namespace ObjectData::Cursor

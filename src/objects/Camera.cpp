#include "objects/Camera.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "framework/GameVariables.h"
#include "objects/GameplayHooks.h"
#include "objects/Player.h"
#include "platform/graphics/CameraGlobals.h"

namespace ObjectData::Camera {

namespace {

VariableOffsetTable table;

D3DXVECTOR2 Blend(const D3DXVECTOR2& a, float wa, const D3DXVECTOR2& b, float wb) {
    return D3DXVECTOR2(a.x * wa + b.x * wb, a.y * wa + b.y * wb);
}

void Publish(const Variables& v) {
    CameraGlobals::x = v.position.x;
    CameraGlobals::y = v.position.y;
    CameraGlobals::r = 1.0f / v.scale;
}

}  // namespace

void PreCameraUpdate(Entity* self, Entity*) { Publish(VariablesOf<Variables>(self)); }

void PostCameraUpdate(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Entity* local = self->GetMyObject(LocalPlayerName().c_str());
    if (v.firstTime) self->CallEvent("StartFadingIn");
    if (local == nullptr || !Player::IsPlayer(local)) return;
    const Player::Variables& me = Player::Vars(local);

    const float aspect = gameplayHooks.aspect();
    const LevelCollision& grid = GameVars().basicLevel;
    const float W = static_cast<float>(grid.GetWidth());
    const float H = static_cast<float>(grid.GetHeight());

    const float old = v.scale;
    v.scale = kNormalScale;
    if (me.rolling || (me.deathDelay <= 0 && me.spdBoost > 0.0f)) v.scale *= kRollingZoom;
    const D3DXVECTOR2 lead = me.cameraPosition;

    constexpr float kHuge = std::numeric_limits<float>::max();
    float maxX = -kHuge, maxY = -kHuge, minX = kHuge, minY = kHuge;
    if (me.deathDelay <= 0) {
        maxX = me.position.x - 0.5f;
        maxY = me.position.y - 0.5f;
    }
    int count = 0;
    D3DXVECTOR2 sum{0.0f, 0.0f};
    for (int n = 0; n < 16; ++n) {
        Entity* other = self->GetMyObject(PlayerObjectName(n).c_str());
        if (other == nullptr || !Player::IsPlayer(other)) continue;
        const D3DXVECTOR2 point = Player::Vars(other).cameraPosition;
        const float dx = point.x - lead.x;
        const float dy = (point.y - lead.y) * aspect;
        const float d = std::sqrt(dx * dx + dy * dy);
        D3DXVECTOR2 p;
        if (d < 10.0f) {
            p = point;
        } else if (d < 13.0f) {
            const float t = (d - 10.0f) / 3.0f;
            p = Blend(point, 1.0f - t, lead, t);
        } else {
            continue;
        }
        ++count;
        sum.x += p.x;
        sum.y += p.y;
        maxX = std::max(maxX, p.x);
        minX = std::min(minX, p.x);
        maxY = std::max(maxY, p.y);
        minY = std::min(minY, p.y);
    }
    // The local player always counts itself; a count of 0 means its name
    // belongs to no numbered player, and the camera then only follows it.
    const D3DXVECTOR2 centroid = count > 0 ? Blend(sum, 1.0f / static_cast<float>(count), sum, 0.0f) : lead;
    float w = 0.0f;
    if (count > 1) {
        const float hw = aspect * 0.5f * v.scale;
        const float hh = 0.5f * v.scale;
        minX = std::max(minX, hw);
        maxX = std::min(maxX, W - hw);
        minY = std::max(minY, hh);
        maxY = std::min(maxY, H - hh);
        v.scale += std::max((maxX - minX) / aspect, maxY - minY);
        if (v.scale > W / aspect) v.scale = W / aspect;
        if (v.scale > H) v.scale = H;
        const float ex = centroid.x - lead.x, ey = centroid.y - lead.y;
        w = (10.0f - std::sqrt(ex * ex + ey * ey)) / 10.0f;
    }
    v.scale = v.scale * 0.05f + old * 0.95f;
    if (v.scale * aspect > W) v.scale = W / aspect;
    if (v.scale > H) v.scale = H;

    const float hw = aspect * 0.5f * v.scale;
    const float hh = 0.5f * v.scale;
    D3DXVECTOR2 target = Blend(lead, w, centroid, 1.0f - w);
    if (target.x < hw)
        target.x = hw;
    else if (target.x > W - hw)
        target.x = W - hw;
    if (target.y < hh)
        target.y = hh;
    else if (target.y > H - hh)
        target.y = H - hh;

    v.position.x = v.position.x * 0.9f + target.x * 0.1f;
    v.position.y = v.position.y * 0.9f + target.y * 0.1f;

    if (me.deathDelay <= 60) {
        const float px = me.position.x, py = me.position.y;
        if (v.position.x + hw < px + 1.5f) v.position.x = px + 1.5f - hw;
        if (v.position.x - hw > px - 1.5f) v.position.x = px - 1.5f + hw;
        if (v.position.y + hh < py + 1.5f) v.position.y = py + 1.5f - hh;
        if (v.position.y - hh > py - 1.5f) v.position.y = py - 1.5f + hh;
    }

    if (hw > v.position.x)
        v.position.x = hw;
    else if (W - hw < v.position.x)
        v.position.x = W - hw;
    if (hh > v.position.y)
        v.position.y = hh;
    else if (H - hh < v.position.y)
        v.position.y = H - hh;

    Publish(v);
    v.firstTime = false;
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "Camera", table);
    prototype->_TempAddEngine("PreCameraUpdate", &PreCameraUpdate);
    prototype->_TempAddEngine("PostCameraUpdate", &PostCameraUpdate);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_position, v.position);
    BindVariable(table, *prototype, enum_scale, v.scale);
    BindVariable(table, *prototype, enum_firstTime, v.firstTime);
}

}  // namespace ObjectData::Camera

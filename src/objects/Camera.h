#pragma once
// "Camera": the view of a play level. It follows the local player, widens to
// frame the other players near it, keeps inside the level grid and
// publishes itself in CameraGlobals for every camera-relative draw handler.
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::Camera {

// The view height the camera settles at, and the factor while the player
// rolls or is boosted.
constexpr float kNormalScale = 10.0f;
constexpr float kRollingZoom = 1.5f;

struct Variables {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    // A camera nobody has placed yet shows the normal view rather than an
    // infinite zoom.
    float scale = kNormalScale;
    bool firstTime = true;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

void PreCameraUpdate(Entity* self, Entity* other);
void PostCameraUpdate(Entity* self, Entity* other);

}  // namespace ObjectData::Camera

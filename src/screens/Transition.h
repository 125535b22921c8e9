#pragma once
// "Transition": the panel, three screens wide, that slides across the window
// to hide one screen and reveal the next. It is drawn in the colours of the
// tiled texture "whiteFade", as the loading screen between levels is; its own
// picture gives only its outline. "StartFadingIn" and "StartFadingOut" start
// it; it raises "FadedIn" or "FadedOut" every frame once its slide is done.
#include <cstdint>

#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::Transition {

struct Variables {
    const char* texture = "faded black";
    D3DXVECTOR3 position{0.0f, 0.0f, 100000.0f};
    // 0 idle; 1..30 fading in (30 done); -1..-30 fading out (-30 done).
    std::int32_t counter = 0;
};

using _DATA = ObjectTemplate::Data<Variables>;

// The window's width over its height, and the panel's one tile (tile list 15,
// technique "TechniqueTilePara2D", tiled texture "whiteFade") in world units.
// By default the tile goes into the renderer's current draw buffer; tests
// replace the hooks to watch it.
struct Hooks {
    float (*resolution)();
    void (*drawPanel)(float x, float y, float z, float width, float height, const char* texture);
};
extern Hooks hooks;
void ResetHooks();

void Step(Entity* self, Entity* other);
void Draw(Entity* self, Entity* other);
void _Init(Object*& slot);

}  // namespace ObjectData::Transition

#pragma once
// What every widget shares: the view the camera published for this frame,
// the current window's height and aspect, the state's pointer and focus
// manager, the unit hit box, and the click sound.
#include "collision/CollisionEngine.h"
#include "platform/sound/SoundEngine.h"

class Entity;
class Object;

namespace Widgets {

// Sounds go to the sound engine; tests replace the hook to hear them.
struct Hooks {
    void (*playSound)(AudioList sound, float volume);
};
extern Hooks hooks;
void ResetHooks();

// The click every button plays when it is pressed.
void PlayClick();

// The camera of the frame being built: centre x, y and r, the reciprocal of its scale.
void Camera(float& x, float& y, float& r);
// The current window's height in pixels (never 0) and its aspect (width over height).
float WindowHeight();
float WindowAspect();

// The objects named "Cursor" and "TabManager" of self's state, or null.
Object* FindCursor(const Entity* self);
Object* FindTabManager(const Entity* self);

// The button's hit area: one rectangle of 1 by 1 about the centre, which the
// overlap test scales by "size" and places at "position".
void AddUnitBox(CollisionInfo2D& collision);

// Raises self's own event name with (self, other) at once.
void RaiseOwn(Entity* self, const char* name, Entity* other);

}  // namespace Widgets

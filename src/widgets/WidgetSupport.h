#pragma once
// What every widget shares: the view the camera published for this frame,
// the current window's height and aspect, the state's pointer and focus
// manager, the unit hit box, and the click sound.
#include <cstdint>
#include <string>

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
// Gives the focus of widget's state to widget; false when the widget is not
// enrolled in a focus manager.
bool GiveFocus(Entity* widget);
// Leaves no widget of self's state focused.
void DropFocus(const Entity* self);
// The widget that holds the focus of self's state, or null.
Entity* FocusedWidget(const Entity* self);

// The button's hit area: one rectangle of 1 by 1 about the centre, which the
// overlap test scales by "size" and places at "position".
void AddUnitBox(CollisionInfo2D& collision);

// Raises self's own event name with (self, other) at once.
void RaiseOwn(Entity* self, const char* name, Entity* other);

// Queues the first frame of the picture `texture` (white when the name is
// unknown) centred on (x, y) in screen units, unrotated, into the frame being
// built; nothing when no frame is being built.
void DrawPicture(float x, float y, float z, float width, float height, const char* texture, std::uint32_t colour);

// The 128-entry table of the characters a text box takes: all of them when
// `allowed` is empty, else only those it lists (characters outside the table
// are never entered). Tab and line feed are refused unless keepBreaks.
void BuildCharacterTable(const std::string& allowed, bool keepBreaks, bool (&table)[128]);

}  // namespace Widgets

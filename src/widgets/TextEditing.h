#pragma once
// The editing both text boxes share: the caret and selection by mouse, the
// keys that type, erase and move the caret, where the caret is drawn, and
// the drawing of a box with its caret and text.
#include <cstdint>

#include "framework/Vector.h"
#include "widgets/Text.h"

class Entity;
class Object;

namespace Widgets::TextEditing {

// A box's Text, made in its state: text-box mode (left-aligned, scrolled to
// keep the caret in view), empty, with a fresh layout, over the box; the
// box draws it itself. Null when no Text can be made.
Object* MakeText(Entity* box, const D3DXVECTOR3& position, const D3DXVECTOR2& size, bool multiLine);

// The mouse sets the caret: a click places the anchor (selectedStart) at the
// letter under the pointer (-1 when it hits none); while the button stays
// down after a hit the caret follows the pointer, selecting what lies
// between. A drag that leaves the text keeps the last caret.
void MouseCaret(ObjectData::Text::Variables& text, D3DXVECTOR2& caretPlace);

// One frame of the editing keys on a box that has the keyboard: typing
// through the table (nothing while Ctrl is down), Delete and Backspace
// (replacing a selection), Left and Right, and Up and Down when lines is set;
// Shift keeps the anchor. An anchor that lies outside the text (a click that
// hit no letter) counts as no selection at the caret.
void Keys(ObjectData::Text::Variables& text, const bool (&allowed)[128], bool lines);

// Where the caret is drawn: the left edge of the letter at the caret.
void PlaceCaret(ObjectData::Text::Variables& text, D3DXVECTOR2& caretPlace);

// A box's picture: its background in colour (three 0-255 components), the
// caret while selected, then its text.
void Draw(Entity* box, Entity* textObject, const D3DXVECTOR3& position, const D3DXVECTOR2& size, const char* texture,
          const D3DXVECTOR3& colour, bool selected, const D3DXVECTOR2& caretPlace);

}  // namespace Widgets::TextEditing

#pragma once
// "SingleLineTextBox": the one-line text entry (names, sizes, values). It
// owns a Text that holds and shows the string, the caret (`cursorLoc`) and
// the selection's anchor (`selectedStart`); it takes part in the state's
// focus order (Tab reaches it, the direction moves never pick it), takes
// typed characters through its table of allowed ones, and hands the focus
// on when Enter is pressed.
#include "collision/CollisionEngine.h"
#include "framework/Vector.h"
#include "widgets/WidgetTemplate.h"

namespace ObjectData::SingleLineTextBox {

struct Variables {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 size{0.3f, 0.05f};
    D3DXVECTOR3 colorBG{255.0f, 255.0f, 255.0f};  // the background this frame, 0-255 each
    bool EnableHighlighting = false;              // the background follows the pointer
    D3DXVECTOR3 isHighlightColor{66.0f, 66.0f, 51.0f};
    D3DXVECTOR3 notHighlightColor{196.0f, 189.0f, 173.0f};
    bool isSelectedColor = false;  // selectionColor while the box has the focus
    D3DXVECTOR3 selectionColor{232.0f, 232.0f, 232.0f};
    std::string validCharacters;     // the characters that may be typed; empty: all
    bool validCharacterList[128]{};  // rebuilt from validCharacters by "ApplyNewSettings"
    bool selected = false;           // the box has the keyboard this frame
    CollisionInfo2D collision;
    const char* texture = "";
    D3DXVECTOR2 cursor{-1.0f, -1.0f};  // where the caret is drawn
    bool isButton = false;
    bool snapCursor = true;  // the pointer waits under the box while it has the focus
    Object* textObject = nullptr;
    // Reached by Tab, the box selects all it holds, so that what is typed
    // replaces it (a box the program fills with a value to change).
    bool selectAllOnFocus = false;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

// The box's variables, or null for other objects.
Variables* Find(Entity* entity);

}  // namespace ObjectData::SingleLineTextBox

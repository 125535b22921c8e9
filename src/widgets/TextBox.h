#pragma once
// "TextBox": the multi-line text entry, with a horizontal and a vertical
// scroll bar along its right and bottom edges that it runs and draws itself,
// coupled to the text's scroll so the caret stays in view. Editing is the
// one-line box's with Up and Down and line breaks; only a click gives it the
// keyboard (it is no member of the focus order).
#include "collision/CollisionEngine.h"
#include "framework/Vector.h"
#include "widgets/WidgetTemplate.h"

namespace ObjectData::TextBox {

struct Variables {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 size{1.0f, 1.0f};  // bars included
    D3DXVECTOR3 colorBG{255.0f, 255.0f, 255.0f};
    std::string validCharacters;
    bool validCharacterList[128]{};
    bool selected = false;
    CollisionInfo2D collision;  // the text area, without the bars' strips
    const char* texture = "";
    D3DXVECTOR2 cursor{-1.0f, -1.0f};
    Object* textObject = nullptr;
    Object* hScroll = nullptr;
    Object* vScroll = nullptr;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

Variables* Find(Entity* entity);

// Places the bars along the box, sets their ranges from the text, scrolls the
// text to keep the caret in view and the bars' values with it.
void UpdatePosition(Entity* self, Entity* other);

}  // namespace ObjectData::TextBox

#pragma once
// "Text": a string on a screen with its whole layout and colour set. Its
// variables from hAlign to information are one TextSettings record, so the
// text layout and drawing take the record as it lies in the object.
#include <string>

#include "platform/graphics/Text.h"
#include "widgets/WidgetTemplate.h"

namespace ObjectData::Text {

struct Variables {
    TextSettings settings = Defaults();
    std::string text;

    Variables() = default;
    // A copy lays itself out afresh: the cached layout stays its owner's.
    Variables(const Variables& other) : settings(other.settings), text(other.text) { settings.information = nullptr; }
    Variables& operator=(const Variables&) = delete;
    ~Variables() { delete settings.information; }

    static TextSettings Defaults();
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

// The settings and the string of a Text object; null for other objects.
Variables* Find(Entity* entity);

// "CalcText": (re)lays the text out into its cached layout, made on first use.
void CalcText(Entity* self, Entity* other);
// "GraphicsDraw": queues the text into the current frame.
void GraphicsDraw(Entity* self, Entity* other);

// Binds the Text variables of block v (a Text's or a message's own copies).
void BindTextVariables(VariableOffsetTable& table, const Entity& prototype, const Variables& v);

}  // namespace ObjectData::Text

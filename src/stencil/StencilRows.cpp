#include "stencil/StencilRows.h"

#include "collision/CollisionEngine.h"
#include "framework/LevelTemplate.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "platform/graphics/TripleBuffer.h"
#include "widgets/SingleLineTextBox.h"
#include "widgets/Text.h"
#include "widgets/WidgetSupport.h"

namespace StencilRows {

namespace {

ObjectData::Text::Variables* TextOfRow(Entity* row) {
    ObjectData::SingleLineTextBox::Variables* box = ObjectData::SingleLineTextBox::Find(row);
    return box != nullptr ? ObjectData::Text::Find(box->textObject) : nullptr;
}

}  // namespace

Object* Make(State* state, Entity* owner, const std::string& text, float x, float y, const RowLook& look,
             bool keepBehavior) {
    Object* row = LevelTemplate::SpawnIn(state, "SingleLineTextBox", "");
    ObjectData::SingleLineTextBox::Variables* box = ObjectData::SingleLineTextBox::Find(row);
    if (box == nullptr) return nullptr;
    if (ObjectData::Text::Variables* t = ObjectData::Text::Find(box->textObject)) {
        t->settings.primaryColorBack = 0;
        t->text = text;
    }
    box->position = D3DXVECTOR3(x, y, 0.0f);
    box->size = look.size;
    SetLook(row, look.colour, look.highlight);
    if (!keepBehavior) row->RemoveFromEngine("Behavior");
    Widgets::RaiseOwn(row, "ApplyNewSettings", owner);
    return row;
}

void Append(Entity* owner, const Column& column, const std::string& text, float dx) {
    std::vector<Object*>& rows = *column.rows;
    const D3DXVECTOR3* last = rows.empty() ? nullptr : FindVariable<D3DXVECTOR3>(rows.back(), enum_position);
    const float y = last != nullptr ? last->y - kPanelRowStep : kPanelFirstRowY;
    if (Object* row = Make(owner->_state, owner, text, column.x + dx, y, *column.look)) rows.push_back(row);
}

void RemoveRow(const std::vector<Column>& columns, std::size_t index) {
    for (const Column& column : columns) {
        std::vector<Object*>& rows = *column.rows;
        if (index >= rows.size()) continue;
        if (rows[index] != nullptr) rows[index]->_Delete();
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

void SetLook(Entity* row, const D3DXVECTOR3& colour, bool highlight) {
    ObjectData::SingleLineTextBox::Variables* box = ObjectData::SingleLineTextBox::Find(row);
    if (box == nullptr) return;
    box->colorBG = colour;
    box->EnableHighlighting = highlight;
    box->isSelectedColor = highlight;
    box->notHighlightColor = colour;
}

std::string Text(Entity* row) {
    const ObjectData::Text::Variables* t = TextOfRow(row);
    return t != nullptr ? t->text : std::string();
}

void SetText(Entity* row, const std::string& text) {
    ObjectData::SingleLineTextBox::Variables* box = ObjectData::SingleLineTextBox::Find(row);
    ObjectData::Text::Variables* t = TextOfRow(row);
    if (t == nullptr) return;
    t->text = text;
    // A caret past the new end would point outside the text.
    if (t->settings.cursorLoc > static_cast<int>(text.size())) t->settings.cursorLoc = static_cast<int>(text.size());
    if (t->settings.selectedStart > static_cast<int>(text.size()))
        t->settings.selectedStart = static_cast<int>(text.size());
    Widgets::RaiseOwn(box->textObject, "CalcText", row);
}

bool Selected(Entity* row) {
    const ObjectData::SingleLineTextBox::Variables* box = ObjectData::SingleLineTextBox::Find(row);
    return box != nullptr && box->selected;
}

int FirstSelected(const std::vector<Object*>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (Selected(rows[i])) return static_cast<int>(i);
    return -1;
}

Object* Label(State* state, const std::string& text, float x, float y, float charHeight) {
    Object* label = LevelTemplate::SpawnIn(state, "Text", "");
    ObjectData::Text::Variables* t = ObjectData::Text::Find(label);
    if (t == nullptr) return label;
    t->settings.charHeight = charHeight;
    t->settings.fixedWidth = false;
    t->settings.multiLine = false;
    t->settings.hAlign = 1;
    t->settings.vAlign = 1;
    t->settings.x = x;
    t->settings.y = y;
    t->settings.z = kLabelDepth;
    t->text = text;
    Widgets::RaiseOwn(label, "CalcText", label);
    return label;
}

void SetLabel(Entity* label, const std::string& text) {
    ObjectData::Text::Variables* t = ObjectData::Text::Find(label);
    if (t == nullptr) return;
    t->text = text;
    Widgets::RaiseOwn(label, "CalcText", label);
}

std::string LabelText(Entity* label) {
    const ObjectData::Text::Variables* t = ObjectData::Text::Find(label);
    return t != nullptr ? t->text : std::string();
}

void FitLabel(Entity* label, float width) {
    ObjectData::Text::Variables* t = ObjectData::Text::Find(label);
    if (t == nullptr || width <= 0.0f) return;
    t->settings.width = width;
    Widgets::RaiseOwn(label, "CalcText", label);
    const TextData* layout = t->settings.information;
    if (layout == nullptr) return;
    const float wide = layout->totalWidth * t->settings.charHeight;
    if (wide <= width) return;
    t->settings.charHeight *= width / wide;
    Widgets::RaiseOwn(label, "CalcText", label);
}

Object* Paragraph(State* state, const std::string& text, float x, float y, float width, float height,
                  float charHeight) {
    Object* label = LevelTemplate::SpawnIn(state, "Text", "");
    ObjectData::Text::Variables* t = ObjectData::Text::Find(label);
    if (t == nullptr) return label;
    TextSettings& s = t->settings;
    s.charHeight = charHeight;
    s.fixedWidth = false;
    s.multiLine = true;
    s.hAlign = 0;
    s.vAlign = 0;
    s.x = x;
    s.y = y;
    s.z = kLabelDepth;
    s.width = width;
    s.height = height;
    s.primaryColor = kLightInk;
    t->text = text;
    Widgets::RaiseOwn(label, "CalcText", label);
    return label;
}

Object* MakeLabelRow(State* state, const std::string& text, float x, float y, const RowLook& look) {
    Object* row = LevelTemplate::SpawnIn(state, "SingleLineTextBox", "");
    ObjectData::SingleLineTextBox::Variables* box = ObjectData::SingleLineTextBox::Find(row);
    if (box == nullptr) return nullptr;
    // Nothing runs its own step: it never takes the keyboard or the focus.
    row->RemoveFromEngine("Behavior");
    Widgets::RaiseOwn(row, "RemoveTabbing", row);
    box->position = D3DXVECTOR3(x, y, 0.0f);
    box->size = look.size;
    SetLook(row, look.colour, look.highlight);
    box->isSelectedColor = false;
    if (ObjectData::Text::Variables* t = ObjectData::Text::Find(box->textObject)) {
        TextSettings& s = t->settings;
        s.primaryColorBack = 0;
        s.hAlign = 0;
        s.x = box->position.x;
        s.y = box->position.y;
        s.z = box->position.z + 0.001f;
        s.height = box->size.y;
        s.multiLine = false;
    }
    SetRowText(row, text);
    return row;
}

void SetRowText(Entity* row, const std::string& text) {
    ObjectData::SingleLineTextBox::Variables* box = ObjectData::SingleLineTextBox::Find(row);
    ObjectData::Text::Variables* t = TextOfRow(row);
    if (t == nullptr) return;
    t->text = text;
    t->settings.cursorLoc = t->settings.selectedStart = -1;
    t->settings.startCharacter = 0;
    t->settings.charHeight = box->size.y * 0.9f;
    // A little room either side of the letters.
    FitLabel(box->textObject, box->size.x * 0.96f);
}

bool UnderPointer(Entity* row) {
    Object* cursor = Widgets::FindCursor(row);
    return row != nullptr && cursor != nullptr && collisionEngine.Check(row, cursor);
}

void SetPixelSize(Entity* object, int width, int height) {
    if (object == nullptr) return;
    State* const caller = State::_currentState;
    if (object->_state != nullptr) State::_currentState = object->_state;
    object->SetSize(width, height);
    State::_currentState = caller;
}

void SetUpWindow(int width, int height, float aspect) {
    State::SetSize(width, height);
    State::SetResolution(aspect);
    TripleBuffer::OnLost();
    TripleBuffer::OnReset();
}

void PlainBackdrop(State* state) {
    Object* back = LevelTemplate::SpawnIn(state, "Background", "");
    LevelTemplate::SetIfPresent<std::uint32_t>(back, enum_color, 0xFF706D55u);
}

}  // namespace StencilRows

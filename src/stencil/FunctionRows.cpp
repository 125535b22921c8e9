#include "stencil/FunctionRows.h"

#include "framework/LevelTemplate.h"
#include "framework/Object.h"
#include "widgets/SingleLineTextBox.h"
#include "widgets/Text.h"
#include "widgets/WidgetSupport.h"

namespace FunctionRows {

namespace {

ObjectData::Text::Variables* TextOf(Entity* row) {
    ObjectData::SingleLineTextBox::Variables* box = ObjectData::SingleLineTextBox::Find(row);
    return box != nullptr ? ObjectData::Text::Find(box->textObject) : nullptr;
}

}  // namespace

Object* MakeRow(Entity* panel, const std::string& text, float x, float y, float width, const D3DXVECTOR3& colour) {
    Object* row = LevelTemplate::SpawnIn(panel->_state, "SingleLineTextBox");
    ObjectData::SingleLineTextBox::Variables* box = ObjectData::SingleLineTextBox::Find(row);
    if (box == nullptr) return row;
    if (ObjectData::Text::Variables* t = TextOf(row)) {
        t->settings.primaryColorBack = 0;
        t->text = text;
    }
    box->position = D3DXVECTOR3(x, y, 0.0f);
    box->colorBG = colour;
    // Away from the pointer the row keeps its own colour.
    box->notHighlightColor = colour;
    box->size = D3DXVECTOR2(width, kRowHeight);
    box->EnableHighlighting = true;
    box->isSelectedColor = true;
    Widgets::RaiseOwn(row, "ApplyNewSettings", panel);
    return row;
}

float NextRowY(const std::vector<Object*>& column) {
    if (column.empty()) return kFirstRowY;
    const D3DXVECTOR3* last = column.back() != nullptr ? FindVariable<D3DXVECTOR3>(column.back(), enum_position) : nullptr;
    const float lastY = last != nullptr ? last->y : kFirstRowY - kRowHeight * static_cast<float>(column.size() - 1);
    return lastY - kRowHeight;
}

std::string Text(Entity* row) {
    const ObjectData::Text::Variables* t = TextOf(row);
    return t != nullptr ? t->text : std::string();
}

bool Selected(Entity* row) {
    const ObjectData::SingleLineTextBox::Variables* box = ObjectData::SingleLineTextBox::Find(row);
    return box != nullptr && box->selected;
}

void MoveX(Entity* entity, float dx) {
    if (D3DXVECTOR3* p = entity != nullptr ? FindVariable<D3DXVECTOR3>(entity, enum_position) : nullptr) p->x += dx;
}

Object* MakeButton(Entity* panel, float x, const char* label, const char* toolTip) {
    Object* button = LevelTemplate::SpawnIn(panel->_state, "StencilButton");
    if (button == nullptr) return nullptr;
    button->SetSize(30, 30);
    LevelTemplate::SetIfPresent(button, enum_position, D3DXVECTOR3(x, 0.45f, 0.0f));
    LevelTemplate::SetIfPresent(button, enum_texture, label);
    LevelTemplate::SetIfPresent(button, enum_toolTip, std::string(toolTip));
    LevelTemplate::SetIfPresent<Entity*>(button, enum_master, panel);
    return button;
}

}  // namespace FunctionRows

#include "stencil/StencilPanel.h"

#include "framework/Object.h"
#include "stencil/PanelButtons.h"

namespace ObjectData::StencilPanel {

float RowsDx(const Panel& v) { return v.oldHideState ? v.hideOffset : 0.0f; }

void MakeButtons(Entity* self, Panel& v, const char* addTip, const char* removeTip) {
    const PanelButtons::EditButtons buttons = PanelButtons::MakeEditButtons(self, RowsDx(v), addTip, removeTip);
    v.applyButton = buttons.apply;
    v.addButton = buttons.add;
    v.deleteButton = buttons.remove;
}

void Shift(const std::vector<Object*>& pieces, float dx) {
    for (Object* piece : pieces) {
        D3DXVECTOR3* position = FindVariable<D3DXVECTOR3>(piece, enum_position);
        if (position == nullptr) continue;
        // A row's text follows its box when the box next lays it out.
        position->x += dx;
    }
}

void ApplyHiding(Panel& v, std::initializer_list<const std::vector<Object*>*> columns) {
    if (v.hide == v.oldHideState) return;
    v.oldHideState = v.hide;
    const float dx = v.hide ? v.hideOffset : -v.hideOffset;
    Shift({v.applyButton, v.addButton, v.deleteButton}, dx);
    for (const std::vector<Object*>* rows : columns) Shift(*rows, dx);
}

void HandleClick(Panel& v, const std::function<void()>& confirm, const std::function<void()>& add,
                 const std::function<void()>& remove) {
    if (v.clickedStencil == "nothing") return;
    if (v.clickedStencil == "confirm")
        confirm();
    else if (v.clickedStencil == "Add Stencil")
        add();
    else if (v.clickedStencil == "Delete Stencil")
        remove();
    v.clickedStencil = "nothing";
}

void Load(Entity* self, Entity*) {
    if (std::string* clicked = FindVariable<std::string>(self, enum_clickedStencil)) *clicked = "nothing";
}

}  // namespace ObjectData::StencilPanel

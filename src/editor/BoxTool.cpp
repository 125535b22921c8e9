#include "editor/BoxTool.h"

#include <optional>

#include "editor/EditorTools.h"
#include "framework/Event.h"

namespace ObjectData::BoxTool {

namespace {

VariableOffsetTable table;

void Reset(Variables& v) {
    v.boxCorner1 = v.boxCorner2 = {-1.0f, -1.0f};
    v.makingbox = false;
}

void Drag(Variables& v, D3DXVECTOR2 p, int value) {
    if (!v.makingbox) {
        v.boxCorner1 = p;
        v.makingbox = true;
    }
    v.boxCorner2 = p;
    v.boxValue = value;
}

// One step for the whole box. Cells outside the grid are not part of it.
void Fill(Variables& v, ObjectData::Grid::Variables& g, int value) {
    auto* step = new Action;
    ForEachCell(v.boxCorner1, v.boxCorner2, [&](int c, int r) {
        EditorTools::Write(*step, g, {static_cast<float>(c), static_cast<float>(r)}, value);
    });
    EditorTools::Push(g.grid, step);
    Reset(v);
}

// What a frame does with the buttons; p is the cursor's cell, or empty when
// the cursor is off the grid (then only a release is looked at).
void Stroke(Variables& v, ObjectData::Grid::Variables& grid, int selected, std::optional<D3DXVECTOR2> p) {
    // The left button wins while it is down.
    if (EditorTools::ButtonDown(0)) {
        if (p) Drag(v, *p, selected);
    } else if (EditorTools::ButtonReleased(0)) {
        if (v.makingbox) Fill(v, grid, selected);
    } else if (EditorTools::ButtonDown(1)) {
        if (p) Drag(v, *p, 0);
    } else if (EditorTools::ButtonReleased(1)) {
        if (v.makingbox) Fill(v, grid, 0);
    }
    if (EditorTools::ButtonReleased(0) || EditorTools::ButtonReleased(1)) Reset(v);
}

}  // namespace

void Behavior(Entity* self, Entity* gridObject) {
    std::optional<EditorTools::View> view = EditorTools::FindView(self, gridObject);
    if (!view) return;
    Stroke(VariablesOf<Variables>(self), *view->gridObject, view->editor->SelectedValue,
           EditorTools::CursorCell(*view, self));
}

void EndStroke(Entity* self, Entity* gridObject) {
    std::optional<EditorTools::View> view = EditorTools::FindView(self, gridObject);
    if (!view) return;
    Stroke(VariablesOf<Variables>(self), *view->gridObject, view->editor->SelectedValue, std::nullopt);
}

void GraphicsDraw(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    if (v.boxCorner1.x < 0.0f) return;
    std::optional<EditorTools::View> view = EditorTools::FindView(self, nullptr);
    if (!view) return;
    ForEachCell(v.boxCorner1, v.boxCorner2, [&](int c, int r) {
        EditorTools::QueueValue(*view, v.boxValue, EditorTools::CellCentreX(*view, c),
                                EditorTools::CellCentreY(*view, r));
    });
}

void _Init(Object*& slot) {
    _DATA* prototype = EditorTools::BeginTool<Variables>(
        slot, "BoxTool", table, {.behavior = &Behavior, .draw = &GraphicsDraw, .endStroke = &EndStroke});
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_boxCorner1, v.boxCorner1);
    BindVariable(table, *prototype, enum_boxCorner2, v.boxCorner2);
    BindVariable(table, *prototype, enum_boxValue, v.boxValue);
    BindVariable(table, *prototype, enum_makingbox, v.makingbox);
}

}  // namespace ObjectData::BoxTool

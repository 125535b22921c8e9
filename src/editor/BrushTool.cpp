#include "editor/BrushTool.h"

#include <optional>

#include "editor/EditorTools.h"
#include "framework/Event.h"

namespace ObjectData::BrushTool {

namespace {

VariableOffsetTable table;

// A copy never shares an open stroke with its source: the step is owned.
void Copy(Entity* copy, const Entity* source) {
    ConstructVariables<Variables>(copy, source);
    Variables& v = VariablesOf<Variables>(copy);
    v.lineAction = nullptr;
    v.makingline = false;
    copy->DoEvent("Load");
}

// Starts the stroke at p, or moves on to p.
void Advance(Variables& v, D3DXVECTOR2 p) {
    if (!v.makingline) {
        v.curPos = v.oldPos = p;
        delete v.lineAction;
        v.lineAction = new Action;
        v.makingline = true;
    } else {
        v.oldPos = v.curPos;
        v.curPos = p;
    }
}

// The samples run from the cursor forward along this frame's movement.
void Sample(Variables& v, ObjectData::Grid::Variables& g, int value) {
    const float dx = (v.curPos.x - v.oldPos.x) * 0.01f, dy = (v.curPos.y - v.oldPos.y) * 0.01f;
    for (int k = 0; k < kSamples; ++k) {
        const D3DXVECTOR2 point(v.curPos.x + static_cast<float>(k) * dx, v.curPos.y + static_cast<float>(k) * dy);
        // Cells that already hold the value are left out, so each changed
        // cell is recorded once and a stroke that changes nothing records nothing.
        if (g.grid.GetCell(point) == value) continue;
        EditorTools::Write(*v.lineAction, g, point, value);
    }
}

// The stroke ends on a release of either button.
void Finish(Variables& v, LevelCollision& grid) {
    if (!v.makingline || !(EditorTools::ButtonReleased(0) || EditorTools::ButtonReleased(1))) return;
    Action* step = v.lineAction;
    v.lineAction = nullptr;
    if (step != nullptr && !step->positions.empty())
        EditorTools::Push(grid, step);
    else
        delete step;
    v.makingline = false;
}

}  // namespace

void Behavior(Entity* self, Entity* gridObject) {
    std::optional<EditorTools::View> view = EditorTools::FindView(self, gridObject);
    if (!view) return;
    Variables& v = VariablesOf<Variables>(self);
    LevelCollision& grid = *view->grid;
    const std::optional<D3DXVECTOR2> p = EditorTools::CursorCell(*view, self);
    const int selected = view->editor->SelectedValue;
    if (p && EditorTools::ButtonDown(0) && selected != LevelCellValue::LevelStart) {
        Advance(v, *p);
        Sample(v, *view->gridObject, selected);
    } else if (p && EditorTools::ButtonDown(1)) {
        Advance(v, *p);
        Sample(v, *view->gridObject, 0);
    } else if (p && EditorTools::ButtonDown(0)) {
        // The start follows the cursor while the button is held. It is no
        // edit of its own (the grid writes it every frame), and it never
        // leaves the cells: a level without a start cannot be played.
        D3DXVECTOR2* start = &view->gridObject->StartPos;
        if (start != nullptr && grid.GetCell(*p) >= 0) {
            grid.SetCell(*start, 0);
            v.curPos = *p;
            *start = *p;
        }
    }
    Finish(v, grid);
}

void EndStroke(Entity* self, Entity* gridObject) {
    std::optional<EditorTools::View> view = EditorTools::FindView(self, gridObject);
    if (view) Finish(VariablesOf<Variables>(self), *view->grid);
}

void _Init(Object*& slot) {
    _DATA* prototype = EditorTools::BeginTool<Variables>(slot, "BrushTool", table,
                                                         {.behavior = &Behavior, .endStroke = &EndStroke}, &Copy);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_makingline, v.makingline);
    BindVariable(table, *prototype, enum_oldPos, v.oldPos);
    BindVariable(table, *prototype, enum_curPos, v.curPos);
    BindVariable(table, *prototype, enum_lineAction, v.lineAction);
}

}  // namespace ObjectData::BrushTool

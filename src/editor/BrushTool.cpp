#include "editor/BrushTool.h"

#include <cmath>
#include <cstdlib>
#include <limits>
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

// Starts the stroke at p, or moves on to p. After the pointer has been off
// the grid the stroke goes on from where it comes back, not along a line
// across the cells it never passed over.
void Advance(Variables& v, D3DXVECTOR2 p) {
    if (!v.makingline) {
        v.curPos = v.oldPos = p;
        delete v.lineAction;
        v.lineAction = new Action;
        v.makingline = true;
    } else if (v.curPos.x < 0.0f) {
        v.curPos = v.oldPos = p;
    } else {
        v.oldPos = v.curPos;
        v.curPos = p;
    }
}

// Every cell the segment from `from` to `to` passes through, in order from
// the first: the pointer may cross many cells between two frames, and each
// of them is part of the stroke.
template <class Visit>
void CellsAlong(D3DXVECTOR2 from, D3DXVECTOR2 to, Visit visit) {
    const double x0 = from.x, y0 = from.y, dx = static_cast<double>(to.x) - x0, dy = static_cast<double>(to.y) - y0;
    long long cx = static_cast<long long>(std::floor(x0)), cy = static_cast<long long>(std::floor(y0));
    const long long ex = static_cast<long long>(std::floor(static_cast<double>(to.x)));
    const long long ey = static_cast<long long>(std::floor(static_cast<double>(to.y)));
    const int stepX = dx > 0.0 ? 1 : -1, stepY = dy > 0.0 ? 1 : -1;
    constexpr double kNever = std::numeric_limits<double>::infinity();
    // How far along the segment (0 to 1) the next column and row lines lie.
    double nextX = dx != 0.0
                       ? (stepX > 0 ? static_cast<double>(cx + 1) - x0 : x0 - static_cast<double>(cx)) / std::fabs(dx)
                       : kNever;
    double nextY = dy != 0.0
                       ? (stepY > 0 ? static_cast<double>(cy + 1) - y0 : y0 - static_cast<double>(cy)) / std::fabs(dy)
                       : kNever;
    const double acrossX = dx != 0.0 ? 1.0 / std::fabs(dx) : kNever, acrossY = dy != 0.0 ? 1.0 / std::fabs(dy) : kNever;
    visit(cx, cy);
    // One step per line crossed; the count bounds the walk whatever the rounding.
    for (long long steps = std::llabs(ex - cx) + std::llabs(ey - cy); steps > 0 && (cx != ex || cy != ey); --steps) {
        if (nextX < nextY) {
            cx += stepX;
            nextX += acrossX;
        } else {
            cy += stepY;
            nextY += acrossY;
        }
        visit(cx, cy);
    }
}

// Paints the cells passed since the last frame (the one under the pointer
// alone at the stroke's first frame).
void Sample(Variables& v, ObjectData::Grid::Variables& g, int value) {
    CellsAlong(v.oldPos, v.curPos, [&](long long c, long long r) {
        const D3DXVECTOR2 cell(static_cast<float>(c), static_cast<float>(r));
        // Cells that already hold the value are left out, so each changed
        // cell is recorded once and a stroke that changes nothing records nothing.
        if (g.grid.GetCell(cell) == value) return;
        EditorTools::Write(*v.lineAction, g, cell, value);
    });
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
    } else if (p && v.makingline) {
        // Let go in this frame: the way the pointer went since the last frame
        // up to where it was let go belongs to the stroke too (on a busy
        // machine the last movement and the release often come in one frame).
        if (EditorTools::ButtonReleased(0) && selected != LevelCellValue::LevelStart) {
            Advance(v, *p);
            Sample(v, *view->gridObject, selected);
        } else if (EditorTools::ButtonReleased(1)) {
            Advance(v, *p);
            Sample(v, *view->gridObject, 0);
        }
    }
    Finish(v, grid);
}

void EndStroke(Entity* self, Entity* gridObject) {
    std::optional<EditorTools::View> view = EditorTools::FindView(self, gridObject);
    if (view) Finish(VariablesOf<Variables>(self), *view->grid);
}

void LeftGrid(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    if (v.makingline) v.curPos = v.oldPos = {-1.0f, -1.0f};
}

void _Init(Object*& slot) {
    _DATA* prototype = EditorTools::BeginTool<Variables>(
        slot, "BrushTool", table, {.behavior = &Behavior, .endStroke = &EndStroke, .leftGrid = &LeftGrid}, &Copy);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_makingline, v.makingline);
    BindVariable(table, *prototype, enum_oldPos, v.oldPos);
    BindVariable(table, *prototype, enum_curPos, v.curPos);
    BindVariable(table, *prototype, enum_lineAction, v.lineAction);
}

}  // namespace ObjectData::BrushTool

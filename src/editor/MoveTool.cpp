#include "editor/MoveTool.h"

#include <algorithm>
#include <optional>

#include "editor/EditorTools.h"
#include "framework/Event.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/input/KeyCodes.h"
#include "platform/input/Keyboard.h"

namespace ObjectData::MoveTool {

namespace {

VariableOffsetTable table;

constexpr const char* kMark = "moveSelectedBox";

int Truncate(float f) { return static_cast<int>(f); }

// Whether entry of the block was taken from beyond the grid. A block that
// came without its record of such entries (set from elsewhere) reads −1 as
// beyond, as the block's own values say.
bool FromOutside(const Variables& v, std::size_t entry) {
    return entry < v.outside.size() ? static_cast<bool>(v.outside[entry]) : v.box[entry] == -1;
}

void Reset(Variables& v) {
    v.SelectingArea = true;
    v.makingbox = v.moving = v.movingStartPos = false;
    v.boxCorner1 = v.boxCorner2 = v.boxPosition = v.oldPos = v.curPos = {-1.0f, -1.0f};
    v.boxWidth = v.boxHeight = 0;
    // A step still held here belongs to no block any more.
    delete v.moveAction;
    v.moveAction = nullptr;
}

// Puts the lifted block down at boxPosition (truncated) and hands the lift
// and the drop to the undo stack as one step. Block cells that land outside
// the grid are lost from the level; entries taken from outside the grid
// write nothing.
void Drop(Variables& v, ObjectData::Grid::Variables& g) {
    if (v.box == nullptr) return;
    if (v.moveAction == nullptr) v.moveAction = new Action;
    const int firstC = Truncate(v.boxPosition.x), firstR = Truncate(v.boxPosition.y);
    for (int r = firstR; r < firstR + v.boxHeight; ++r)
        for (int c = firstC; c < firstC + v.boxWidth; ++c) {
            const std::size_t entry = static_cast<std::size_t>((r - firstR) * v.boxWidth + (c - firstC));
            if (!FromOutside(v, entry))
                EditorTools::Write(*v.moveAction, g, {static_cast<float>(c), static_cast<float>(r)}, v.box[entry]);
        }
    // The step keeps the valid flag from before the lift.
    g.grid.PushUndoAction(v.moveAction);
    v.moveAction = nullptr;
    delete[] v.box;
    v.box = nullptr;
    v.outside.clear();
}

// Lifts the cells from (minC, minR) to (maxC, maxR), both ends included,
// into a new block of boxWidth × boxHeight. The level start stays in its
// cell; its place in the block holds 0.
void Lift(Variables& v, ObjectData::Grid::Variables& g, int minC, int maxC, int minR, int maxR) {
    delete[] v.box;
    delete v.moveAction;
    const std::size_t entries = static_cast<std::size_t>(v.boxWidth) * static_cast<std::size_t>(v.boxHeight);
    v.box = new std::int32_t[entries]();
    v.outside.assign(entries, false);
    v.moveAction = new Action;
    v.movingStartPos = false;
    std::size_t entry = 0;
    for (int r = minR; r <= maxR; ++r)
        for (int c = minC; c <= maxC; ++c, ++entry) {
            const D3DXVECTOR2 at(static_cast<float>(c), static_cast<float>(r));
            const int old = g.grid.GetCell(at);
            v.outside[entry] = c < 0 || r < 0 || c >= g.grid.GetWidth() || r >= g.grid.GetHeight();
            if (old == LevelCellValue::LevelStart && !v.outside[entry]) {
                v.box[entry] = 0;
                continue;
            }
            v.box[entry] = old;
            EditorTools::Write(*v.moveAction, g, at, 0);
        }
    v.moveAction->validFlag = g.grid.GetValidFlag();
    g.grid.SetValidFlag(false);
}

// The selection's far corner is part of it.
void LiftSelection(Variables& v, ObjectData::Grid::Variables& grid) {
    v.makingbox = false;
    const float minX = std::min(v.boxCorner1.x, v.boxCorner2.x), maxX = std::max(v.boxCorner1.x, v.boxCorner2.x);
    const float minY = std::min(v.boxCorner1.y, v.boxCorner2.y), maxY = std::max(v.boxCorner1.y, v.boxCorner2.y);
    v.boxWidth = Truncate(maxX + 1.0f) - Truncate(minX);
    v.boxHeight = Truncate(maxY + 1.0f) - Truncate(minY);
    Lift(v, grid, Truncate(minX), Truncate(maxX), Truncate(minY), Truncate(maxY));
    v.boxPosition = {minX, minY};
}

// The mouse part of a frame; p is empty when the cursor is off the grid (a
// release handed over by the grid).
void MouseStep(Variables& v, ObjectData::Grid::Variables& grid, std::optional<D3DXVECTOR2> p) {
    if (EditorTools::ButtonDown(0) && v.SelectingArea) {
        if (p) {
            if (!v.makingbox) {
                v.boxCorner1 = *p;
                v.makingbox = true;
            }
            v.boxCorner2 = *p;
        }
    } else if (EditorTools::ButtonReleased(0)) {
        v.SelectingArea = false;
    }
    if (!v.SelectingArea && v.makingbox) LiftSelection(v, grid);
    if (EditorTools::ButtonDown(0) && !v.SelectingArea) {
        if (!p) {
            // Off the grid the block stays where it is.
        } else if (v.moving) {
            v.oldPos = v.curPos;
            v.curPos = *p;
            v.boxPosition.x += v.curPos.x - v.oldPos.x;
            v.boxPosition.y += v.curPos.y - v.oldPos.y;
        } else if (v.boxPosition.x < p->x && p->x < v.boxPosition.x + static_cast<float>(v.boxWidth) &&
                   v.boxPosition.y < p->y && p->y < v.boxPosition.y + static_cast<float>(v.boxHeight)) {
            v.moving = true;
            v.oldPos = v.curPos = *p;
        } else {
            // A press outside the block puts it down; a held button then
            // starts a new selection next frame.
            Drop(v, grid);
            Reset(v);
        }
    } else if (EditorTools::ButtonReleased(0) && !v.SelectingArea) {
        v.moving = false;
        v.oldPos = v.curPos = {-1.0f, -1.0f};
    }
    if (EditorTools::ButtonPressed(1)) {
        Drop(v, grid);
        Reset(v);
    }
}

void SelectAll(Variables& v, ObjectData::Grid::Variables& grid) {
    Drop(v, grid);
    v.SelectingArea = v.makingbox = v.movingStartPos = false;
    v.boxWidth = grid.grid.GetWidth() + 1;
    v.boxHeight = grid.grid.GetHeight() + 1;
    // One column and one row beyond the grid come along; they hold −1 and
    // are never written or recorded.
    Lift(v, grid, 0, grid.grid.GetWidth(), 0, grid.grid.GetHeight());
    v.boxPosition = {0.0f, 0.0f};
}

void Delete(Variables& v, ObjectData::Grid::Variables& grid) {
    if (v.box != nullptr) {
        // The step holds only the lift: the cells stay empty.
        grid.grid.PushUndoAction(v.moveAction);
        v.moveAction = nullptr;
        delete[] v.box;
        v.box = nullptr;
        v.outside.clear();
    }
    Reset(v);
}

std::optional<EditorTools::View> ViewOf(Entity* self, Entity* gridObject) {
    return EditorTools::FindView(self, gridObject);
}

}  // namespace

void Load(Entity* self, Entity*) {
    // A copy never shares the source's lifted block or its step.
    Variables& v = VariablesOf<Variables>(self);
    v.box = nullptr;
    v.outside.clear();
    v.boxWidth = v.boxHeight = 0;
    v.moveAction = nullptr;
}

void Behavior(Entity* self, Entity* gridObject) {
    std::optional<EditorTools::View> view = ViewOf(self, gridObject);
    if (!view) return;
    Variables& v = VariablesOf<Variables>(self);
    ObjectData::Grid::Variables& grid = *view->gridObject;
    if (view->gridObject->drawing) MouseStep(v, grid, EditorTools::CursorCell(*view, self));
    if (Keyboard.Pressed(DIK_LCONTROL) && Keyboard.Triggered(DIK_A)) SelectAll(v, grid);
    if (Keyboard.Triggered(DIK_DELETE)) Delete(v, grid);
}

void EndStroke(Entity* self, Entity* gridObject) {
    std::optional<EditorTools::View> view = ViewOf(self, gridObject);
    if (view) MouseStep(VariablesOf<Variables>(self), *view->gridObject, std::nullopt);
}

void CleanUpBox(Entity* self, Entity* gridObject) {
    Variables& v = VariablesOf<Variables>(self);
    if (v.box != nullptr) {
        std::optional<EditorTools::View> view = ViewOf(self, gridObject);
        if (view) Drop(v, *view->gridObject);
    }
    Reset(v);
}

void GraphicsDraw(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    std::optional<EditorTools::View> view = ViewOf(self, nullptr);
    if (!view) return;
    if (v.box != nullptr) {
        // Only the block's cells inside the view are drawn.
        const int zoom = view->editor->ZoomScale;
        const int columns = zoom * view->editor->ScreenWidth, rows = zoom * view->editor->ScreenHeight;
        const int firstC = Truncate(v.boxPosition.x), firstR = Truncate(v.boxPosition.y);
        for (int vr = 0; vr < rows; ++vr)
            for (int vc = 0; vc < columns; ++vc) {
                const int c = vc + view->scrollX, r = vr + view->scrollY;
                if (c < firstC || c >= firstC + v.boxWidth || r < firstR || r >= firstR + v.boxHeight) continue;
                const std::size_t entry = static_cast<std::size_t>((r - firstR) * v.boxWidth + (c - firstC));
                const int value = v.box[entry];
                const float x = EditorTools::CellCentreX(*view, c), y = EditorTools::CellCentreY(*view, r);
                if (FromOutside(v, entry)) {
                    // Taken from beyond the grid: shown as the view shows the outside.
                    if (Buffer* buffer = graphicsEngine.GetCurrentBuffer())
                        ObjectData::Grid::QueueOutside(*buffer, x, y, view->unitX, view->unitY);
                } else
                    EditorTools::QueueValue(*view, value, x, y);
                EditorTools::QueueMark(*view, kMark, x, y, 10.0f);
            }
    }
    if (v.SelectingArea && v.boxCorner1.x >= 0.0f) {
        const int minC = Truncate(std::min(v.boxCorner1.x, v.boxCorner2.x));
        const int maxC = Truncate(std::max(v.boxCorner1.x, v.boxCorner2.x));
        const int minR = Truncate(std::min(v.boxCorner1.y, v.boxCorner2.y));
        const int maxR = Truncate(std::max(v.boxCorner1.y, v.boxCorner2.y));
        for (int r = minR; r <= maxR; ++r)
            for (int c = minC; c <= maxC; ++c)
                EditorTools::QueueMark(*view, kMark, EditorTools::CellCentreX(*view, c),
                                       EditorTools::CellCentreY(*view, r), 15.0f);
    }
}

void _Init(Object*& slot) {
    _DATA* prototype = EditorTools::BeginTool<Variables>(
        slot, "MoveTool", table,
        {.behavior = &Behavior, .draw = &GraphicsDraw, .load = &Load, .endStroke = &EndStroke, .cleanUp = &CleanUpBox});
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_SelectingArea, v.SelectingArea);
    BindVariable(table, *prototype, enum_makingbox, v.makingbox);
    BindVariable(table, *prototype, enum_moving, v.moving);
    BindVariable(table, *prototype, enum_movingStartPos, v.movingStartPos);
    BindVariable(table, *prototype, enum_boxCorner1, v.boxCorner1);
    BindVariable(table, *prototype, enum_boxCorner2, v.boxCorner2);
    BindVariable(table, *prototype, enum_boxHeight, v.boxHeight);
    BindVariable(table, *prototype, enum_boxWidth, v.boxWidth);
    BindVariable(table, *prototype, enum_box, v.box);
    BindVariable(table, *prototype, enum_boxPosition, v.boxPosition);
    BindVariable(table, *prototype, enum_oldPos, v.oldPos);
    BindVariable(table, *prototype, enum_curPos, v.curPos);
    BindVariable(table, *prototype, enum_moveAction, v.moveAction);
}

}  // namespace ObjectData::MoveTool

#include "editor/FillTool.h"

#include <algorithm>
#include <cstddef>
#include <optional>

#include "editor/EditorTools.h"
#include "framework/Event.h"

namespace ObjectData::FillTool {

namespace {

VariableOffsetTable table;

}  // namespace

Action* Fill(LevelCollision& grid, std::stack<D3DXVECTOR2>& stack, D3DXVECTOR2 p, int value, std::size_t* deepest) {
    const int width = grid.GetWidth();
    const float w = static_cast<float>(width), h = static_cast<float>(grid.GetHeight());
    int* cells = grid.GetGridPtr();
    // The index of the cell a place lies in, or -1 for a place outside the
    // cells (read as the grid reads it: the place truncated to its cell).
    auto cellOf = [&](D3DXVECTOR2 q) -> std::ptrdiff_t {
        if (!(q.x >= 0.0f && q.y >= 0.0f && q.x < w && q.y < h)) return -1;
        return static_cast<std::ptrdiff_t>(static_cast<int>(q.y)) * width + static_cast<int>(q.x);
    };
    // A press on a place the view counts but the cells do not (above a short
    // level) has no region: its −1 would match every place outside.
    const std::ptrdiff_t first = cellOf(p);
    if (first < 0 || cells == nullptr) return nullptr;
    const int target = cells[first];
    // The level start is the grid's to keep, never part of a region.
    if (target == value || target == LevelCellValue::LevelStart) return nullptr;
    while (!stack.empty()) stack.pop();
    // Only a place that still holds the region's value goes on the stack. The
    // fill writes nothing but `value`, so a place that does not hold it now
    // never will: leaving it off keeps the order of the cells filled and
    // only makes the stack shallower.
    auto push = [&](float x, float y) {
        const D3DXVECTOR2 q(x, y);
        const std::ptrdiff_t i = cellOf(q);
        if (i >= 0 && cells[i] == target) stack.push(q);
    };
    // The neighbours go on in this order, so the one below is looked at first.
    auto pushNeighbours = [&](D3DXVECTOR2 q) {
        push(q.x + 1.0f, q.y);
        push(q.x - 1.0f, q.y);
        push(q.x, q.y + 1.0f);
        push(q.x, q.y - 1.0f);
    };
    // The record grows to the region's size, which no cell count outside it
    // can exceed: room for every cell of that value is set aside at once
    // (only what is written is ever touched) instead of copying the lists
    // over and over as they double, and given back when the fill ends.
    const std::size_t room = static_cast<std::size_t>(
        std::count(cells, cells + static_cast<std::ptrdiff_t>(width) * grid.GetHeight(), target));
    auto* step = new Action;
    step->positions.reserve(room);
    step->deltas.reserve(room);
    step->values.reserve(room);
    step->Add(p, target, value);
    cells[first] = value;
    pushNeighbours(p);
    std::size_t most = stack.size();
    while (!stack.empty()) {
        const D3DXVECTOR2 q = stack.top();
        stack.pop();
        // Filled since it was pushed, by way of another neighbour.
        int& cell = cells[cellOf(q)];
        if (cell != target) continue;
        step->Add(q, target, value);
        cell = value;
        pushNeighbours(q);
        most = std::max(most, stack.size());
    }
    step->positions.shrink_to_fit();
    step->deltas.shrink_to_fit();
    step->values.shrink_to_fit();
    if (deepest != nullptr) *deepest = most;
    return step;
}

void Behavior(Entity* self, Entity* gridObject) {
    if (!EditorTools::ButtonDown(0)) return;
    std::optional<EditorTools::View> view = EditorTools::FindView(self, gridObject);
    if (!view) return;
    const std::optional<D3DXVECTOR2> p = EditorTools::CursorCell(*view, self);
    if (!p) return;
    Action* step = Fill(*view->grid, VariablesOf<Variables>(self).bucketStack, *p, view->editor->SelectedValue);
    if (step != nullptr) EditorTools::Push(*view->grid, step);
}

void _Init(Object*& slot) {
    _DATA* prototype = EditorTools::BeginTool<Variables>(slot, "FillTool", table, {.behavior = &Behavior});
    BindVariable(table, *prototype, enum_bucketStack, prototype->vars.bucketStack);
}

}  // namespace ObjectData::FillTool

#include "editor/FillTool.h"

#include <optional>

#include "editor/EditorTools.h"
#include "framework/Event.h"

namespace ObjectData::FillTool {

namespace {

VariableOffsetTable table;

// The neighbours go on in this order, so the one below is looked at first.
void PushNeighbours(std::stack<D3DXVECTOR2>& stack, D3DXVECTOR2 q) {
    stack.emplace(q.x + 1.0f, q.y);
    stack.emplace(q.x - 1.0f, q.y);
    stack.emplace(q.x, q.y + 1.0f);
    stack.emplace(q.x, q.y - 1.0f);
}

}  // namespace

Action* Fill(LevelCollision& grid, std::stack<D3DXVECTOR2>& stack, D3DXVECTOR2 p, int value, std::size_t* deepest) {
    const float w = static_cast<float>(grid.GetWidth()), h = static_cast<float>(grid.GetHeight());
    auto inside = [&](D3DXVECTOR2 q) { return q.x >= 0.0f && q.y >= 0.0f && q.x < w && q.y < h; };
    // A press on a place the view counts but the cells do not (above a short
    // level) has no region: its −1 would match every place outside.
    if (!inside(p)) return nullptr;
    const int target = grid.GetCell(p);
    // The level start is the grid's to keep, never part of a region.
    if (target == value || target == LevelCellValue::LevelStart) return nullptr;
    while (!stack.empty()) stack.pop();
    auto* step = new Action;
    step->Add(p, target, value);
    grid.SetCell(p, value);
    PushNeighbours(stack, p);
    std::size_t most = stack.size();
    while (!stack.empty()) {
        const D3DXVECTOR2 q = stack.top();
        stack.pop();
        if (!inside(q) || grid.GetCell(q) != target) continue;
        step->Add(q, target, value);
        grid.SetCell(q, value);
        PushNeighbours(stack, q);
        if (stack.size() > most) most = stack.size();
    }
    if (deepest != nullptr) *deepest = most;
    return step;
}

void Behavior(Entity* self, Entity* gridObject) {
    if (!EditorTools::ButtonDown(0)) return;
    std::optional<EditorTools::View> view = EditorTools::FindView(self, gridObject);
    if (!view) return;
    const std::optional<D3DXVECTOR2> p = EditorTools::CursorCell(*view, self);
    if (!p) return;
    Action* step = Fill(*view->grid, VariablesOf<Variables>(self).bucketStack, *p,
                        view->editor->SelectedValue);
    if (step != nullptr) EditorTools::Push(*view->grid, step);
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "FillTool", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsUpdate", Event());
    prototype->_TempAddEngine("GraphicsDraw", Event());
    prototype->_AddEvent("Load", Event());
    prototype->_AddEvent("Unload", Event());
    prototype->_AddEvent("Logic", Event());
    ObjectTemplate::StartVariables(prototype, table);
    BindVariable(table, *prototype, enum_bucketStack, prototype->vars.bucketStack);
}

}  // namespace ObjectData::FillTool

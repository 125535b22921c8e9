#include "editor/EditorTools.h"

#include <cmath>

#include "framework/Object.h"
#include "framework/Variables.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"
#include "platform/input/Mouse.h"
#include "widgets/WidgetSupport.h"

namespace EditorTools {

std::optional<View> FindView(Entity* tool, Entity* gridObject) {
    if (tool == nullptr) return std::nullopt;
    if (gridObject == nullptr) gridObject = tool->GetMyObject("EGrid");
    View view;
    view.editor = LevelData::LevelEditor::Of(tool);
    view.gridObject = ObjectData::Grid::Find(gridObject);
    if (view.editor == nullptr || view.gridObject == nullptr) return std::nullopt;
    view.grid = &view.gridObject->grid;
    view.left = view.gridObject->position.x - view.gridObject->size.x * 0.5f;
    view.bottom = view.gridObject->position.y - view.gridObject->size.y * 0.5f;
    view.unitX = view.editor->UnitScaleX;
    view.unitY = view.editor->UnitScaleY;
    // The tools address the cells the view shows, so they read the scroll as the view does.
    ObjectData::Grid::ScrollOffsets(gridObject, view.scrollX, view.scrollY);
    return view;
}

std::optional<D3DXVECTOR2> CursorCell(const View& view, Entity* tool) {
    const D3DXVECTOR3* c = FindVariable<D3DXVECTOR3>(Widgets::FindCursor(tool), enum_position);
    if (c == nullptr || view.unitX <= 0.0f || view.unitY <= 0.0f) return std::nullopt;
    // The distance from the view's corner is taken whole (a cursor just below
    // the lower edge addresses the row as far above it), as the tools always have.
    return D3DXVECTOR2(std::fabs(c->x - view.left) / view.unitX + static_cast<float>(view.scrollX),
                       std::fabs(c->y - view.bottom) / view.unitY + static_cast<float>(view.scrollY));
}

float CellCentreX(const View& view, int c) {
    return static_cast<float>(c - view.scrollX) * view.unitX + view.left + view.unitX * 0.5f;
}

float CellCentreY(const View& view, int r) {
    return static_cast<float>(r - view.scrollY) * view.unitY + view.bottom + view.unitY * 0.5f;
}

void Write(Action& step, ObjectData::Grid::Variables& g, D3DXVECTOR2 p, int value) {
    LevelCollision& grid = g.grid;
    if (!(p.x >= 0.0f && p.y >= 0.0f && p.x < static_cast<float>(grid.GetWidth()) &&
          p.y < static_cast<float>(grid.GetHeight())))
        return;
    if (g.StartPos.x >= 0.0f && g.StartPos.y >= 0.0f && static_cast<int>(p.x) == static_cast<int>(g.StartPos.x) &&
        static_cast<int>(p.y) == static_cast<int>(g.StartPos.y))
        return;
    step.Add(p, grid.GetCell(p), value);
    grid.SetCell(p, value);
}

void Push(LevelCollision& grid, Action* step) {
    step->validFlag = grid.GetValidFlag();
    grid.PushUndoAction(step);
    grid.SetValidFlag(false);
}

void QueueValue(const View& view, int value, float x, float y) {
    Buffer* buffer = graphicsEngine.GetCurrentBuffer();
    if (value == LevelCellValue::NoCollision || buffer == nullptr) return;
    const Frame& frame = FrameMap(LevelData::LevelEditor::CellTexture(*view.editor, value), 0, 0);
    const int list = ObjectData::Grid::TileList(value);
    if (list >= 0)
        buffer->AddTile(static_cast<unsigned>(list), x, y, 10.0f, view.unitX, view.unitY, 0.0f, frame, -1);
    else
        buffer->AddFrame(x, y, 1.0f, view.unitX, view.unitY, 0.0f, frame, -1);
}

void QueueMark(const View& view, const char* picture, float x, float y, float depth) {
    Buffer* buffer = graphicsEngine.GetCurrentBuffer();
    if (buffer == nullptr) return;
    buffer->AddFrame(x, y, depth, view.unitX, view.unitY, 0.0f, FrameMap(picture, 0, 0), -1);
}

bool ButtonDown(int button) { return Mouse.Pressed(static_cast<unsigned char>(button)); }
bool ButtonPressed(int button) { return Mouse.Triggered(static_cast<unsigned char>(button)); }
bool ButtonReleased(int button) { return Mouse.Released(static_cast<unsigned char>(button)); }

void DropLiftedBlock(Entity* inState) {
    Entity* gridObject = inState != nullptr ? inState->GetMyObject("EGrid") : nullptr;
    ObjectData::Grid::Variables* grid = ObjectData::Grid::Find(gridObject);
    if (grid != nullptr && grid->MoveTool != nullptr) Entity::_DoEvent("CleanUpBox", gridObject, grid->MoveTool);
}

}  // namespace EditorTools

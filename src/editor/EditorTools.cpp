#include "editor/EditorTools.h"

#include <cmath>
#include <list>
#include <string>

#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "framework/VariableBindings.h"
#include "framework/Variables.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"
#include "platform/input/Mouse.h"
#include "widgets/WidgetSupport.h"

namespace EditorTools {

namespace {

float FloatOf(const Entity* e, int number, float fallback) {
    const float* f = FindVariable<float>(const_cast<Entity*>(e), number);
    return f != nullptr ? *f : fallback;
}

int Truncate(float f) { return static_cast<int>(f); }

}  // namespace

std::optional<View> FindView(Entity* tool, Entity* gridObject) {
    if (tool == nullptr) return std::nullopt;
    if (gridObject == nullptr) gridObject = tool->GetMyObject("EGrid");
    LevelCollision* grid = FindVariable<LevelCollision>(gridObject, enum_grid);
    if (grid == nullptr) return std::nullopt;
    View view;
    view.level = tool->GetMyLevel();
    view.gridObject = gridObject;
    view.grid = grid;
    const D3DXVECTOR3* position = FindVariable<D3DXVECTOR3>(gridObject, enum_position);
    const D3DXVECTOR2* size = FindVariable<D3DXVECTOR2>(gridObject, enum_size);
    if (position != nullptr && size != nullptr) {
        view.left = position->x - size->x * 0.5f;
        view.bottom = position->y - size->y * 0.5f;
    }
    view.unitX = FloatOf(view.level, enum_UnitScaleX, 0.0f);
    view.unitY = FloatOf(view.level, enum_UnitScaleY, 0.0f);
    if (Entity* h = tool->GetMyObject("GSliderH")) view.scrollX = Truncate(FloatOf(h, enum_value, 0.0f));
    if (Entity* v = tool->GetMyObject("GSliderV"))
        view.scrollY = Truncate(FloatOf(v, enum_max, 0.0f) - FloatOf(v, enum_value, 0.0f));
    return view;
}

std::optional<D3DXVECTOR2> CursorCell(const View& view, Entity* tool) {
    Object* cursor = Widgets::FindCursor(tool);
    const D3DXVECTOR3* c = FindVariable<D3DXVECTOR3>(cursor, enum_position);
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

int LevelInt(const Entity* level, int number, int fallback) {
    const std::int32_t* i = FindVariable<std::int32_t>(const_cast<Entity*>(level), number);
    return i != nullptr ? *i : fallback;
}

const char* ObjectTexture(const Entity* level, int value) {
    // Cell values outside the table (a level file may hold any code) draw as
    // the values the table leaves at its default.
    static const char* const kUnlisted = "spdBoost";
    if (value < 0 || value >= kObjectTextures) value = kObjectTextures - 1;
    Entity* l = const_cast<Entity*>(level);
    if (!HasVariable(l, enum_objectTextures)) return kUnlisted;
    const auto& bound = VariableBindingsOf(l->_map);
    auto type = bound.find(enum_objectTextures);
    if (type == bound.end()) return kUnlisted;
    if (type->second == "std::string[]") {
        const std::string* table = &Variable<std::string>(l, enum_objectTextures);
        return table[value].c_str();
    }
    if (type->second == "char *[]") {
        const char* const* table = &Variable<const char*>(l, enum_objectTextures);
        return table[value] != nullptr ? table[value] : kUnlisted;
    }
    return kUnlisted;
}

bool Write(Action& step, LevelCollision& grid, D3DXVECTOR2 p, int value) {
    if (!(p.x >= 0.0f && p.y >= 0.0f && p.x < static_cast<float>(grid.GetWidth()) &&
          p.y < static_cast<float>(grid.GetHeight())))
        return false;
    step.Add(p, grid.GetCell(p), value);
    grid.SetCell(p, value);
    return true;
}

void Push(LevelCollision& grid, Action* step) {
    step->validFlag = grid.GetValidFlag();
    grid.PushUndoAction(step);
    grid.SetValidFlag(false);
}

void QueueValue(const Entity* level, int value, float x, float y, float w, float h) {
    if (value <= 0) return;
    Buffer* buffer = graphicsEngine.GetCurrentBuffer();
    if (buffer == nullptr) return;
    const Frame& frame = FrameMap(ObjectTexture(level, value), 0, 0);
    int list = -1;
    switch (value) {
        case 1: list = 7; break;
        case 2: case 3: case 4: case 5: case 6: list = 3; break;
        case 7: list = 4; break;
        case 104: case 105: case 106: list = 6; break;
        case 108: list = 0; break;
        default: break;
    }
    if (list >= 0)
        buffer->AddTile(static_cast<unsigned>(list), x, y, 10.0f, w, h, 0.0f, frame, -1);
    else
        buffer->AddFrame(x, y, 1.0f, w, h, 0.0f, frame, -1);
}

void QueueMark(const char* picture, float x, float y, float depth, float w, float h) {
    Buffer* buffer = graphicsEngine.GetCurrentBuffer();
    if (buffer == nullptr) return;
    buffer->AddFrame(x, y, depth, w, h, 0.0f, FrameMap(picture, 0, 0), -1);
}

bool ButtonDown(int button) { return Mouse.Pressed(static_cast<unsigned char>(button)); }
bool ButtonPressed(int button) { return Mouse.Triggered(static_cast<unsigned char>(button)); }
bool ButtonReleased(int button) { return Mouse.Released(static_cast<unsigned char>(button)); }

void DropLiftedBlock(Entity* inState) {
    if (inState == nullptr || inState->_state == nullptr) return;
    Entity* gridObject = inState->GetMyObject("EGrid");
    // Copied first: the drop may make or remove nothing, but the list is the state's.
    const std::list<Object*> objects = inState->_state->Objects();
    for (Object* o : objects)
        if (o != nullptr && o->GetType() == "MoveTool") Entity::_DoEvent("CleanUpBox", gridObject, o);
}

}  // namespace EditorTools

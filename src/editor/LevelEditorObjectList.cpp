#include "editor/LevelEditorObjectList.h"

#include <algorithm>
#include <cmath>

#include "editor/Grid.h"
#include "editor/LevelEditor.h"
#include "platform/graphics/Buffer.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"
#include "platform/input/Mouse.h"
#include "widgets/Button.h"
#include "widgets/Text.h"

namespace ObjectData::LevelEditorObjectList {

namespace {

VariableOffsetTable table;

constexpr std::uint32_t kTilesColour = 0xFFC4BDADu;
constexpr std::uint32_t kObjectsColour = 0xFF424233u;

// The entries of each tab, placed by their distance k from the end of the
// layout's cell array (so they keep to the top rows whatever its size).
struct Entry {
    int tab;
    int k;
    int value;
};
constexpr Entry kEntries[] = {
    {0, 2, 3},   {0, 4, 4},   {0, 8, 5},   {0, 6, 6},   {0, 15, 1},  {0, 14, 7},   {0, 13, 2},   {1, 1, 102},
    {1, 2, 103}, {1, 3, 101}, {1, 7, 105}, {1, 8, 104}, {1, 9, 106}, {1, 13, 100}, {1, 14, 108}, {1, 15, 107},
};

Object* MakeTabButton(Entity* self, float x, float y, std::uint32_t colour) {
    Object* button = Object::MakeCopy(self->_state, "Button", "");
    if (button == nullptr) return nullptr;
    // The palette runs its tab buttons itself.
    button->RemoveFromEngine("Behavior");
    Button::Variables& b = VariablesOf<Button::Variables>(button);
    b.texture = "tab";
    b.size = D3DXVECTOR2(0.13f, 0.05f);
    b.color = colour;
    b.position = D3DXVECTOR3(x, y, 0.0f);
    return button;
}

Object* MakeTabLabel(Entity* self, const Object* button, const char* text) {
    Object* label = Object::MakeCopy(self->_state, "Text", "");
    Text::Variables* t = Text::Find(label);
    if (t == nullptr) return label;
    if (button != nullptr) {
        const D3DXVECTOR3& p = VariablesOf<Button::Variables>(button).position;
        t->settings.x = p.x;
        t->settings.y = p.y + 0.01f;
    }
    t->settings.charHeight = 0.04f;
    t->settings.width = 1.0f;
    t->settings.fixedWidth = false;
    t->settings.multiLine = true;
    t->settings.font = "ashleyscriptmtstd";
    t->settings.hAlign = 1;
    t->settings.vAlign = 1;
    t->text = text;
    return label;
}

void Load(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    v.collision.AddRectangle(-0.5f, 0.5f, 0.5f, -0.5f);
    const float y = v.position.y + v.size.y / 2.0f + 0.06f;
    v.TabButtonTiles = MakeTabButton(self, v.position.x - v.size.x / 2.0f + 0.05f, y, kTilesColour);
    v.TabButtonObjects = MakeTabButton(self, v.position.x + 0.1f, y, kObjectsColour);
    v.TileText = MakeTabLabel(self, v.TabButtonTiles, "Tiles");
    v.ObjectText = MakeTabLabel(self, v.TabButtonObjects, "Objects");
    if (v.ObjGridWidth > 0) v.ObjectScaleX = v.size.x / static_cast<float>(v.ObjGridWidth);
    if (v.ObjGridHeight > 0) v.ObjectScaleY = v.size.y / static_cast<float>(v.ObjGridHeight);
    for (LevelCollision& layout : v.ObjectListGrid) {
        layout = LevelCollision(v.ObjGridWidth, v.ObjGridHeight);
        layout.SetGrid(-1);
    }
    const long long cells = static_cast<long long>(v.ObjectListGrid[0].GetWidth()) * v.ObjectListGrid[0].GetHeight();
    for (const Entry& e : kEntries)
        if (cells > e.k) v.ObjectListGrid[e.tab].SetCell(static_cast<int>(cells - e.k), e.value);
}

bool Triggered(const Object* button) { return button != nullptr && VariablesOf<Button::Variables>(button).triggered; }

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    if (v.TabButtonTiles != nullptr) self->DoEvent("Behavior", v.TabButtonTiles);
    if (v.TabButtonObjects != nullptr) self->DoEvent("Behavior", v.TabButtonObjects);
    if (Triggered(v.TabButtonTiles))
        v.SelectedTab = 0;
    else if (Triggered(v.TabButtonObjects))
        v.SelectedTab = 1;

    Entity* cursor = self->GetMyObject("Cursor");
    const D3DXVECTOR3* pointer = cursor != nullptr ? FindVariable<D3DXVECTOR3>(cursor, enum_position) : nullptr;
    if (pointer == nullptr || !collisionEngine.Check(self, cursor) || !Mouse.Triggered(0)) return;
    if (v.SelectedTab < 0 || v.SelectedTab >= kTabs || v.ObjectScaleX <= 0.0f || v.ObjectScaleY <= 0.0f) return;
    const float column = std::fabs(pointer->x - (v.position.x - v.size.x / 2.0f)) / v.ObjectScaleX;
    const float row = std::fabs(pointer->y - (v.position.y - v.size.y / 2.0f)) / v.ObjectScaleY;
    const int value = v.ObjectListGrid[v.SelectedTab].GetCell(column, row);
    LevelData::LevelEditor::Variables* editor = LevelData::LevelEditor::Of(self);
    if (value >= 0 && editor != nullptr) editor->SelectedValue = value;
}

void GraphicsDraw(Entity* self, Entity*) {
    Buffer* buffer = graphicsEngine.GetCurrentBuffer();
    const LevelData::LevelEditor::Variables* editor = LevelData::LevelEditor::Of(self);
    if (buffer == nullptr || editor == nullptr) return;
    const Variables& v = VariablesOf<Variables>(self);
    const int colour = static_cast<int>(v.SelectedTab == 0 ? kTilesColour : kObjectsColour);
    buffer->AddBackground(v.position.x, v.position.y + 0.1f, 1.5f, v.size.x + 0.1f, v.size.y * 0.75f, 0.0f,
                          FrameMap(v.BackgroundTab, 0, 0), colour);
    if (v.SelectedTab < 0 || v.SelectedTab >= kTabs) return;
    const LevelCollision& layout = v.ObjectListGrid[v.SelectedTab];
    const float zoom = static_cast<float>(std::max(editor->ZoomScale, 1));
    const D3DXVECTOR2 side(editor->UnitScaleX * zoom, editor->UnitScaleY * zoom);
    for (int r = 0; r < v.ObjGridHeight; ++r) {
        for (int c = 0; c < v.ObjGridWidth; ++c) {
            const int value = layout.GetCell(c, r);
            if (value <= 0) continue;
            const float x =
                v.position.x - v.size.x / 2.0f + v.ObjectScaleX / 2.0f + static_cast<float>(c) * v.ObjectScaleX;
            const float y =
                v.position.y - v.size.y / 2.0f + v.ObjectScaleY / 2.0f + static_cast<float>(r) * v.ObjectScaleY;
            const Frame& frame = FrameMap(LevelData::LevelEditor::CellTexture(*editor, value), 0, 0);
            // The entries are drawn as the grid draws its cells, at the size
            // of a cell unzoomed: the palette keeps its size whatever the zoom.
            const int list = Grid::TileList(value);
            if (list >= 0)
                buffer->AddTile(static_cast<unsigned>(list), x, y, 10.0f, side.x, side.y, 0.0f, frame, -1);
            else
                buffer->AddFrame(x, y, 10.0f, side.x, side.y, 0.0f, frame, -1);
        }
    }
    // The tile lists' techniques and textures, as the grid sets them.
    Grid::SetUpTileLists(*buffer);
}

}  // namespace

Variables* Find(Entity* entity) {
    return entity != nullptr && entity->_map == table ? &VariablesOf<Variables>(entity) : nullptr;
}

bool ShowsValue(const Variables& v, int value) {
    if (v.SelectedTab < 0 || v.SelectedTab >= kTabs) return false;
    const LevelCollision& layout = v.ObjectListGrid[v.SelectedTab];
    for (int r = 0; r < layout.GetHeight(); ++r)
        for (int c = 0; c < layout.GetWidth(); ++c)
            if (layout.GetCell(c, r) == value) return true;
    return false;
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "LevelEditorObjectList", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsUpdate", Event());
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Unload", Event());
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_position, v.position);
    BindVariable(table, *prototype, enum_size, v.size);
    BindVariable(table, *prototype, enum_ObjectListGrid, v.ObjectListGrid);
    BindVariable(table, *prototype, enum_SelectedTab, v.SelectedTab);
    BindVariable(table, *prototype, enum_ObjectScaleX, v.ObjectScaleX);
    BindVariable(table, *prototype, enum_ObjectScaleY, v.ObjectScaleY);
    BindVariable(table, *prototype, enum_ObjGridWidth, v.ObjGridWidth);
    BindVariable(table, *prototype, enum_ObjGridHeight, v.ObjGridHeight);
    BindVariable(table, *prototype, enum_collision, v.collision);
    BindVariable(table, *prototype, enum_BackgroundTab, v.BackgroundTab);
    BindVariable(table, *prototype, enum_TabButtonTiles, v.TabButtonTiles);
    BindVariable(table, *prototype, enum_TabButtonObjects, v.TabButtonObjects);
    BindVariable(table, *prototype, enum_TileText, v.TileText);
    BindVariable(table, *prototype, enum_ObjectText, v.ObjectText);
}

}  // namespace ObjectData::LevelEditorObjectList

#include "editor/Grid.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>

#include "editor/EditorTools.h"
#include "editor/LevelEditor.h"
#include "framework/Level.h"
#include "framework/LevelTemplate.h"
#include "framework/State.h"
#include "objects/LevelGraphics.h"
#include "platform/graphics/Buffer.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"
#include "platform/input/InputHooks.h"
#include "platform/input/Keyboard.h"
#include "platform/input/Mouse.h"

namespace ObjectData::Grid {

namespace {

VariableOffsetTable table;

constexpr unsigned char kLeftCtrl = 0x1D;
constexpr unsigned char kRightCtrl = 0x9D;
constexpr unsigned char kKeyZ = 0x2C;
constexpr unsigned char kKeyY = 0x15;
constexpr unsigned char kLeftShift = 0x2A;
constexpr unsigned char kRightShift = 0x36;
// The wheel's movement a notch, as the mouse reports it.
constexpr int kWheelNotch = 120;

constexpr float kTileDepth = 10.0f;
// Beyond the level's edge: one plain dark grey, unlike the level's
// night-blue ruled cells, so the level's end is plain at every zoom.
constexpr std::uint32_t kOutsideColour = 0xFF24232Cu;
constexpr float kQuadDepth = 1.0f;

// The tools in the order they are made, with the variable each goes in.
struct ToolSlot {
    const char* type;
    Object* Variables::*slot;
};
constexpr ToolSlot kTools[] = {
    {"BrushTool", &Variables::BrushTool},
    {"BoxTool", &Variables::BoxTool},
    {"FillTool", &Variables::FillTool},
    {"MoveTool", &Variables::MoveTool},
};

// Raises event on tool with (tool, grid); a tool that was never made (its
// type is not registered) is skipped.
void RaiseOnTool(Entity* grid, Object* tool, const char* event) {
    if (tool != nullptr) grid->DoEvent(event, tool);
}

void Load(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    v.collision.AddRectangle(-0.5f, 0.5f, 0.5f, -0.5f);
    for (const ToolSlot& tool : kTools) {
        Object* made = LevelTemplate::SpawnIn(self->_state, tool.type);
        v.*tool.slot = made;
        // The grid raises the tool's "Behavior" itself, only while it is chosen.
        if (made != nullptr) made->RemoveFromEngine("Behavior");
    }
}

// The wheel over the view scrolls it, a third of the view's rows a notch
// (with Shift, its columns); with Ctrl it zooms in and out.
void Wheel(Entity* self, LevelData::LevelEditor::Variables* editor, bool ctrl) {
    const int notches = static_cast<int>(Mouse.DeltaZ()) / kWheelNotch;
    if (notches == 0 || editor == nullptr || !inputHooks.windowActive() || self->_state == nullptr) return;
    Level* level = self->_state->GetLevel();
    if (ctrl) {
        int zoom = editor->ZoomScale;
        for (int i = 0; i < std::abs(notches); ++i)
            zoom = notches > 0 ? std::min(zoom * 2, LevelData::LevelEditor::kMaxZoom) : std::max(zoom / 2, 1);
        if (zoom != editor->ZoomScale) LevelData::LevelEditor::SetZoom(level, zoom, self);
        return;
    }
    const bool sideways = Keyboard.Pressed(kLeftShift) || Keyboard.Pressed(kRightShift);
    const int step = std::max((sideways ? editor->ScreenWidth : editor->ScreenHeight) * editor->ZoomScale / 3, 1);
    if (sideways)
        LevelData::LevelEditor::ScrollView(level, -notches * step, 0, self);
    else
        LevelData::LevelEditor::ScrollView(level, 0, notches * step, self);
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    LevelData::LevelEditor::Variables* editor = LevelData::LevelEditor::Of(self);

    const bool ctrl = Keyboard.Pressed(kLeftCtrl) || Keyboard.Pressed(kRightCtrl);
    // A block lifted by the move tool is put down first, so undo and redo
    // never work under it.
    if (ctrl && Keyboard.Held(kKeyZ, Keyboard_::DELAY, Keyboard_::RATE)) {
        EditorTools::DropLiftedBlock(self);
        v.grid.Undo();
    }
    if (ctrl && Keyboard.Held(kKeyY, Keyboard_::DELAY, Keyboard_::RATE)) {
        EditorTools::DropLiftedBlock(self);
        v.grid.Redo();
    }

    Entity* cursor = self->GetMyObject("Cursor");
    if (cursor != nullptr && collisionEngine.Check(self, cursor)) {
        Wheel(self, editor, ctrl);
        if (Mouse.Triggered(0) || Mouse.Triggered(1)) v.drawing = true;
        // The level start is placed with the brush only.
        if (editor != nullptr && editor->SelectedValue == LevelCellValue::LevelStart) editor->ToolCursor = 0;
        const int tool = editor != nullptr ? editor->ToolCursor : 0;
        if (v.drawing) {
            if (tool == 0) RaiseOnTool(self, v.BrushTool, "Behavior");
            if (tool == 1) RaiseOnTool(self, v.BoxTool, "Behavior");
            if (tool == 2) RaiseOnTool(self, v.FillTool, "Behavior");
        }
        if (tool == 3) RaiseOnTool(self, v.MoveTool, "Behavior");
    } else if (v.drawing) {
        // A stroke begun over the grid ends wherever its button comes up;
        // while it is held off the grid, the stroke does not run.
        const int tool = editor != nullptr ? editor->ToolCursor : 0;
        const bool released = Mouse.Released(0) || Mouse.Released(1);
        if (tool >= 0 && tool < 4) RaiseOnTool(self, v.*kTools[tool].slot, released ? "EndStroke" : "LeftGrid");
    }
    // Choosing another tool ends a move in progress.
    if (editor == nullptr || editor->ToolCursor != 3) RaiseOnTool(self, v.MoveTool, "CleanUpBox");
    if (Mouse.Released(0) || Mouse.Released(1)) v.drawing = false;
    v.grid.SetCell(v.StartPos.x, v.StartPos.y, LevelCellValue::LevelStart);
}

void GraphicsDraw(Entity* self, Entity*) {
    Buffer* buffer = graphicsEngine.GetCurrentBuffer();
    LevelData::LevelEditor::Variables* editor = LevelData::LevelEditor::Of(self);
    if (buffer == nullptr || editor == nullptr) return;
    Variables& v = VariablesOf<Variables>(self);
    int columnOffset = 0, rowOffset = 0;
    ScrollOffsets(self, columnOffset, rowOffset);

    buffer->AddBackground(v.position.x, v.position.y, -1.0f, v.size.x, v.size.y, 0.0f,
                          FrameMap(v.tex != nullptr ? v.tex : "", 0, 0), -1);

    const int w = editor->ScreenWidth * editor->ZoomScale;
    const int h = editor->ScreenHeight * editor->ZoomScale;
    const float ux = editor->UnitScaleX, uy = editor->UnitScaleY;
    const float left = v.position.x - v.size.x / 2.0f + ux / 2.0f;
    const float bottom = v.position.y - v.size.y / 2.0f + uy / 2.0f;
    const int width = v.grid.GetWidth(), height = v.grid.GetHeight();
    // Each picture is looked up once a frame, not once a cell.
    std::array<const Frame*, LevelData::LevelEditor::kTextureCount + 1> frames{};
    auto frameOf = [&](int value) -> const Frame& {
        const bool listed = value >= 0 && value < LevelData::LevelEditor::kTextureCount;
        const Frame*& slot = frames[listed ? static_cast<std::size_t>(value) : frames.size() - 1];
        if (slot == nullptr) slot = &FrameMap(LevelData::LevelEditor::CellTexture(*editor, value), 0, 0);
        return *slot;
    };

    for (int r = 0; r < h; ++r) {
        const int row = r + rowOffset;
        const float y = bottom + static_cast<float>(r) * uy;
        for (int c = 0; c < w; ++c) {
            const int column = c + columnOffset;
            const float x = left + static_cast<float>(c) * ux;
            if (column < 0 || row < 0 || column >= width || row >= height) {
                // Outside the level: one strip covers the rest of the row.
                const int n = w - c;
                QueueOutside(*buffer, x + static_cast<float>(n - 1) * ux / 2.0f, y, static_cast<float>(n) * ux, uy);
                break;
            }
            const int value = v.grid.GetGrid(row * width + column);
            if (value == LevelCellValue::NoCollision) continue;
            const int list = TileList(value);
            if (list >= 0)
                buffer->AddTile(static_cast<unsigned>(list), x, y, kTileDepth, ux, uy, 0.0f, frameOf(value), -1);
            else
                buffer->AddFrame(x, y, kQuadDepth, ux, uy, 0.0f, frameOf(value), -1);
        }
    }

    if (v.grid.GetValidFlag())
        buffer->AddFrame(-0.28f, -0.375f, 15.0f, 0.18f, 0.18f, 0.0f, FrameMap("valid", 0, 0), -1);
    else
        buffer->AddFrame(-0.28f, -0.38f, 15.0f, 0.18f, 0.18f, 0.0f, FrameMap("nonValid", 0, 0), -1);
    SetUpTileLists(*buffer);
}

}  // namespace

Variables* Find(Entity* entity) {
    return entity != nullptr && entity->_map == table ? &VariablesOf<Variables>(entity) : nullptr;
}

void ScrollOffsets(const Entity* grid, int& column, int& row) {
    column = row = 0;
    if (grid == nullptr) return;
    auto scrolls = [](Entity* bar) {
        const std::int32_t* ticks = bar != nullptr ? FindVariable<std::int32_t>(bar, enum_ticks) : nullptr;
        return bar != nullptr && (ticks == nullptr || *ticks != 1);
    };
    Entity* horizontal = grid->GetMyObject("GSliderH");
    if (scrolls(horizontal)) {
        if (const float* value = FindVariable<float>(horizontal, enum_value)) column = static_cast<int>(*value);
    }
    Entity* vertical = grid->GetMyObject("GSliderV");
    if (scrolls(vertical)) {
        const float* value = FindVariable<float>(vertical, enum_value);
        const float* max = FindVariable<float>(vertical, enum_max);
        if (value != nullptr && max != nullptr) row = static_cast<int>(*max - *value);
    }
}

StartCheck KeepOneStart(LevelCollision& grid, D3DXVECTOR2& start) {
    StartCheck check;
    const int width = grid.GetWidth(), height = grid.GetHeight();
    int* cells = grid.GetGridPtr();
    if (cells == nullptr || width <= 0 || height <= 0) return check;
    const long long count = static_cast<long long>(width) * height;
    const bool inside = start.x >= 0.0f && start.y >= 0.0f && start.x < static_cast<float>(width) &&
                        start.y < static_cast<float>(height);
    long long kept = -1;
    if (inside) {
        const long long at = static_cast<long long>(static_cast<int>(start.y)) * width + static_cast<int>(start.x);
        if (cells[at] == LevelCellValue::LevelStart) kept = at;
    }
    for (long long i = count - 1; kept < 0 && i >= 0; --i)
        if (cells[i] == LevelCellValue::LevelStart) kept = i;
    if (kept < 0) {
        // Near where the start was (or the editor's usual (1, 1)), held inside.
        const bool known = start.x >= 0.0f && start.y >= 0.0f && start.x < 1.0e6f && start.y < 1.0e6f;
        const int c0 = std::clamp(known ? static_cast<int>(start.x) : 1, 0, width - 1);
        const int r0 = std::clamp(known ? static_cast<int>(start.y) : 1, 0, height - 1);
        long long best = static_cast<long long>(r0) * width + c0;
        if (cells[best] != LevelCellValue::NoCollision) {
            long long nearest = LLONG_MAX;
            for (long long i = 0; i < count; ++i) {
                if (cells[i] != LevelCellValue::NoCollision) continue;
                const long long d = std::llabs(i % width - c0) + std::llabs(i / width - r0);
                if (d < nearest) {
                    nearest = d;
                    best = i;
                }
            }
        }
        kept = best;
        cells[kept] = LevelCellValue::LevelStart;
        check.placed = true;
    }
    for (long long i = 0; i < count; ++i)
        if (i != kept && cells[i] == LevelCellValue::LevelStart) {
            cells[i] = LevelCellValue::NoCollision;
            ++check.removed;
        }
    // The kept start's column and row: whole division is meant.
    // NOLINTNEXTLINE(bugprone-integer-division)
    start = D3DXVECTOR2(static_cast<float>(kept % width), static_cast<float>(kept / width));
    return check;
}

int TileList(int value) {
    switch (value) {
        case LevelCellValue::GrassTile: return 7;
        case LevelCellValue::DirtTile: return 3;
        // Spikes are drawn in their own pale colours, as quads: in the
        // ground's list they took the ground's dark colour and were lost on
        // the dark view.
        case LevelCellValue::BreakableTile: return 4;
        case LevelCellValue::Spring:
        case LevelCellValue::SpringRight:
        case LevelCellValue::SpringLeft: return 6;
        case LevelCellValue::MoonShard: return 0;
        default: return -1;
    }
}

void QueueOutside(Buffer& buffer, float x, float y, float width, float height) {
    buffer.AddFrame(x, y, kQuadDepth, width, height, 0.0f, FrameMap("white", 0, 0), static_cast<int>(kOutsideColour));
}

void SetUpTileLists(Buffer& buffer) {
    // The play levels' lists, drawn at full light: the editor shows every
    // tile as it is, without the night's shading.
    ObjectData::LevelGraphics::SetUpTileLists(buffer);
    buffer.layerColor[0] = 0xFFFFFFu;
}

void Differences(Object* object) {
    object->AddEvent("Logic", Event());
    Variables& v = VariablesOf<Variables>(object);
    v.grid11 = "grid11";
    v.grid12 = "grid12";
    v.grid14 = "grid14";
    v.tex = "grid11";
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "Grid", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsUpdate", Event());
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Unload", Event());
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_position, v.position);
    BindVariable(table, *prototype, enum_size, v.size);
    BindVariable(table, *prototype, enum_tex, v.tex);
    BindVariable(table, *prototype, enum_grid, v.grid);
    BindVariable(table, *prototype, enum_grid11, v.grid11);
    BindVariable(table, *prototype, enum_collision, v.collision);
    BindVariable(table, *prototype, enum_StartPos, v.StartPos);
    BindVariable(table, *prototype, enum_drawing, v.drawing);
}

}  // namespace ObjectData::Grid

#pragma once
// Test helper: the editor's four tools in the real editor screen, driven by
// its grid "EGrid", with mouse buttons and keys fed through the real input
// layer and the pointer placed exactly on grid positions.
//
// The view is laid out so that every whole or half cell position is exact in
// floats: 16 × 9 cells of 1/16 unit each, the lower-left corner at
// (-0.5, -0.28125), no scrolling. The level is an empty 12 × 6 grid without
// a start unless a test places one.
#include <gtest/gtest.h>

#include <vector>

#include "editor/BoxTool.h"
#include "editor/BrushTool.h"
#include "editor/EditorWorld.h"
#include "editor/FillTool.h"
#include "editor/MoveTool.h"
#include "framework/ObjectTemplate.h"

namespace tooltest {

constexpr float kUnit = 0.0625f;
constexpr float kLeft = -0.5f;
constexpr float kBottom = -0.28125f;

inline std::vector<int> Cells(const LevelCollision& g) {
    const int* p = g.GetGridPtr();
    if (p == nullptr) return {};
    return std::vector<int>(p, p + static_cast<std::size_t>(g.GetWidth()) * g.GetHeight());
}

// The pointer the tests place: a position and a point shape, nothing that
// follows the mouse or the keyboard focus.
struct PointerVars {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    CollisionInfo2D collision;
};
inline VariableOffsetTable& PointerTable() {
    static VariableOffsetTable table;
    return table;
}
inline void RegisterPointer() {
    Object* slot = nullptr;
    auto* p = ObjectTemplate::Begin<PointerVars>(slot, "ToolTestPointer", PointerTable());
    p->_AddEvent("Load", Event());
    ObjectTemplate::StartVariables(p, PointerTable());
    BindVariable(PointerTable(), *p, enum_position, p->vars.position);
    BindVariable(PointerTable(), *p, enum_collision, p->vars.collision);
    p->vars.collision.AddPoint(0.0f, 0.0f);
    Object::_IncludeObject("ToolTestPointer", p);
}

class ToolWorld : public editortest::EditorWorld {
protected:
    void SetUp() override {
        EditorWorld::SetUp();
        OpenEditor();
        // The menu pointer gives way to one that stays where the test puts it.
        if (Object* menuPointer = dynamic_cast<Object*>(Named("Cursor"))) menuPointer->_Delete();
        EditorFrame();
        RegisterPointer();
        cursor = Object::MakeCopy(editor, "ToolTestPointer", "Cursor");
        ASSERT_EQ(Named("Cursor"), cursor);
        GridObject().position = {0.0f, 0.0f, 0.0f};
        GridObject().size = {16 * kUnit, 9 * kUnit};
        Lv().UnitScaleX = Lv().UnitScaleY = kUnit;
        for (const char* bar : {"GSliderH", "GSliderV"}) {
            float* value = FindVariable<float>(Named(bar), enum_value);
            const float* max = FindVariable<float>(Named(bar), enum_max);
            if (value != nullptr) *value = bar[7] == 'H' || max == nullptr ? 0.0f : *max;
        }
        Fresh(12, 6);
        Off();
        EditorFrame();
    }

    LevelData::LevelEditor::Variables& Lv() { return Vars(); }
    ObjectData::Grid::Variables& GridObject() { return editortest::EditorWorld::Grid(); }
    LevelCollision& Grid() { return GridObject().grid; }
    Object* Tool(int i) {
        ObjectData::Grid::Variables& g = GridObject();
        Object* tools[4] = {g.BrushTool, g.BoxTool, g.FillTool, g.MoveTool};
        return tools[i];
    }
    template <class V>
    V& ToolVars(int i) {
        return VariablesOf<V>(Tool(i));
    }
    // A new empty grid of w × h with no history and no start.
    void Fresh(int w, int h) {
        Grid() = LevelCollision(w, h);
        Grid().ClearUndoStack();
        Grid().ClearRedoStack();
        GridObject().StartPos = {-1.0f, -1.0f};
    }

    void Frame() { EditorFrame(); }
    // The pointer at a game point, or at grid position (column, row).
    // The mouse moves too, as it does when the user points: a widget that
    // holds the keyboard focus (A is also "left") hands control back to it.
    void Point(float x, float y) {
        VariablesOf<PointerVars>(cursor).position = {x, y, 0.0f};
        inputtest::Motion(640 + static_cast<int>(x * 720.0f), 360 - static_cast<int>(y * 720.0f), 1, 0);
    }
    void At(float column, float row) { Point(kLeft + column * kUnit, kBottom + row * kUnit); }
    void Off() { Point(0.7f, 0.45f); }
    void Left(bool down) { inputtest::Button(SDL_BUTTON_LEFT, down); }
    void Right(bool down) { inputtest::Button(SDL_BUTTON_RIGHT, down); }
    void Key(SDL_Scancode key, bool down) { inputtest::Key(key, down); }

    // A left (or right) drag through the given grid positions, one frame at
    // each, released at the last.
    void Drag(const std::vector<D3DXVECTOR2>& path, bool right = false) {
        for (std::size_t i = 0; i < path.size(); ++i) {
            At(path[i].x, path[i].y);
            if (i == 0) right ? Right(true) : Left(true);
            Frame();
        }
        right ? Right(false) : Left(false);
        Frame();
    }
    void Click(float column, float row, bool right = false) { Drag({{column, row}}, right); }
    void Chord(SDL_Scancode a, SDL_Scancode b) {
        Key(a, true);
        Key(b, true);
        Frame();
        Key(b, false);
        Key(a, false);
        Frame();
    }
    void Undo() { Chord(SDL_SCANCODE_LCTRL, SDL_SCANCODE_Z); }
    void Redo() { Chord(SDL_SCANCODE_LCTRL, SDL_SCANCODE_Y); }
    void Tap(SDL_Scancode key) {
        Key(key, true);
        Frame();
        Key(key, false);
        Frame();
    }
    void RightClick() {
        Right(true);
        Frame();
        Right(false);
        Frame();
    }

    Entity* cursor = nullptr;
};

}  // namespace tooltest

#pragma once
// Test helper: the editor's four tools in a clean entity world, driven the way
// the editor grid drives them, with the mouse buttons and keys fed through
// the real input layer and the pointer placed exactly on grid positions.
//
// The view: 16 × 9 cells of 1/16 unit each, its lower-left corner at
// (-0.5, -0.28125), so every whole or half cell position is exact in floats.
// "EGrid" here is a stand-in with the editor grid's variables and its
// per-frame dispatch (press and release, the tool in ToolCursor,
// "CleanUpBox", the start cell, Ctrl+Z and Ctrl+Y).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collision/CollisionEngine.h"
#include "editor/EditorTools.h"
#include "framework/Engine.h"
#include "framework/LevelCollision.h"
#include "framework/LevelTemplate.h"
#include "framework/Object.h"
#include "framework/ObjectTemplate.h"
#include "framework/State.h"
#include "platform/input/InputFixture.h"
#include "support/EntityWorld.h"

namespace tooltest {

constexpr float kUnit = 0.0625f;
constexpr float kLeft = -0.5f;
constexpr float kBottom = -0.28125f;

// The editor level's variables the tools read.
struct LevelVars {
    std::string objectTextures[EditorTools::kObjectTextures];
    std::int32_t ZoomScale = 1;
    float UnitScaleX = kUnit;
    float UnitScaleY = kUnit;
    std::int32_t ScreenWidth = 16;
    std::int32_t ScreenHeight = 9;
    std::int32_t ToolCursor = 0;
    std::int32_t SelectedValue = 1;
};

inline VariableOffsetTable& LevelTable() {
    static VariableOffsetTable table;
    return table;
}

inline void CopyLevel(Entity* copy, const Entity* source) {
    ConstructVariables<LevelVars>(copy, source);
    Engine::_MakeCopy("Behavior", 5.0);
    Engine::_MakeCopy("GraphicsUpdate", 1.05);
    Engine::_MakeCopy("GraphicsDraw", 1.0);
}

inline void RegisterEditorLevel() {
    auto* p = LevelTemplate::Begin<LevelVars>("ToolTestLevel", LevelTable(), &CopyLevel, &Entity::_CallUnload);
    LevelTemplate::StartVariables(p, LevelTable());
    LevelVars& v = p->vars;
    for (std::string& t : v.objectTextures) t = "spdBoost";
    v.objectTextures[0] = "white";
    v.objectTextures[1] = "grass";
    v.objectTextures[2] = "ground";
    v.objectTextures[101] = "start";
    BindVariable(LevelTable(), *p, enum_objectTextures, v.objectTextures);
    BindVariable(LevelTable(), *p, enum_ZoomScale, v.ZoomScale);
    BindVariable(LevelTable(), *p, enum_UnitScaleX, v.UnitScaleX);
    BindVariable(LevelTable(), *p, enum_UnitScaleY, v.UnitScaleY);
    BindVariable(LevelTable(), *p, enum_ScreenWidth, v.ScreenWidth);
    BindVariable(LevelTable(), *p, enum_ScreenHeight, v.ScreenHeight);
    BindVariable(LevelTable(), *p, enum_ToolCursor, v.ToolCursor);
    BindVariable(LevelTable(), *p, enum_SelectedValue, v.SelectedValue);
    Level::_IncludeLevel("ToolTestLevel", p);
}

// The pointer: a position and a point shape, placed by the test.
struct CursorVars {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    CollisionInfo2D collision;
};
inline VariableOffsetTable& CursorTable() {
    static VariableOffsetTable table;
    return table;
}

// The stand-in grid.
struct GridVars {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 size{16 * kUnit, 9 * kUnit};
    LevelCollision grid;
    D3DXVECTOR2 StartPos{-1.0f, -1.0f};
    bool drawing = false;
    CollisionInfo2D collision;
    Object* tools[4] = {};  // brush, box, fill, move
};
inline VariableOffsetTable& GridTable() {
    static VariableOffsetTable table;
    return table;
}

inline void GridLoad(Entity* self, Entity*) {
    GridVars& v = VariablesOf<GridVars>(self);
    v.collision.AddRectangle(-0.5f, 0.5f, 0.5f, -0.5f);
    const char* types[4] = {"BrushTool", "BoxTool", "FillTool", "MoveTool"};
    for (int i = 0; i < 4; ++i) {
        v.tools[i] = Object::MakeCopy(self->_state, types[i], "");
        if (v.tools[i] != nullptr) v.tools[i]->RemoveFromEngine("Behavior");
    }
}

inline void GridBehavior(Entity* self, Entity*) {
    GridVars& v = VariablesOf<GridVars>(self);
    Level* level = self->GetMyLevel();
    LevelVars& l = VariablesOf<LevelVars>(level);
    const bool ctrl = Keyboard.Pressed(DIK_LCONTROL) || Keyboard.Pressed(DIK_RCONTROL);
    if (ctrl && Keyboard.Held(DIK_Z, Keyboard_::DELAY, Keyboard_::RATE)) {
        EditorTools::DropLiftedBlock(self);
        v.grid.Undo();
    }
    if (ctrl && Keyboard.Held(DIK_Y, Keyboard_::DELAY, Keyboard_::RATE)) {
        EditorTools::DropLiftedBlock(self);
        v.grid.Redo();
    }
    Entity* cursor = self->GetMyObject("Cursor");
    const bool released = Mouse.Released(0) || Mouse.Released(1);
    if (collisionEngine.Check(self, cursor)) {
        if (Mouse.Triggered(0) || Mouse.Triggered(1)) v.drawing = true;
        if (l.SelectedValue == LevelCellValue::LevelStart) l.ToolCursor = 0;
        if (v.drawing && l.ToolCursor >= 0 && l.ToolCursor <= 2)
            Entity::_DoEvent("Behavior", self, v.tools[l.ToolCursor]);
        if (l.ToolCursor == 3) Entity::_DoEvent("Behavior", self, v.tools[3]);
    } else if (v.drawing && released && l.ToolCursor >= 0 && l.ToolCursor <= 3) {
        Entity::_DoEvent("EndStroke", self, v.tools[l.ToolCursor]);
    }
    if (l.ToolCursor != 3) Entity::_DoEvent("CleanUpBox", self, v.tools[3]);
    if (released) v.drawing = false;
    v.grid.SetCell(v.StartPos, LevelCellValue::LevelStart);
}

inline void RegisterStandIns() {
    {
        Object* slot = nullptr;
        auto* p = ObjectTemplate::Begin<CursorVars>(slot, "ToolTestCursor", CursorTable());
        p->_AddEvent("Load", Event());
        ObjectTemplate::StartVariables(p, CursorTable());
        BindVariable(CursorTable(), *p, enum_position, p->vars.position);
        BindVariable(CursorTable(), *p, enum_collision, p->vars.collision);
        p->vars.collision.AddPoint(0.0f, 0.0f);
        Object::_IncludeObject("ToolTestCursor", p);
    }
    {
        Object* slot = nullptr;
        auto* p = ObjectTemplate::Begin<GridVars>(slot, "ToolTestGrid", GridTable());
        p->_TempAddEngine("Behavior", &GridBehavior);
        p->_AddEvent("Load", &GridLoad);
        ObjectTemplate::StartVariables(p, GridTable());
        BindVariable(GridTable(), *p, enum_position, p->vars.position);
        BindVariable(GridTable(), *p, enum_size, p->vars.size);
        BindVariable(GridTable(), *p, enum_grid, p->vars.grid);
        BindVariable(GridTable(), *p, enum_StartPos, p->vars.StartPos);
        BindVariable(GridTable(), *p, enum_drawing, p->vars.drawing);
        BindVariable(GridTable(), *p, enum_collision, p->vars.collision);
        Object::_IncludeObject("ToolTestGrid", p);
    }
}

// One grid's contents as rows of text, row 0 first: "0" for 0, digits for
// 1 to 9, 'S' for the start, '?' for anything else.
inline std::vector<int> Cells(const LevelCollision& g) {
    const int* p = g.GetGridPtr();
    if (p == nullptr) return {};
    return std::vector<int>(p, p + static_cast<std::size_t>(g.GetWidth()) * g.GetHeight());
}

class ToolWorld : public world::EntityWorld {
protected:
    void SetUp() override {
        EntityWorld::SetUp();
        ResetInputHooks();
        inputHooks.windowActive = [] { return true; };
        inputHooks.windowWasActive = [] { return true; };
        Keyboard.Init();
        Mouse.Init();
        inputEngine.InitDIKMap();
        inputEngine.Reset();
        Object::_FirstInit();
        for (const char* name : {"Behavior", "GraphicsUpdate", "GraphicsDraw"}) world::RegisterEngine(name);
        RegisterEditorLevel();
        RegisterStandIns();
        state = NewState("ToolTestLevel");
        State::_currentState = state;
        cursor = Object::MakeCopy(state, "ToolTestCursor", "Cursor");
        gridObject = Object::MakeCopy(state, "ToolTestGrid", "EGrid");
        Fresh(12, 6);
        Point(-0.45f, 0.45f);  // off the grid
        Frame();
    }
    void TearDown() override {
        EntityWorld::TearDown();
        Keyboard.Free();
        Mouse.Free();
        ResetInputHooks();
    }

    LevelVars& Lv() { return VariablesOf<LevelVars>(state->level); }
    GridVars& GridObject() { return VariablesOf<GridVars>(gridObject); }
    LevelCollision& Grid() { return GridObject().grid; }
    // A new empty grid of w × h with no history (a copy keeps the target's stacks).
    void Fresh(int w, int h) {
        Grid() = LevelCollision(w, h);
        Grid().ClearUndoStack();
        Grid().ClearRedoStack();
    }
    Object* Tool(int i) { return GridObject().tools[i]; }
    template <class V>
    V& ToolVars(int i) {
        return VariablesOf<V>(Tool(i));
    }

    // One game frame: the input hand-over, the state's frame, the removals.
    void Frame() {
        inputtest::PollAndFrame();
        state->Update();
        State::EndOfFrame();
    }
    // The pointer at a game point, or at grid position (column, row) of the
    // unscrolled view.
    void Point(float x, float y) { VariablesOf<CursorVars>(cursor).position = {x, y, 0.0f}; }
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

    State* state = nullptr;
    Object* cursor = nullptr;
    Object* gridObject = nullptr;
    FakeClock clock;
};

}  // namespace tooltest

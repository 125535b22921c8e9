#pragma once
// What the level editor's four tools share: where the cursor stands on the
// edited grid, how a changed cell is recorded in the stroke's undo step, how
// a step is handed to the grid, and how a cell value is queued for drawing
// (the box preview and the move tool's lifted block draw values as the grid
// view draws cells).
#include <optional>

#include "editor/Grid.h"
#include "editor/LevelEditor.h"
#include "framework/Action.h"
#include "framework/LevelCollision.h"
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

class Entity;

namespace EditorTools {

// Everything a tool reads about the view, found afresh each frame: the
// editor screen's settings, the grid object and its level grid, the view's
// corner and one cell's size in game units, and the scroll offsets in whole
// cells.
struct View {
    LevelData::LevelEditor::Variables* editor = nullptr;
    ObjectData::Grid::Variables* gridObject = nullptr;
    LevelCollision* grid = nullptr;
    float left = 0.0f;  // the grid object's position − size / 2
    float bottom = 0.0f;
    float unitX = 0.0f;  // the editor's UnitScaleX, UnitScaleY
    float unitY = 0.0f;
    int scrollX = 0;  // "GSliderH" value, truncated
    int scrollY = 0;  // "GSliderV" max − value, truncated
};

// The view of tool over gridObject, the grid that raised the tool's event
// ("EGrid" of the tool's state when it is null). Empty outside the editor
// screen or without a grid.
std::optional<View> FindView(Entity* tool, Entity* gridObject);

// The fractional column and row under the object "Cursor" of the tool's
// state; empty without a cursor or before the view has a cell size.
std::optional<D3DXVECTOR2> CursorCell(const View& view, Entity* tool);

// The centre on screen of the cell at column c, row r.
float CellCentreX(const View& view, int c);
float CellCentreY(const View& view, int r);

// Sets the cell at p of the grid object's level to value and records the
// change in step. A position outside the grid is neither written nor
// recorded (it could come inside after the grid grows, where undoing it
// would write −1 into a real cell), and neither is the level start's cell:
// the grid keeps the start there whatever a tool writes, so a step that held
// it would bring a stale start back on undo.
void Write(Action& step, ObjectData::Grid::Variables& g, D3DXVECTOR2 p, int value);

// Hands a finished step to the grid's undo stack: the step keeps the valid
// flag as it stood before the edit and the edit clears it.
void Push(LevelCollision& grid, Action* step);

// Queues a cell value at (x, y), one cell in size, as the grid view draws
// it: terrain as tiles at depth 10, every other value but 0 (objects, and
// the marked unknown values, negative ones too) as a quad at depth 1; 0
// draws nothing.
void QueueValue(const View& view, int value, float x, float y);

// A plain quad of the first frame of the named picture, one cell in size.
void QueueMark(const View& view, const char* picture, float x, float y, float depth);

// Mouse button 0 (left) or 1 (right): down, gone down this frame, come up this frame.
bool ButtonDown(int button);
bool ButtonPressed(int button);
bool ButtonReleased(int button);

// Drops a block lifted by the move tool of inState's "EGrid" where it lies
// and ends the move, as leaving the tool does. Every change of the grid that
// does not go through the move tool (undo, redo, saving, playing, a new or
// resized level) runs it first, so a lifted block is never overwritten or
// saved as empty cells.
void DropLiftedBlock(Entity* inState);

// The events a tool type binds; a missing one is bound empty.
struct ToolEvents {
    Event behavior;
    Event draw;  // "GraphicsDraw"
    Event load;
    Event endStroke;  // the grid hands it the release of a stroke it started
    Event leftGrid;   // "LeftGrid": the cursor is off the grid during a stroke
    Event cleanUp;    // "CleanUpBox", bound only when given
};

// Steps 1 to 8 of a tool's registration: the prototype of Vars under name,
// in the engines "Behavior" (which the grid takes out again and raises
// itself while the tool is chosen), "GraphicsUpdate" and "GraphicsDraw",
// with "Load", "Unload", "Logic", "EndStroke" and "LeftGrid" bound and its variable
// table started. The caller binds the variables.
template <class Vars>
ObjectTemplate::Data<Vars>* BeginTool(Object*& slot, const char* name, VariableOffsetTable& table,
                                      const ToolEvents& events,
                                      void (*copy)(Entity*, const Entity*) = &ObjectTemplate::Copy<Vars>) {
    auto* prototype = ObjectTemplate::Begin<Vars>(slot, name, table, copy);
    prototype->_TempAddEngine("Behavior", events.behavior);
    prototype->_TempAddEngine("GraphicsUpdate", Event());
    prototype->_TempAddEngine("GraphicsDraw", events.draw);
    prototype->_AddEvent("Load", events.load);
    if (events.cleanUp) prototype->_AddEvent("CleanUpBox", events.cleanUp);
    prototype->_AddEvent("EndStroke", events.endStroke);
    prototype->_AddEvent("LeftGrid", events.leftGrid);
    prototype->_AddEvent("Unload", Event());
    prototype->_AddEvent("Logic", Event());
    ObjectTemplate::StartVariables(prototype, table);
    return prototype;
}

}  // namespace EditorTools

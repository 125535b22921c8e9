#pragma once
// "MoveTool": a rectangle of cells dragged out with the mouse is lifted out of
// the level into a block, dragged and dropped elsewhere; the lift and the drop
// are one undoable step. Ctrl+A lifts the whole grid, Delete drops the lifted
// cells for good. The editor grid raises "Behavior" with (tool, grid) while
// the tool is chosen and "CleanUpBox" (drop and reset) while it is not.
#include <cstdint>
#include <vector>

#include "framework/Action.h"
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::MoveTool {

struct Variables {
    bool SelectingArea = true;
    bool makingbox = false;
    bool moving = false;
    bool movingStartPos = false;
    D3DXVECTOR2 boxCorner1{-1.0f, -1.0f};
    D3DXVECTOR2 boxCorner2{-1.0f, -1.0f};
    std::int32_t boxHeight = 0;
    std::int32_t boxWidth = 0;
    std::int32_t* box = nullptr;  // the lifted block, boxWidth a row; owned while lifted
    D3DXVECTOR2 boxPosition{-1.0f, -1.0f};
    D3DXVECTOR2 oldPos{-1.0f, -1.0f};
    D3DXVECTOR2 curPos{-1.0f, -1.0f};
    Action* moveAction = nullptr;  // the lift, then the drop; owned until pushed
    // Which entries of `box` were taken from beyond the grid: they write
    // nothing when dropped. Every other entry, of whatever value (a level
    // file may hold negative ones), is a cell carried along.
    std::vector<bool> outside;

    Variables() = default;
    Variables(const Variables& other) = default;  // "Load" then takes the copy's own block
    Variables& operator=(const Variables&) = delete;
    ~Variables() {
        delete[] box;
        delete moveAction;
    }
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

void Load(Entity* self, Entity* other);
void Behavior(Entity* self, Entity* grid);
void CleanUpBox(Entity* self, Entity* grid);
// The button that began a selection came up with the cursor off the grid.
void EndStroke(Entity* self, Entity* grid);
void GraphicsDraw(Entity* self, Entity* other);

}  // namespace ObjectData::MoveTool

#pragma once
// "FillTool": a press of the left button replaces the 4-connected region of
// equal cells under the cursor with the selected value, as one undoable step.
// The editor grid raises its "Behavior" with (tool, grid).
#include <cstddef>
#include <stack>

#include "framework/LevelCollision.h"
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::FillTool {

struct Variables {
    std::stack<D3DXVECTOR2> bucketStack;  // positions still to look at; empty between fills
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

void Behavior(Entity* self, Entity* grid);

// Fills the region of p's value that p lies in with value, depth first over
// stack, and returns the step (null when nothing changes: p outside the
// cells, or already holding value). deepest, when given, receives the most
// entries the stack held.
Action* Fill(LevelCollision& grid, std::stack<D3DXVECTOR2>& stack, D3DXVECTOR2 p, int value,
             std::size_t* deepest = nullptr);

}  // namespace ObjectData::FillTool

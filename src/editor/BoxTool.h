#pragma once
// "BoxTool": fills (left button) or erases (right button) the rectangle of
// cells dragged out with the mouse, one undoable step per box, and shows the
// box while it is dragged. The editor grid raises its "Behavior" with (tool,
// grid); the "GraphicsDraw" engine draws the preview every frame.
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::BoxTool {

struct Variables {
    D3DXVECTOR2 boxCorner1{-1.0f, -1.0f};  // a negative x: no box is open
    D3DXVECTOR2 boxCorner2{-1.0f, -1.0f};
    std::int32_t boxValue = 0;  // what the preview shows
    bool makingbox = false;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

void Behavior(Entity* self, Entity* grid);
// The button that began the box came up with the cursor off the grid: the
// box is filled to its last corner.
void EndStroke(Entity* self, Entity* grid);
void GraphicsDraw(Entity* self, Entity* other);

// The cells a box between two grid positions covers: from each smaller
// coordinate truncated, while below the larger one (a larger corner on a
// whole number leaves that column or row out).
template <class F>
void ForEachCell(D3DXVECTOR2 a, D3DXVECTOR2 b, F&& f) {
    const float minX = a.x < b.x ? a.x : b.x, maxX = a.x < b.x ? b.x : a.x;
    const float minY = a.y < b.y ? a.y : b.y, maxY = a.y < b.y ? b.y : a.y;
    const int firstC = static_cast<int>(minX);
    for (int r = static_cast<int>(minY); static_cast<float>(r) < maxY; ++r)
        for (int c = firstC; static_cast<float>(c) < maxX; ++c) f(c, r);
}

}  // namespace ObjectData::BoxTool

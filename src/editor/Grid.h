#pragma once
// "Grid": the level editor's view of the level being edited. It owns the
// level's LevelCollision, shows a window of it scrolled by the bars
// "GSliderH" and "GSliderV", handles undo and redo, and makes and drives
// the four tools ("BrushTool", "BoxTool", "FillTool", "MoveTool"), raising
// "Behavior" and "CleanUpBox" on them with (tool, grid).
#include "collision/CollisionEngine.h"
#include "framework/LevelCollision.h"
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

class Buffer;

namespace ObjectData::Grid {

struct Variables {
    D3DXVECTOR3 position{0.2f, 0.1f, 0.0f};
    D3DXVECTOR2 size{1.1f, 0.7f};
    const char* tex = "";
    LevelCollision grid;
    // The view's background for zoom 1, 2 and 4.
    const char* grid11 = nullptr;
    const char* grid12 = nullptr;
    const char* grid14 = nullptr;
    CollisionInfo2D collision;
    Object* BrushTool = nullptr;
    Object* BoxTool = nullptr;
    Object* FillTool = nullptr;
    Object* MoveTool = nullptr;
    // Column and row of the level start; the start cell always shows it.
    D3DXVECTOR2 StartPos{-1.0f, -1.0f};
    // A mouse button went down over the grid and has not come up yet.
    bool drawing = false;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);
// "lvEditorGrid": the editor's grid with its three zoom backgrounds.
void Differences(Object* object);

// The grid's variables, or null for an entity of another type.
Variables* Find(Entity* entity);

// The view's scroll: the first column shown (the horizontal bar's value)
// and the lowest row shown (the vertical bar's max - value), both truncated.
// A frozen bar (ticks 1: the level fits the view that way) scrolls nothing,
// whatever value it holds. The tools address cells with the same offsets.
void ScrollOffsets(const Entity* grid, int& column, int& row);

// What KeepOneStart found and mended.
struct StartCheck {
    bool placed = false;  // there was none inside the grid: one was placed
    int removed = 0;      // further start cells, cleared
};

// Gives grid exactly one level start and start its column and row: the
// start at `start` when its cell holds one, else the last start cell in the
// file's order (the one play would take), else a new one at the empty cell
// nearest `start` (nearest (1, 1) when `start` lies outside the grid), or
// at `start` itself, held inside the grid, when no cell is empty. Every
// other start cell becomes empty. A grid without cells is left alone.
StartCheck KeepOneStart(LevelCollision& grid, D3DXVECTOR2& start);

// The tile list a cell value is drawn in (grass, dirt, breakable ground,
// springs, shards), or -1 for a value drawn as a quad on the general list in
// its picture's own colours (spikes, objects, unknown values; and 0, which is
// not drawn at all).
int TileList(int value);

// Queues a quad of the view beyond the level's edge: one plain dark colour.
void QueueOutside(Buffer& buffer, float x, float y, float width, float height);

// Sets the frame's tile lists, their techniques and textures, and the
// lighting the editor's views draw with.
void SetUpTileLists(Buffer& buffer);

}  // namespace ObjectData::Grid

#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "framework/Action.h"
#include "framework/Vector.h"

// The codes stored in grid cells. 0 to 8 are terrain and get drawing tiles;
// 100 to 108 mark where the level scripts place objects. −1 is never stored:
// it is the answer for a position outside the grid.
struct LevelCellValue {
    enum : int {
        NoCollision = 0,
        GrassTile = 1,
        DirtTile = 2,
        SpikesUp = 3,
        SpikesRight = 4,
        SpikesDown = 5,
        SpikesLeft = 6,
        BreakableTile = 7,
        BrokenTile = 8,
        Fireflies = 100,
        LevelStart = 101,
        LevelGoal = 102,
        Checkpoint = 103,
        Spring = 104,
        SpringRight = 105,
        SpringLeft = 106,
        SpeedBoost = 107,
        MoonShard = 108,
    };
};

// A level's tile grid: width × height 32-bit cells, row-major, row 0 at the
// bottom (rows grow upward like world y), column 0 on the left. It carries the
// level's valid flag ("Completed" in the editor once the level has been played
// through to its goal), the start position found by Load, the drawing-tile
// masks and the editor's undo and redo stacks.
//
// Level files: width, height, the cells row 0 first, then the valid flag, all
// 32-bit little-endian; the length is exactly 12 + 4 × width × height bytes.
// Used on the game thread only.
class LevelCollision {
public:
    // Largest width or height a level file may have (and the grid may be resized to).
    static constexpr int kMaxSide = 1023;
    // Each stack keeps at most this many steps; the oldest falls off.
    static constexpr std::size_t kMaxActions = 100;
    // Built-in grid i is resource kFirstResource + i.
    static constexpr int kFirstResource = 4000;

    LevelCollision();
    LevelCollision(int width, int height);
    // Copies take the cells, size, flag and start position, never the stacks;
    // the target's drawing tiles are dropped.
    LevelCollision(const LevelCollision& other);
    LevelCollision& operator=(const LevelCollision& other);
    ~LevelCollision();

    // Cell access; positions outside the grid read −1 and are never written.
    int GetCell(int x, int y) const;
    int GetCell(float x, float y) const;
    int GetCell(D3DXVECTOR2 p) const;
    int GetCell(int index) const;
    int GetGrid(int index) const;  // no range check: the caller keeps index in range
    void SetCell(float x, float y, int value);
    void SetCell(D3DXVECTOR2 p, int value);
    void SetCell(int index, int value);

    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    int* GetGridPtr() { return cells.empty() ? nullptr : cells.data(); }
    const int* GetGridPtr() const { return cells.empty() ? nullptr : cells.data(); }
    D3DXVECTOR2 GetStartPos() const { return startPos; }
    bool GetValidFlag() const { return validFlag; }
    void SetValidFlag(bool flag) { validFlag = flag; }

    void SetGrid(const int* values);  // width × height values, row-major
    void SetGrid(int value);
    // Every cell 0 and the flag false; the undo history goes with the contents.
    void ClearGrid();
    // Sets the outer ring of cells (row 0, the top row, column 0, the last column) to 1.
    void SetBox();
    // New size, keeping the cells both sizes share; clears the valid flag and
    // keeps the stacks. Sizes outside 1 to kMaxSide and grids without cells are left alone.
    void Resize(int width, int height);
    static float SnapToCell(float f);
    // Change the size; the cells are resized with it so that the recorded size
    // always matches the cell array.
    void SetWidth(float w);
    void SetHeight(float h);

    // Level files under the user data folder's "Levels" folder. fileName ends
    // in ".lvl" and names a file in that folder (no '/').
    bool Save(const std::string& fileName) const;
    // The grid (and its start position, flag and undo history) changes only
    // when the whole file is valid.
    bool Load(const std::string& fileName);
    // Whether the levels folder holds anything under fileName (readable or not).
    static bool FileExists(const std::string& fileName);
    // Built-in grid index (resource kFirstResource + index).
    bool SLoad(int index);
    // The grid as source text, at the path as given.
    bool SaveCopyFile(const std::string& path) const;

    // Drawing tiles: 4-bit masks of the neighbours that continue a terrain
    // cell (1 above, 2 right, 4 below, 8 left; outside the grid continues).
    void GenerateCompleteTileGrid();
    void GenerateTileGrid(int value);
    int TileNeighbor(int x, int y, int value) const;
    int GetTileGridCell(int index) const;
    int GetTileGridCell(int x, int y) const;

    // Undo and redo. The grid owns every record on its stacks; Pop hands the
    // record (or null) over to the caller.
    void PushUndoAction(Action* a);
    Action* PopUndoAction();
    void PushRedoAction(Action* a);
    Action* PopRedoAction();
    void ClearUndoStack();
    void ClearRedoStack();
    void Undo();
    void Redo();
    std::size_t UndoCount() const { return undoStack.size(); }
    // The undo stack's step depth places below its newest (0 is the newest), or null.
    const Action* PeekUndo(std::size_t depth) const {
        return depth < undoStack.size() ? undoStack[undoStack.size() - 1 - depth].get() : nullptr;
    }
    std::size_t RedoCount() const { return redoStack.size(); }

private:
    using Stack = std::vector<std::unique_ptr<Action>>;

    bool Inside(int x, int y) const { return x >= 0 && x < width && y >= 0 && y < height; }
    std::size_t CellCount() const { return cells.size(); }
    // Replaces the whole contents from level-file bytes; false (nothing changed) when they are not a valid level.
    bool ReadLevelBytes(const unsigned char* data, std::size_t size, bool takeStart);
    static void Push(Stack& stack, Action* a);
    static void Apply(LevelCollision& grid, Action& a, bool backward);

    std::vector<int> cells;
    std::vector<int> tiles;  // empty until generated
    int width = 0;
    int height = 0;
    bool validFlag = false;
    D3DXVECTOR2 startPos{-1.0f, -1.0f};
    Stack undoStack;
    Stack redoStack;
};

// How a bound variable of this type is named to the script converter.
inline std::string VariableTypeText(std::type_identity<LevelCollision>) { return "LevelCollision"; }
inline std::string VariableTypeText(std::type_identity<LevelCollision*>) { return "LevelCollision*"; }

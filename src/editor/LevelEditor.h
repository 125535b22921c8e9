#pragma once
// "LevelEditor": the level editor's screen. It holds the editor's settings as
// its variables (every editor object reaches them through its state's
// current level), builds the tool bar, the palette, the grid view "EGrid"
// and its two scroll bars, and opens or creates the level file named by
// EditorLevelName.
#include <cstdint>
#include <string>

#include "framework/LevelCollision.h"
#include "framework/LevelTemplate.h"

class Level;
class Object;

namespace LevelData::LevelEditor {

// Cell values that have a picture of their own; every code outside 0 to
// kTextureCount - 1 is drawn as the unknown ones are.
constexpr int kTextureCount = 200;
// The picture of every cell value the editor does not know (a level file may
// hold any number): a marked "unknown" cell, kept as it is.
inline constexpr const char* kUnknownTexture = "unknownCell";

struct Variables {
    const char* objectTextures[kTextureCount] = {};
    std::string LevelToLoad;
    std::string LevelName;
    std::int32_t ZoomScale = 1;
    float UnitScaleX = 0.0f;
    float UnitScaleY = 0.0f;
    std::int32_t GridWidth = 0;
    std::int32_t GridHeight = 0;
    std::int32_t ScreenWidth = 16;
    std::int32_t ScreenHeight = 9;
    std::int32_t ToolCursor = 0;
    std::int32_t SelectedValue = 1;
    // The level as it was last opened or saved, to tell unsaved changes by.
    LevelCollision saved;
    // The cell under the view's centre as the last zoom kept it, and the
    // view's scroll it gave: zooming in and out again comes back to the same
    // view, not one rounded a cell aside.
    D3DXVECTOR2 zoomCentre{-1.0f, -1.0f};
    int zoomColumn = -1, zoomRow = -1;
};

using _DATA = LevelTemplate::Data<Variables>;

Level* _Init();

// The editor's variables when level is the editor screen; null otherwise.
Variables* Find(Entity* level);
// The editor screen of self's state, or null.
Variables* Of(const Entity* self);

// The picture of a cell value: objectTextures for 0 to 199, the unknown
// picture for every other code.
const char* CellTexture(const Variables& v, int value);

// The label text of a choosable cell value, or null for any other value.
const char* DisplayName(int value);
// Whether the editor knows the cell value (it has a name and a picture).
bool KnownValue(int value);

// Lays the view out for the editor's zoom and level size: the cell size on
// screen, then each scroll bar's range ("GSliderV", "GSliderH" of level's
// state), raising "UpdatePosition" on both, given (bar, raiser) (the level
// when raiser is null). On the first layout the vertical bar starts at its
// largest value, showing the bottom rows.
void LayOutView(Entity* level, bool first, Entity* raiser = nullptr);

// The zooms the view steps through.
constexpr int kMaxZoom = 4;

// Zooms the view to zoom (1, 2 or 4), keeping the cell under the view's
// centre where it is as far as the level's edges allow; the background and
// the bars follow (raised by raiser, the level when it is null).
void SetZoom(Entity* level, int zoom, Entity* raiser = nullptr);

// Scrolls the view by whole cells (rows upward), held to the level.
void ScrollView(Entity* level, int columns, int rows, Entity* raiser = nullptr);

// Saves the grid of "EGrid" under LevelName + ".lvl" and says so on the
// editor screen; a failure is shown there instead and the level stays in
// memory. True when it was written.
bool SaveLevel(Entity* level);

// The level of "EGrid" now holds what its file holds: it was just opened,
// made or saved.
void MarkSaved(Entity* level);
// Whether the level differs from what it was when last opened or saved
// (its size, its cells or its valid flag).
bool HasUnsavedChanges(Entity* level);

// The note the editor shows when it opens a level file: what it mended (a
// start placed where the file had none, further starts cleared) and how many
// cells hold values it does not know; empty when there is nothing to say.
std::string OpenedNote(const LevelCollision& grid, bool startPlaced, int startsRemoved);

// What a level needs before it can be played, as words ("a level start",
// "a level goal", both joined by "and"); empty when it has both.
std::string MissingForPlay(const LevelCollision& grid, D3DXVECTOR2 start);

// Shows text in the editor screen's message line ("EMessage"); empty clears it.
void ShowMessage(Entity* level, const std::string& text);

}  // namespace LevelData::LevelEditor

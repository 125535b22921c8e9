#pragma once
// "LevelEditor": the level editor's screen. It holds the editor's settings as
// its variables (every editor object reaches them through its state's
// current level), builds the tool bar, the palette, the grid view "EGrid"
// and its two scroll bars, and opens or creates the level file named by
// EditorLevelName.
#include <cstdint>
#include <string>

#include "framework/LevelTemplate.h"

class Level;
class Object;

namespace LevelData::LevelEditor {

// Cell values that have a picture of their own; every code outside 0 to
// kTextureCount - 1 is drawn as the unlisted ones are.
constexpr int kTextureCount = 200;
// The picture of every cell value without one of its own.
inline constexpr const char* kUnlistedTexture = "spdBoost";

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
};

using _DATA = LevelTemplate::Data<Variables>;

Level* _Init();

// The editor's variables when level is the editor screen; null otherwise.
Variables* Find(Entity* level);
// The editor screen of self's state, or null.
Variables* Of(const Entity* self);

// The picture of a cell value: objectTextures for 0 to 199, the unlisted
// picture for every other code (a level file may hold any number).
const char* CellTexture(const Variables& v, int value);

// The label text of a choosable cell value, or null for any other value.
const char* DisplayName(int value);

// Lays the view out for the editor's zoom and level size: the cell size on
// screen, then each scroll bar's range ("GSliderV", "GSliderH" of level's
// state), raising "UpdatePosition" on both, given (bar, raiser) (the level
// when raiser is null). On the first layout the vertical bar starts at its
// largest value, showing the bottom rows.
void LayOutView(Entity* level, bool first, Entity* raiser = nullptr);

// Saves the grid of "EGrid" under LevelName + ".lvl"; a failure is shown on
// the editor screen and the level stays in memory. True when it was written.
bool SaveLevel(Entity* level);

// Shows text in the editor screen's message line ("EMessage"); empty clears it.
void ShowMessage(Entity* level, const std::string& text);

}  // namespace LevelData::LevelEditor

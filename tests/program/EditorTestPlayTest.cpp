// The real program, headless, driven only by key and mouse events through
// the input layer: a level drawn in the level editor, played on the test-play
// screen to its goal and back, then left again by the pause menu.
#include <gtest/gtest.h>

#include <vector>

#include "editor/Grid.h"
#include "editor/LevelEditor.h"
#include "framework/GameVariables.h"
#include "framework/Level.h"
#include "framework/LevelCollision.h"
#include "objects/Player.h"
#include "support/ScriptedProgram.h"
#include "widgets/Text.h"

namespace {

using scripted::ProgramRun;

std::filesystem::path Source(const std::string& relative) { return std::filesystem::path(GF_SOURCE_DIR) / relative; }

Level* Showing(const std::string& name) {
    for (State* state : State::_list)
        if (!state->Deleted() && state->GetLevel() != nullptr && state->GetLevelName() == name)
            return state->GetLevel();
    return nullptr;
}

// What the editor shows when a mark is reached.
struct EditorSeen {
    bool open = false;
    std::string name, validLabel;
    std::vector<int> cells;
    int width = 0, height = 0;
};

EditorSeen SeeEditor() {
    EditorSeen seen;
    Level* level = Showing("LevelEditor");
    auto* vars = LevelData::LevelEditor::Find(level);
    auto* grid = level != nullptr ? ObjectData::Grid::Find(level->GetMyObject("EGrid")) : nullptr;
    if (vars == nullptr || grid == nullptr) return seen;
    seen.open = true;
    seen.name = vars->LevelName;
    if (auto* label = ObjectData::Text::Find(level->GetMyObject("ValidFlagText"))) seen.validLabel = label->text;
    seen.width = grid->grid.GetWidth();
    seen.height = grid->grid.GetHeight();
    for (int i = 0; i < seen.width * seen.height; ++i) seen.cells.push_back(grid->grid.GetCell(i));
    return seen;
}

int CellOf(const EditorSeen& seen, int column, int row) {
    return seen.open ? seen.cells[static_cast<std::size_t>(row * seen.width + column)] : -1;
}

class EditorTestPlayTest : public ProgramRun {};

TEST_F(EditorTestPlayTest, ALevelDrawnPlayedToItsGoalAndLeftByThePauseMenu) {
    EditorSeen opened, drawn, back, stroked, reloaded;
    bool networked = true, fileValid = false, brokeInPlay = false;
    int playedBreakable = -1, reloadedBreakable = -1;
    const int status = Run(scripted::ReadFile(Source("tests/program/scripts/editor_test_play.script")),
                           {{"opened", [&] { opened = SeeEditor(); }},
                            {"drawn", [&] { drawn = SeeEditor(); }},
                            {"playing",
                             [&] {
                                 Level* play = Showing("Sandbox");
                                 Entity* player = play != nullptr ? play->GetMyObject("Player_0") : nullptr;
                                 if (ObjectData::Player::IsPlayer(player))
                                     networked = ObjectData::Player::Vars(player).networked;
                             }},
                            {"back",
                             [&] {
                                 back = SeeEditor();
                                 LevelCollision file;
                                 fileValid = file.Load("Default.lvl") && file.GetValidFlag();
                             }},
                            {"stroked", [&] { stroked = SeeEditor(); }},
                            {"broken",
                             [&] {
                                 // A rolling player breaks a breakable cell into a broken one.
                                 LevelCollision& played = GameVars().basicLevel;
                                 playedBreakable = played.GetCell(8, 3);
                                 brokeInPlay =
                                     Showing("Sandbox") != nullptr && playedBreakable == LevelCellValue::BreakableTile;
                                 played.SetCell(8.5f, 3.5f, LevelCellValue::BrokenTile);
                             }},
                            {"reloaded", [&] {
                                 reloaded = SeeEditor();
                                 reloadedBreakable = GameVars().basicLevel.GetCell(8, 3);
                                 SetQuitting(nullptr);
                             }}});
    EXPECT_EQ(runner->Failure(), "");
    EXPECT_TRUE(runner->Done()) << "stopped after frame " << runner->Frames();
    EXPECT_EQ(status, 0);

    // The first visit opens a new 20 by 20 "Default" with its start at (1, 1).
    ASSERT_TRUE(opened.open);
    EXPECT_EQ(opened.name, "Default");
    EXPECT_EQ(opened.width, 20);
    EXPECT_EQ(CellOf(opened, 1, 1), LevelCellValue::LevelStart);

    // The brush painted the floor, the block and the goal.
    ASSERT_TRUE(drawn.open);
    for (int c = 0; c < 10; ++c) EXPECT_EQ(CellOf(drawn, c, 0), LevelCellValue::GrassTile) << c;
    EXPECT_EQ(CellOf(drawn, 8, 3), LevelCellValue::BreakableTile);
    EXPECT_EQ(CellOf(drawn, 5, 1), LevelCellValue::LevelGoal);
    EXPECT_EQ(drawn.validLabel, "Not Tested");

    // Played alone, as in single play; the goal reopened the same level,
    // completed, its file marked.
    EXPECT_FALSE(networked);
    ASSERT_TRUE(back.open) << "the goal did not lead back to the editor";
    EXPECT_EQ(back.name, "Default");
    EXPECT_EQ(back.cells, drawn.cells);
    EXPECT_EQ(back.validLabel, "Completed");
    EXPECT_TRUE(fileValid);
    ASSERT_TRUE(stroked.open);
    EXPECT_EQ(CellOf(stroked, 10, 0), LevelCellValue::GrassTile);
    EXPECT_EQ(stroked.validLabel, "Not Tested");

    // Left by the pause menu: the grid comes from the file, the block is back.
    EXPECT_TRUE(brokeInPlay) << "the test play's grid held " << playedBreakable;
    ASSERT_TRUE(reloaded.open) << "the pause menu did not lead back to the editor";
    EXPECT_EQ(reloaded.name, "Default");
    EXPECT_EQ(reloaded.cells, stroked.cells);
    EXPECT_EQ(reloadedBreakable, LevelCellValue::BreakableTile);
}

}  // namespace

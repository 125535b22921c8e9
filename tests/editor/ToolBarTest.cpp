// The tool bar through clicks: Save, a failed save, Play and the way back,
// the tool selectors, and the dialog buttons opening their dialogs.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <tuple>

#include "editor/EditorWorld.h"

using namespace editortest;

namespace {

class ToolBarTest : public EditorWorld {
protected:
    void SetUp() override {
        EditorWorld::SetUp();
        StandInTestPlay();
    }
    void PaintAndSave() {
        Grid().grid.SetCell(3.0f, 2.0f, 7);
        Click(-0.72f, 0.32f);
    }
    LevelCollision Saved(const std::string& file) {
        LevelCollision grid;
        EXPECT_TRUE(grid.Load(file));
        return grid;
    }
};

TEST_F(ToolBarTest, SaveWritesTheLevelUnderItsName) {
    OpenEditor();
    PaintAndSave();
    EXPECT_EQ(Saved("Default.lvl").GetCell(3, 2), 7);
    EXPECT_EQ(Label("EMessage"), "Saved Default.");
}

TEST_F(ToolBarTest, AFailedSaveIsShownAndPlayStaysInTheEditor) {
    OpenEditor();
    GameVars().basicLevel = LevelCollision(5, 5);
    ASSERT_EQ(::unlink((folder.levels + "Default.lvl").c_str()), 0);
    ASSERT_EQ(::rmdir(folder.levels.c_str()), 0);
    Grid().grid.SetCell(6.0f, 2.0f, 102);
    PaintAndSave();
    EXPECT_NE(Label("EMessage").find("Could not save Default.lvl"), std::string::npos) << Label("EMessage");
    EXPECT_EQ(Grid().grid.GetCell(3, 2), 7) << "the level is kept";

    Click(-0.45f, 0.38f);
    EXPECT_FALSE(EditorFramesUntil("Sandbox", 60));
    EXPECT_NE(Label("EMessage").find("Could not save Default.lvl"), std::string::npos) << Label("EMessage");
    EXPECT_EQ(GameVars().basicLevel.GetWidth(), 5) << "nothing handed to the test play";

    // Once the folder is back, the next save says it saved.
    ::mkdir(folder.levels.c_str(), 0755);
    Click(-0.72f, 0.32f);
    EXPECT_EQ(Label("EMessage"), "Saved Default.");
    EXPECT_EQ(Saved("Default.lvl").GetCell(3, 2), 7);
}

TEST_F(ToolBarTest, PlaySavesHandsTheGridOverAndComesBackToTheSameLevel) {
    WriteLevel("Mine", 30, 12);
    EditorLevelName = "Mine";
    OpenEditor();
    Grid().grid.SetCell(5.0f, 4.0f, 104);
    Grid().grid.SetCell(8.0f, 4.0f, 102);
    const LevelCollision edited = Grid().grid;
    Click(-0.45f, 0.38f);
    EXPECT_EQ(Label("EMessage"), "Saved Mine.");
    EXPECT_EQ(Saved("Mine.lvl").GetCell(5, 4), 104);
    EXPECT_TRUE(EditorFramesUntil("Sandbox", 120));
    const LevelCollision& played = GameVars().basicLevel;
    ASSERT_EQ(played.GetWidth(), edited.GetWidth());
    ASSERT_EQ(played.GetHeight(), edited.GetHeight());
    for (int i = 0; i < edited.GetWidth() * edited.GetHeight(); ++i)
        ASSERT_EQ(played.GetCell(i), edited.GetCell(i)) << i;

    // Leaving the test play reopens the editor on the same level.
    State::SetLevel(editor, "LevelEditor");
    EditorFrame();
    EXPECT_EQ(editor->GetLevelName(), "LevelEditor");
    EXPECT_EQ(Vars().LevelName, "Mine");
    EXPECT_EQ(Grid().grid.GetWidth(), 30);
    EXPECT_EQ(Grid().grid.GetCell(5, 4), 104);
}

TEST_F(ToolBarTest, ToolSelectorsChooseTheirToolAndDialogButtonsOpenTheirDialogs) {
    OpenEditor();
    const struct {
        float x, y;
        int tool;
    } selectors[] = {{-0.47f, -0.3f, 1}, {-0.47f, -0.43f, 2}, {-0.59f, -0.43f, 3}, {-0.59f, -0.3f, 0}};
    for (const auto& s : selectors) {
        Click(s.x, s.y);
        EXPECT_EQ(Vars().ToolCursor, s.tool);
    }
    // New, Open, Save As and Resize each open their dialog in a state of its
    // own and tell it which editor opened it.
    const std::size_t states = State::_list.size();
    const std::tuple<float, float, const char*> dialogs[] = {{-0.72f, 0.42f, "LevelEditorCreate"},
                                                             {-0.62f, 0.42f, "LevelEditorLoad"},
                                                             {-0.62f, 0.32f, "LevelEditorCreateAs"},
                                                             {0.77f, -0.275f, "LevelEditorResize"}};
    for (const auto& [x, y, level] : dialogs) {
        Click(x, y);
        ASSERT_EQ(State::_list.size(), states + 1) << level;
        State* dialog = State::_list.back();
        EXPECT_EQ(dialog->GetLevelName(), level);
        EXPECT_EQ(*FindVariable<Level*>(dialog->GetLevel(), enum_ParentLevel), L());
        State::SetLevel(dialog, "Quit");
        State::EndOfFrame();
    }
    EXPECT_EQ(editor->GetLevelName(), "LevelEditor");
}

TEST_F(ToolBarTest, TheButtonsCarryTheirToolTips) {
    OpenEditor();
    const std::pair<const char*, const char*> tips[] = {
        {"ENew", "Create a new level"},
        {"EOpen", "Open an existing level"},
        {"ESave", "Save the level"},
        {"ESaveAs", "Save the level with a new name"},
        {"EResize", "Resize the level"},
        {"EPlay", "Test Play the level"},
        {"EZoom", "Zoom the level in and out"},
        {"EBrushTool", "Brush Tool"},
        {"EBoxTool", "Box Tool"},
        {"EBucketTool", "Bucket/Fill Tool"},
        {"EMoveTool", "Move Tool"},
    };
    for (const auto& [name, tip] : tips) {
        ASSERT_NE(Named(name), nullptr) << name;
        EXPECT_EQ(*FindVariable<std::string>(Named(name), enum_toolTip), tip);
    }
}

}  // namespace

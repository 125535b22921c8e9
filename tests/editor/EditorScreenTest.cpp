// The level editor screen through its real objects: opening and creating
// level files, the view's layout and zoom, the labels, the grid's hit area,
// undo timing, the start cell and the grid's tool dispatch.
#include <gtest/gtest.h>

#include "editor/EditorWorld.h"

using namespace editortest;

namespace {

using EditorScreenTest = EditorWorld;

TEST_F(EditorScreenTest, TheFirstVisitCreatesAndSavesTheDefaultLevel) {
    OpenEditor();
    EXPECT_EQ(EditorLevelName, "Default");
    EXPECT_EQ(Vars().LevelName, "Default");
    EXPECT_EQ(CurrentLevelIndex, -1);
    EXPECT_EQ(Vars().GridWidth, 20);
    EXPECT_EQ(Vars().GridHeight, 20);
    EXPECT_EQ(Grid().grid.GetWidth(), 20);
    EXPECT_EQ(Grid().grid.GetHeight(), 20);
    EXPECT_EQ(Grid().StartPos, D3DXVECTOR2(1.0f, 1.0f));
    EXPECT_EQ(Grid().grid.GetCell(1, 1), 101);
    EXPECT_EQ(Label("EMessage"), "");

    // The saved file opens again as the same level with its start.
    EXPECT_EQ(folder.Read("Default.lvl").size(), 12u + 4u * 400u);
    LevelCollision reread;
    ASSERT_TRUE(reread.Load("Default.lvl"));
    EXPECT_EQ(reread.GetWidth(), 20);
    EXPECT_EQ(reread.GetStartPos(), D3DXVECTOR2(1.0f, 1.0f));
    EXPECT_FALSE(reread.GetValidFlag());
}

TEST_F(EditorScreenTest, AnExistingDefaultLevelIsOpenedAndLeftAsItIs) {
    WriteLevel("Default", 24, 12, true);
    const std::vector<unsigned char> before = folder.Read("Default.lvl");
    OpenEditor();
    EditorFrames(3);
    EXPECT_EQ(EditorLevelName, "Default");
    EXPECT_EQ(Vars().GridWidth, 24);
    EXPECT_EQ(Vars().GridHeight, 12);
    EXPECT_TRUE(Grid().grid.GetValidFlag());
    EXPECT_EQ(Label("ValidFlagText"), "Completed");
    EXPECT_EQ(folder.Read("Default.lvl"), before);
}

TEST_F(EditorScreenTest, AnUnreadableLevelShowsAMessageOpensAnEmptyLevelAndWritesNothing) {
    struct Case {
        const char* editorName;  // EditorLevelName on arrival
        const char* file;        // the file in the folder, or null for none
        std::vector<unsigned char> bytes;
        const char* expectedName;
    };
    const std::vector<unsigned char> corrupt = {3, 0, 0, 0, 0, 0, 0, 0, 1, 2};
    const Case cases[] = {
        {"Broken", "Broken.lvl", corrupt, "Broken"},
        {"Gone", nullptr, {}, "Gone"},
        {"", "Default.lvl", corrupt, "Default"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expectedName);
        if (c.file != nullptr) folder.Write(c.file, c.bytes);
        const std::vector<std::string> files = folder.List();
        EditorLevelName = c.editorName;
        OpenEditor();
        EditorFrames(2);
        EXPECT_EQ(Vars().LevelName, c.expectedName);
        EXPECT_EQ(EditorLevelName, c.expectedName);
        EXPECT_NE(Label("EMessage").find("Could not read"), std::string::npos) << Label("EMessage");
        EXPECT_EQ(Grid().grid.GetWidth(), 20);
        EXPECT_EQ(Vars().GridHeight, 20);
        EXPECT_EQ(Grid().StartPos, D3DXVECTOR2(1.0f, 1.0f));
        EXPECT_EQ(Grid().grid.GetCell(1, 1), 101);
        if (c.file != nullptr) {
            EXPECT_EQ(folder.Read(c.file), c.bytes);
        }
        EXPECT_EQ(folder.List(), files) << "a file was written";
    }
}

TEST_F(EditorScreenTest, TheViewIsLaidOutForTheLevelAndEachZoom) {
    struct Bars {
        float vMax;
        int vTicks;
        float hMax;
        int hTicks;
    };
    struct Case {
        int width, height;
        Bars first;
        float vValue;
    };
    const Case cases[] = {
        // A level that fits the view freezes its bars.
        {16, 9, {2.0f, 1, 2.0f, 1}, 0.0f},
        {20, 20, {11.0f, 12, 4.0f, 5}, 11.0f},
        {40, 9, {2.0f, 1, 24.0f, 25}, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        const std::string name = "L" + std::to_string(c.width) + "x" + std::to_string(c.height);
        WriteLevel(name, c.width, c.height);
        EditorLevelName = name;
        OpenEditor();
        EXPECT_FLOAT_EQ(Vars().UnitScaleX, 1.1f / 16.0f);
        EXPECT_FLOAT_EQ(Vars().UnitScaleY, 0.7f / 9.0f);
        EXPECT_FLOAT_EQ(BarValue("GSliderV", enum_max), c.first.vMax);
        EXPECT_EQ(BarTicks("GSliderV"), c.first.vTicks);
        if (c.first.vTicks > 1) {
            EXPECT_FLOAT_EQ(BarValue("GSliderV", enum_value), c.vValue);
        }
        EXPECT_FLOAT_EQ(BarValue("GSliderH", enum_max), c.first.hMax);
        EXPECT_EQ(BarTicks("GSliderH"), c.first.hTicks);
        if (c.first.hTicks > 1) {
            EXPECT_FLOAT_EQ(BarValue("GSliderH", enum_value), 0.0f);
        }
        // The view opens on the bottom rows, at the first column.
        EditorFrames(2);
        int column = -1, row = -1;
        ObjectData::Grid::ScrollOffsets(Named("EGrid"), column, row);
        EXPECT_EQ(column, 0);
        EXPECT_EQ(row, 0);
    }
}

TEST_F(EditorScreenTest, TheZoomButtonCyclesOneTwoFourAndBackWithTheGridsBackground) {
    OpenEditor();  // the 20 by 20 Default level
    struct Step {
        int zoom;
        const char* tex;
        float vMax;
        int vTicks;
        float hMax;
        int hTicks;
    };
    const Step steps[] = {
        {2, "grid12", 2.0f, 3, 2.0f, 1},
        {4, "grid14", 2.0f, 1, 2.0f, 1},
        {1, "grid11", 11.0f, 12, 4.0f, 5},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.zoom);
        Click(-0.72f, -0.3f);
        EXPECT_EQ(Vars().ZoomScale, s.zoom);
        EXPECT_STREQ(Grid().tex, s.tex);
        EXPECT_FLOAT_EQ(Vars().UnitScaleX, 1.1f / static_cast<float>(16 * s.zoom));
        EXPECT_FLOAT_EQ(Vars().UnitScaleY, 0.7f / static_cast<float>(9 * s.zoom));
        EXPECT_FLOAT_EQ(BarValue("GSliderV", enum_max), s.vMax);
        EXPECT_EQ(BarTicks("GSliderV"), s.vTicks);
        EXPECT_FLOAT_EQ(BarValue("GSliderH", enum_max), s.hMax);
        EXPECT_EQ(BarTicks("GSliderH"), s.hTicks);
        // A frozen bar scrolls nothing, whatever its thumb reads.
        int column = -1, row = -1;
        ObjectData::Grid::ScrollOffsets(Named("EGrid"), column, row);
        if (s.hTicks == 1) {
            EXPECT_EQ(column, 0);
        }
        if (s.vTicks == 1) {
            EXPECT_EQ(row, 0);
        }
    }
}

TEST_F(EditorScreenTest, TheLabelsNameTheSelectedValueAndTheTestState) {
    OpenEditor();
    EXPECT_EQ(Label("ObjectText"), "Grass Tile");
    EXPECT_EQ(Label("ValidFlagText"), "Not Tested");
    const std::pair<int, const char*> named[] = {
        {0, "No Collision"},   {1, "Grass Tile"},       {2, "Dirt Tile"},       {3, "Spikes (Up)"},
        {4, "Spikes (Right)"}, {5, "Spikes (Down)"},    {6, "Spikes (Left)"},   {7, "Breakable Tile"},
        {100, "Fireflies"},    {101, "Level Start"},    {102, "Level Goal"},    {103, "Checkpoint"},
        {104, "Spring"},       {105, "Spring (Right)"}, {106, "Spring (Left)"}, {107, "Speed Boost"},
        {108, "Moon Shard"},
    };
    // Each on the tab that holds it; the other tab names nothing of its own.
    for (const auto& [value, text] : named) {
        Vars().SelectedValue = value;
        const int tab = value >= 100 ? 1 : 0;
        Palette().SelectedTab = tab;
        EditorFrame();
        EXPECT_EQ(Label("ObjectText"), value == 0 ? "" : text) << value << ": no tab holds nothing";
        Palette().SelectedTab = 1 - tab;
        EditorFrame();
        EXPECT_EQ(Label("ObjectText"), "") << value << " while the other tab shows";
    }
    // Values no tab holds name nothing.
    Palette().SelectedTab = 0;
    for (int value : {8, 99, 109, -1, 250}) {
        Vars().SelectedValue = value;
        EditorFrame();
        EXPECT_EQ(Label("ObjectText"), "") << value;
    }
    Grid().grid.SetValidFlag(true);
    EditorFrame();
    EXPECT_EQ(Label("ValidFlagText"), "Completed");
}

TEST_F(EditorScreenTest, TheGridIsHitInsideItsDrawnRectangleOnly) {
    OpenEditor();
    Entity* cursor = Named("Cursor");
    Entity* grid = Named("EGrid");
    const struct {
        float x, y;
        bool inside;
    } points[] = {
        {0.2f, 0.1f, true},   {-0.34f, -0.24f, true}, {0.74f, 0.44f, true},  {-0.36f, 0.1f, false},
        {0.76f, 0.1f, false}, {0.2f, 0.46f, false},   {0.2f, -0.26f, false},
    };
    for (const auto& p : points) {
        PointAt(p.x, p.y);
        EditorFrame();
        EXPECT_EQ(collisionEngine.Check(grid, cursor), p.inside) << p.x << ", " << p.y;
    }
}

TEST_F(EditorScreenTest, TheLevelStartValueTakesTheBrushWhileThePointerIsOverTheGrid) {
    OpenEditor();
    Vars().SelectedValue = 101;
    Vars().ToolCursor = 2;
    PointAt(-0.8f, 0.0f);  // beside the grid
    EditorFrame();
    EXPECT_EQ(Vars().ToolCursor, 2);
    PointAt(0.2f, 0.1f);
    EditorFrame();
    EXPECT_EQ(Vars().ToolCursor, 0);
    // Pressing the fill tool's button lasts only until the pointer is back over the grid.
    Click(-0.47f, -0.43f);
    EXPECT_EQ(Vars().ToolCursor, 2);
    PointAt(0.2f, 0.1f);
    EditorFrame();
    EXPECT_EQ(Vars().ToolCursor, 0);
}

TEST_F(EditorScreenTest, HeldCtrlZUndoesAtOnceThenEveryThirdFrameFromTheThirtieth) {
    OpenEditor();
    LevelCollision& grid = Grid().grid;
    for (int i = 0; i < 20; ++i) {
        auto* step = new Action;
        step->deltas.push_back(1);
        step->positions.push_back(D3DXVECTOR2(static_cast<float>(i), 5.0f));
        grid.PushUndoAction(step);
    }
    Key(SDL_SCANCODE_LCTRL, true);
    Key(SDL_SCANCODE_Z, true);
    std::vector<int> undoneOn;
    for (int frame = 1; frame <= 40; ++frame) {
        const std::size_t before = grid.UndoCount();
        EditorFrame();
        if (grid.UndoCount() < before) undoneOn.push_back(frame);
    }
    EXPECT_EQ(undoneOn, (std::vector<int>{1, 30, 33, 36, 39}));
    EXPECT_EQ(grid.RedoCount(), 5u);
    // The newest steps were undone: cells 19 to 15 of row 5 went up by one.
    EXPECT_EQ(grid.GetCell(19, 5), 1);
    EXPECT_EQ(grid.GetCell(15, 5), 1);
    EXPECT_EQ(grid.GetCell(14, 5), 0);
    Key(SDL_SCANCODE_Z, false);

    // Z without Ctrl does nothing; Ctrl+Y redoes.
    Key(SDL_SCANCODE_LCTRL, false);
    EditorFrame();
    Key(SDL_SCANCODE_Z, true);
    EditorFrames(2);
    EXPECT_EQ(grid.UndoCount(), 15u);
    Key(SDL_SCANCODE_Z, false);
    Key(SDL_SCANCODE_RCTRL, true);
    Key(SDL_SCANCODE_Y, true);
    EditorFrame();
    EXPECT_EQ(grid.UndoCount(), 16u);
    EXPECT_EQ(grid.GetCell(15, 5), 0);
}

TEST_F(EditorScreenTest, TheStartCellIsWrittenBackEveryFrame) {
    OpenEditor();
    Grid().grid.SetCell(1.0f, 1.0f, 0);
    EditorFrame();
    EXPECT_EQ(Grid().grid.GetCell(1, 1), 101);
    Grid().StartPos = D3DXVECTOR2(4.5f, 7.9f);
    EditorFrame();
    EXPECT_EQ(Grid().grid.GetCell(4, 7), 101);
}

// The grid's dispatch to its tools, watched through stand-in tools that log
// the events they get.
void LogBehavior(Entity* self, Entity* other) {
    world::Log().push_back(self->GetName() + ":Behavior:" + other->GetName());
}
void LogCleanUp(Entity* self, Entity*) { world::Log().push_back(self->GetName() + ":CleanUpBox"); }

TEST_F(EditorScreenTest, TheGridDrivesTheChosenToolWhileAStrokeIsOverIt) {
    OpenEditor();
    ObjectData::Grid::Variables& g = Grid();
    world::RegisterThing("LoggingTool");
    Object** slots[] = {&g.BrushTool, &g.BoxTool, &g.FillTool, &g.MoveTool};
    const char* names[] = {"brush", "box", "fill", "move"};
    for (int i = 0; i < 4; ++i) {
        *slots[i] = Object::MakeCopy(editor, "LoggingTool", names[i]);
        (*slots[i])->AddEvent("Behavior", &LogBehavior);
        (*slots[i])->AddEvent("CleanUpBox", &LogCleanUp);
    }
    auto heard = [&] {
        std::vector<std::string> log = world::Log();
        world::Log().clear();
        return log;
    };
    Vars().SelectedValue = 1;
    PointAt(0.2f, 0.1f);
    EditorFrame();
    EXPECT_EQ(heard(), std::vector<std::string>{"move:CleanUpBox"}) << "no stroke yet";

    for (int tool = 0; tool < 3; ++tool) {
        SCOPED_TRACE(tool);
        Vars().ToolCursor = tool;
        LeftButton(true);
        EditorFrame();
        EXPECT_EQ(heard(), (std::vector<std::string>{std::string(names[tool]) + ":Behavior:EGrid", "move:CleanUpBox"}));
        EXPECT_TRUE(g.drawing);
        // Off the grid the stroke pauses; released there, it ends.
        PointAt(-0.8f, 0.0f);
        EditorFrame();
        EXPECT_EQ(heard(), std::vector<std::string>{"move:CleanUpBox"});
        LeftButton(false);
        EditorFrame();
        EXPECT_FALSE(g.drawing);
        heard();
        PointAt(0.2f, 0.1f);
        EditorFrame();
        EXPECT_EQ(heard(), std::vector<std::string>{"move:CleanUpBox"});
    }
    // The move tool runs whenever the pointer is over the grid, stroke or not.
    Vars().ToolCursor = 3;
    EditorFrame();
    EXPECT_EQ(heard(), std::vector<std::string>{"move:Behavior:EGrid"});
    PointAt(-0.8f, 0.0f);
    EditorFrame();
    EXPECT_TRUE(heard().empty());
    // A tool that could not be made (its type not registered) is skipped.
    g.BrushTool = nullptr;
    Vars().ToolCursor = 0;
    PointAt(0.2f, 0.1f);
    LeftButton(true);
    EditorFrame();
    LeftButton(false);
    EditorFrame();
    EXPECT_EQ(heard(), (std::vector<std::string>{"move:CleanUpBox", "move:CleanUpBox"}));
}

}  // namespace

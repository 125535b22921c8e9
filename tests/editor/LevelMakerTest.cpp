// The editor as a level maker uses it, end to end through the input layer
// with every state running as the game thread runs them: a fast stroke, the
// window's close button and "Main Menu" with and without unsaved changes,
// Play's word and its refusals, the zoom and the wheel, levels with cells of
// unknown values or without a start, and clicks that come between two
// frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "editor/DialogWorld.h"
#include "editor/MoveTool.h"
#include "platform/window/StateWindows.h"
#include "widgets/WidgetSupport.h"

using namespace editortest;

namespace {

class LevelMakerTest : public DialogWorld {
protected:
    // Frames of every state (at most limit) until the editor's state shows `name`.
    bool FramesUntil(const std::string& name, int limit) {
        for (int i = 0; i < limit && editor->GetLevelName() != name; ++i) {
            clock.Advance(16);
            AllFrame();
        }
        return editor->GetLevelName() == name;
    }
    // The view's first column and lowest row shown.
    std::pair<int, int> Offsets() const {
        int column = 0, row = 0;
        ObjectData::Grid::ScrollOffsets(Named("EGrid"), column, row);
        return {column, row};
    }
    // The centre on screen of level cell (c, r) as the view now shows it.
    float CellX(int c) const { return -0.35f + Vars().UnitScaleX * (static_cast<float>(c - Offsets().first) + 0.5f); }
    float CellY(int r) const { return -0.25f + Vars().UnitScaleY * (static_cast<float>(r - Offsets().second) + 0.5f); }
    void PickTile(float x, float y) {
        AllClick(-0.675f, 0.205f);  // the tiles tab
        AllClick(x, y);
    }
    void PickObject(float x, float y) {
        AllClick(-0.5f, 0.205f);  // the objects tab
        AllClick(x, y);
    }
    void Brush() { AllClick(-0.59f, -0.3f); }
    void Save() { AllClick(-0.72f, 0.32f); }
    void Play() { AllClick(-0.45f, 0.38f); }
    void MainMenu() { AllClick(0.65f, -0.4f); }
    void Zoom() { AllClick(-0.72f, -0.3f); }
    // A left-button drag from (x0, y0) to (x1, y1) in one move between two frames.
    void Drag(float x0, float y0, float x1, float y1) {
        PointAt(x0, y0);
        AllFrame();
        LeftButton(true);
        AllFrame();
        PointAt(x1, y1);
        AllFrame();
        LeftButton(false);
        AllFrame();
    }
    // A left click on level cell (c, r).
    void ClickCell(int c, int r) { AllClick(CellX(c), CellY(r)); }
    // A 200 by 200 level, opened, with the view moved to show column 50 and row 80 first.
    void OpenLarge() {
        WriteLevel("Large", 200, 200);
        EditorLevelName = "Large";
        OpenEditor();
        // As a drag of each bar's thumb leaves it.
        *FindVariable<float>(Named("GSliderH"), enum_value) = 50.0f;
        float& v = *FindVariable<float>(Named("GSliderV"), enum_value);
        v = BarValue("GSliderV", enum_max) - 80.0f;
        for (const char* bar : {"GSliderH", "GSliderV"}) Widgets::RaiseOwn(Named(bar), "UpdatePosition", nullptr);
        AllFrame();
        ASSERT_EQ(Offsets(), std::make_pair(50, 80));
    }
    // The cell under the view's centre, in cells from the level's corner.
    std::pair<double, double> Centre() const {
        return {Offsets().first + Vars().ScreenWidth * Vars().ZoomScale / 2.0,
                Offsets().second + Vars().ScreenHeight * Vars().ZoomScale / 2.0};
    }
    // A level file's bytes: its size, its cells row 0 first, its flag word.
    static std::vector<unsigned char> LevelBytes(int width, int height, const std::vector<std::int32_t>& cells,
                                                 std::uint32_t flag) {
        std::vector<unsigned char> bytes;
        auto word = [&](std::uint32_t v) {
            for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(v >> (8 * i)));
        };
        word(static_cast<std::uint32_t>(width));
        word(static_cast<std::uint32_t>(height));
        for (std::int32_t c : cells) word(static_cast<std::uint32_t>(c));
        word(flag);
        return bytes;
    }
    // The editor's state leaves the editor and comes back to it on level `name`.
    void Reopen(const std::string& name) {
        EditorLevelName = name;
        State::SetLevel(editor, "Menu");
        AllFrame();
        State::SetLevel(editor, "LevelEditor");
        AllFrame();
        AllFrame();
    }
    int Starts() const {
        int n = 0;
        for (int i = 0; i < Grid().grid.GetWidth() * Grid().grid.GetHeight(); ++i) n += Grid().grid.GetCell(i) == 101;
        return n;
    }
};

// The pointer crosses fourteen columns between two frames (a quick hand, a
// busy machine): every cell it passed over is painted, none left out.
TEST_F(LevelMakerTest, AStrokeAcrossManyCellsInOneFramePaintsEveryOne) {
    OpenEditor();
    PickTile(-0.6833f, -0.07f);  // grass
    Brush();
    Drag(CellX(2), CellY(4), CellX(15), CellY(4));
    for (int c = 0; c < 20; ++c) EXPECT_EQ(Grid().grid.GetCell(c, 4), c >= 2 && c <= 15 ? 1 : 0) << "column " << c;
    EXPECT_EQ(Grid().grid.UndoCount(), 1u);

    // The last movement and the release in one frame: the stroke still
    // reaches the cell where the button was let go, with either button.
    for (const bool right : {false, true}) {
        SCOPED_TRACE(right ? "the right button" : "the left button");
        const int row = right ? 4 : 6;
        PointAt(CellX(3), CellY(row));
        AllFrame();
        right ? RightButton(true) : LeftButton(true);
        AllFrame();
        PointAt(CellX(7), CellY(row));
        AllFrame();
        PointAt(CellX(12), CellY(row));
        right ? RightButton(false) : LeftButton(false);
        AllFrame();
        for (int c = 0; c < 20; ++c) {
            const bool stroke = c >= 3 && c <= 12;
            const int expected = right ? (stroke || c < 2 || c > 15 ? 0 : 1) : (stroke ? 1 : 0);
            EXPECT_EQ(Grid().grid.GetCell(c, row), expected) << "column " << c;
        }
    }
    EXPECT_EQ(Grid().grid.UndoCount(), 3u);
}

// The window's close button, like "Main Menu", asks before unsaved work is
// lost; with nothing unsaved the window closes at once.
TEST_F(LevelMakerTest, TheCloseButtonAsksWhileThereAreUnsavedChanges) {
    OpenEditor();
    const auto file = folder.Read("Default.lvl");
    PickTile(-0.6833f, -0.07f);
    Brush();
    ClickCell(5, 3);
    ASSERT_EQ(Grid().grid.GetCell(5, 3), 1);

    CloseClicked(editor);
    AllFrame();
    ASSERT_NE(Showing("QuitWindow"), nullptr) << "the question is asked";
    EXPECT_EQ(editor->GetNextLevelName(), "LevelEditor") << "the editor stays";
    EXPECT_TRUE(std::find(State::_list.begin(), State::_list.end(), editor) != State::_list.end());
    EXPECT_EQ(folder.Read("Default.lvl"), file);
    // A second click while the question is open asks no second time.
    CloseClicked(editor);
    AllFrame();
    int questions = 0;
    for (State* s : State::_list) questions += s->GetLevelName() == "QuitWindow" && !s->Deleted();
    EXPECT_EQ(questions, 1);
    // "Cancel" (the question's right-hand answer) closes it; the edit is still there.
    State* question = Showing("QuitWindow");
    ASSERT_NE(question, nullptr);
    State::SetLevel(question, "Quit");
    AllFrame();
    EXPECT_EQ(Showing("QuitWindow"), nullptr);
    EXPECT_EQ(Grid().grid.GetCell(5, 3), 1);

    // Saved, the window closes without a question.
    Save();
    CloseClicked(editor);
    EXPECT_EQ(Showing("QuitWindow"), nullptr);
    EXPECT_EQ(editor->GetNextLevelName(), "Quit");
}

// "Main Menu" right after a save leaves at once; with unsaved changes it asks.
TEST_F(LevelMakerTest, MainMenuAsksOnlyWhileThereAreUnsavedChanges) {
    OpenEditor();
    PickTile(-0.6833f, -0.07f);
    Brush();
    ClickCell(6, 2);
    MainMenu();
    EXPECT_FALSE(FramesUntil("MainMenu", 90)) << "unsaved: it asks first";
    auto* caption = ObjectData::Text::Find(*FindVariable<Object*>(Named("toMMenu"), enum_textObj));
    ASSERT_NE(caption, nullptr);
    EXPECT_NE(caption->text.find("Are you sure?"), std::string::npos) << caption->text;

    // Opened afresh, painted and saved: "Main Menu" leaves at once.
    Reopen("Default");
    ClickCell(6, 2);
    Save();
    MainMenu();
    EXPECT_TRUE(FramesUntil("MainMenu", 120)) << "saved: no question";
}

// Play says that it saved; a level without its goal (or start) is not
// played, saved or left: the message says what is missing.
TEST_F(LevelMakerTest, PlaySaysItSavedAndRefusesALevelWithoutGoalOrStart) {
    OpenEditor();
    const auto file = folder.Read("Default.lvl");
    PickTile(-0.6833f, -0.07f);
    Brush();
    ClickCell(4, 0);
    Play();
    EXPECT_EQ(Label("EMessage"), "Play needs a level goal: place one from the Objects tab.");
    ASSERT_FALSE(FramesUntil("Sandbox", 90)) << "the editor stays";
    EXPECT_EQ(folder.Read("Default.lvl"), file) << "nothing saved";

    // Without its start too (as no level the editor makes is; here the start is taken away).
    const D3DXVECTOR2 start = Grid().StartPos;
    Grid().StartPos = {-1.0f, -1.0f};
    Grid().grid.SetCell(start, 0);
    Play();
    EXPECT_EQ(Label("EMessage"), "Play needs a level start and a level goal: place them from the Objects tab.");
    Grid().StartPos = start;
    AllFrame();

    PickObject(-0.5167f, 0.13f);  // the level goal
    Brush();
    ClickCell(8, 1);
    ASSERT_EQ(Grid().grid.GetCell(8, 1), 102);
    Play();
    EXPECT_EQ(Label("EMessage"), "Saved Default.");
    EXPECT_TRUE(FramesUntil("Sandbox", 120));
    LevelCollision saved;
    ASSERT_TRUE(saved.Load("Default.lvl"));
    EXPECT_EQ(saved.GetCell(8, 1), 102);
    EXPECT_EQ(saved.GetCell(4, 0), 1);
}

// The zoom keeps the cell under the view's centre where it is, there and back.
TEST_F(LevelMakerTest, TheZoomKeepsTheCellUnderTheViewsCentre) {
    OpenLarge();
    const auto first = Centre();
    for (int zoom : {2, 4, 1}) {
        SCOPED_TRACE(zoom);
        Zoom();
        ASSERT_EQ(Vars().ZoomScale, zoom);
        EXPECT_NEAR(Centre().first, first.first, 1.0);
        EXPECT_NEAR(Centre().second, first.second, 1.0);
    }
    EXPECT_EQ(Offsets(), std::make_pair(50, 80)) << "back at 1x, the view is where it was";
}

// The wheel over the view scrolls it up and down, with Shift sideways, and
// with Ctrl zooms in and out; over the palette it does nothing.
TEST_F(LevelMakerTest, TheWheelScrollsTheViewAndWithCtrlZooms) {
    OpenLarge();
    PointAt(0.2f, 0.1f);
    AllFrame();
    inputtest::Wheel(1);
    AllFrame();
    EXPECT_EQ(Offsets(), std::make_pair(50, 83)) << "a notch up: three rows higher";
    inputtest::Wheel(-2);
    AllFrame();
    EXPECT_EQ(Offsets(), std::make_pair(50, 77));
    Key(SDL_SCANCODE_LSHIFT, true);
    inputtest::Wheel(-1);
    AllFrame();
    Key(SDL_SCANCODE_LSHIFT, false);
    AllFrame();
    EXPECT_EQ(Offsets(), std::make_pair(55, 77)) << "with Shift: five columns on";

    const auto centre = Centre();
    Key(SDL_SCANCODE_LCTRL, true);
    inputtest::Wheel(1);
    AllFrame();
    EXPECT_EQ(Vars().ZoomScale, 2);
    inputtest::Wheel(1);
    AllFrame();
    EXPECT_EQ(Vars().ZoomScale, 4);
    inputtest::Wheel(1);
    AllFrame();
    EXPECT_EQ(Vars().ZoomScale, 4) << "4 is the farthest out";
    inputtest::Wheel(-3);
    AllFrame();
    Key(SDL_SCANCODE_LCTRL, false);
    AllFrame();
    EXPECT_EQ(Vars().ZoomScale, 1);
    EXPECT_NEAR(Centre().first, centre.first, 1.0);
    EXPECT_NEAR(Centre().second, centre.second, 1.0);

    // Over the palette the wheel leaves the view alone.
    const auto before = Offsets();
    PointAt(-0.6f, -0.08f);
    AllFrame();
    inputtest::Wheel(2);
    AllFrame();
    EXPECT_EQ(Offsets(), before);
}

// Cells of values the editor does not know stay as they are through the
// editor, a move included, and are named on opening; only a flag word of 1
// reads "Completed".
TEST_F(LevelMakerTest, UnknownCellsAreKeptAndOnlyAFlagOfOneReadsCompleted) {
    std::vector<std::int32_t> cells(20 * 16, 0);
    cells[1 * 20 + 1] = 101;
    cells[3 * 20 + 4] = 0x7fffffff;
    cells[3 * 20 + 5] = -7;
    cells[3 * 20 + 6] = 8;
    cells[3 * 20 + 7] = 250;
    folder.Write("Odd.lvl", LevelBytes(20, 16, cells, 5));
    EditorLevelName = "Odd";
    OpenEditor();
    AllFrame();
    EXPECT_EQ(Label("ValidFlagText"), "Not Tested");
    EXPECT_NE(Label("EMessage").find("4 cells hold values the editor does not know"), std::string::npos)
        << Label("EMessage");
    EXPECT_EQ(Grid().grid.GetCell(4, 3), 0x7fffffff);
    EXPECT_EQ(Grid().grid.GetCell(5, 3), -7);

    // The move tool carries them along: lifted from row 3 and dropped on row 6.
    AllClick(-0.59f, -0.43f);
    Drag(CellX(4), CellY(3), CellX(7), CellY(3));
    // Taken inside the block (its edge lies where the selection began) and dragged three rows up.
    const float inside = 0.3f * Vars().UnitScaleY;
    Drag(CellX(5), CellY(3) + inside, CellX(5), CellY(6) + inside);
    AllClick(-0.59f, -0.3f);  // another tool puts the block down
    const std::int32_t moved[] = {0x7fffffff, -7, 8, 250};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(Grid().grid.GetCell(4 + c, 6), moved[c]) << "column " << 4 + c;
        EXPECT_EQ(Grid().grid.GetCell(4 + c, 3), 0) << "column " << 4 + c;
    }
    // Saved, the file holds them as they are.
    Save();
    LevelCollision saved;
    ASSERT_TRUE(saved.Load("Odd.lvl"));
    for (int c = 0; c < 4; ++c) EXPECT_EQ(saved.GetCell(4 + c, 6), moved[c]);

    // A flag word of 1 is "Completed".
    folder.Write("Done.lvl", LevelBytes(20, 16, cells, 1));
    Reopen("Done");
    EXPECT_EQ(Label("ValidFlagText"), "Completed");
}

// A file without a level start opens with one placed, and one with several
// keeps only one: every level the editor writes has exactly one start.
TEST_F(LevelMakerTest, ALevelOpensWithExactlyOneStart) {
    std::vector<std::int32_t> none(20 * 16, 0), three(20 * 16, 0);
    none[1 * 20 + 1] = 2;  // terrain where the start would usually go
    three[2 * 20 + 2] = three[5 * 20 + 9] = three[9 * 20 + 3] = 101;
    folder.Write("None.lvl", LevelBytes(20, 16, none, 0));
    folder.Write("Three.lvl", LevelBytes(20, 16, three, 0));
    EditorLevelName = "None";
    OpenEditor();
    for (const char* name : {"None", "Three"}) {
        SCOPED_TRACE(name);
        if (std::string(name) != "None") Reopen(name);
        AllFrame();
        EXPECT_EQ(Starts(), 1);
        EXPECT_NE(Label("EMessage").find("level start"), std::string::npos) << Label("EMessage");
        Save();
        LevelCollision saved;
        ASSERT_TRUE(saved.Load(std::string(name) + ".lvl"));
        int starts = 0;
        for (int i = 0; i < 20 * 16; ++i) starts += saved.GetCell(i) == 101;
        EXPECT_EQ(starts, 1);
    }
    EXPECT_EQ(Grid().grid.GetCell(3, 9), 101) << "the start play would take, the last in the file";
    EXPECT_EQ(Grid().grid.GetCell(1, 1), 0);
}

// A click whose press and release both come between two frames of the
// dialog (the input thread polls many times a frame on a busy machine) still
// presses the button: OK opens the chosen level.
TEST_F(LevelMakerTest, OKOpensEvenWhenItsWholeClickFallsBetweenTwoFrames) {
    WriteLevel("Quick", 30, 20);
    OpenEditor();
    OpenDialog("LevelEditorLoad");
    auto* list = ObjectData::OpenLevelList::Find(InDialog("LevelListScreen"));
    ASSERT_NE(list, nullptr);
    const auto at = std::find(list->levelNames.begin(), list->levelNames.end(), "Quick.lvl");
    ASSERT_NE(at, list->levelNames.end());
    const float row = list->size.y / static_cast<float>(ObjectData::OpenLevelList::Rows(*list));
    AllClick(list->position.x,
             list->position.y + list->size.y / 2.0f - (static_cast<float>(at - list->levelNames.begin()) + 0.5f) * row);
    ASSERT_EQ(list->clickedLevel, "Quick.lvl");
    PointAt(-0.15f, -0.45f);
    AllFrame();
    LeftButton(true);
    inputtest::Poll();
    LeftButton(false);
    inputtest::Poll();
    AllFrame();
    AllFrame();
    EXPECT_FALSE(DialogOpen());
    EXPECT_EQ(Vars().LevelName, "Quick");
}

}  // namespace

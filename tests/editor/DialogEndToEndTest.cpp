// A new level made and played end to end, as a new user would, with every
// key and click fed through the input layer: from the main menu into the
// editor, New with a typed name and size, a floor, the start and the goal
// painted from the palette, a box of spikes undone, redone and undone, Save,
// Open listing the file and reopening it, then Play and the way back to the
// editor on the same level.
#include <gtest/gtest.h>

#include <algorithm>

#include "editor/DialogWorld.h"
#include "widgets/TextButton.h"

using namespace editortest;

namespace {

class DialogEndToEndTest : public DialogWorld {
protected:
    // The main menu's button captioned "Level Editor", or null.
    Object* LevelEditorButton() const {
        for (Object* object : editor->Objects()) {
            auto* caption = object->_Deleted() ? nullptr : FindVariable<Object*>(object, enum_textObj);
            if (caption == nullptr || object->GetType() != "TextButton") continue;
            if (auto* t = ObjectData::Text::Find(*caption); t && t->text.find("Level Editor") != std::string::npos)
                return object;
        }
        return nullptr;
    }
    bool FramesUntil(const std::string& name, int limit) {
        for (int i = 0; i < limit && editor->GetLevelName() != name; ++i) {
            clock.Advance(16);
            AllFrame();
        }
        return editor->GetLevelName() == name;
    }
    void Tap(SDL_Scancode key) {
        Key(key, true);
        AllFrame();
        Key(key, false);
        AllFrame();
    }
    void Type(const std::string& text) {
        for (char c : text) {
            const bool upper = c >= 'A' && c <= 'Z';
            const char lower = upper ? static_cast<char>(c - 'A' + 'a') : c;
            SDL_Scancode key = SDL_SCANCODE_UNKNOWN;
            if (lower >= 'a' && lower <= 'z') key = static_cast<SDL_Scancode>(SDL_SCANCODE_A + (lower - 'a'));
            if (c >= '1' && c <= '9') key = static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (c - '1'));
            if (c == '0') key = SDL_SCANCODE_0;
            ASSERT_NE(key, SDL_SCANCODE_UNKNOWN) << c;
            if (upper) Key(SDL_SCANCODE_LSHIFT, true);
            Tap(key);
            if (upper) Key(SDL_SCANCODE_LSHIFT, false);
        }
    }
    void Chord(SDL_Scancode key) {
        Key(SDL_SCANCODE_LCTRL, true);
        Tap(key);
        Key(SDL_SCANCODE_LCTRL, false);
        AllFrame();
    }
    // The centre of view cell (c, r), the view at column 0 and row 0.
    float CellX(int c) const { return -0.35f + Vars().UnitScaleX * (static_cast<float>(c) + 0.5f); }
    float CellY(int r) const { return -0.25f + Vars().UnitScaleY * (static_cast<float>(r) + 0.5f); }
    // A left-button drag over the grid from cell (c0, r0) to (c1, r1), a frame a cell.
    void Drag(int c0, int r0, int c1, int r1) {
        PointAt(CellX(c0), CellY(r0));
        AllFrame();
        LeftButton(true);
        AllFrame();
        const int steps = std::max(std::abs(c1 - c0), std::abs(r1 - r0));
        for (int i = 1; i <= steps; ++i) {
            PointAt(CellX(c0 + (c1 - c0) * i / steps), CellY(r0 + (r1 - r0) * i / steps));
            AllFrame();
        }
        LeftButton(false);
        AllFrame();
    }
    std::vector<int> Cells(const LevelCollision& g) const {
        std::vector<int> cells;
        for (int i = 0; i < g.GetWidth() * g.GetHeight(); ++i) cells.push_back(g.GetCell(i));
        return cells;
    }
};

// A busy machine's frame may hold the pointer's move with the press, or the
// last move with the release: the stroke starts in the cell where the button
// went down and reaches the cell where it was let go, no further either way.
TEST_F(DialogEndToEndTest, AMoveAndAPressInOneFrameStrokeFromThePressToTheRelease) {
    OpenEditor();
    AllClick(-0.59f, -0.3f);     // brush
    AllClick(-0.6833f, -0.07f);  // grass
    const int grass = Vars().SelectedValue;
    constexpr int row = 5;
    PointAt(CellX(2), CellY(row));
    AllFrame();
    PointAt(CellX(6), CellY(row));
    LeftButton(true);
    AllFrame();
    PointAt(CellX(10), CellY(row));
    LeftButton(false);
    AllFrame();
    AllFrame();
    for (int c = 0; c < 16; ++c) EXPECT_EQ(Grid().grid.GetCell(c, row) == grass, c >= 6 && c <= 10) << "column " << c;
}

TEST_F(DialogEndToEndTest, ANewLevelMadeSavedReopenedAndPlayed) {
    if (Level::_IsRegistered("MainMenu")) {
        editor = NewState("MainMenu");
        for (int i = 0; i < 3; ++i) AllFrame();
        Object* button = LevelEditorButton();
        ASSERT_NE(button, nullptr);
        const D3DXVECTOR3 at = *FindVariable<D3DXVECTOR3>(button, enum_position);
        AllClick(at.x, at.y);
        ASSERT_TRUE(FramesUntil("LevelEditor", 600)) << "now on " << editor->GetLevelName();
    } else {
        OpenEditor();
    }

    // New: "Trial", 30 by 20, typed; Tab moves from box to box.
    OpenDialog("LevelEditorCreate");
    Type("Trial");
    Tap(SDL_SCANCODE_TAB);
    Type("30");
    Tap(SDL_SCANCODE_TAB);
    Type("20");
    AllClick(0.4f, -0.4f);
    ASSERT_FALSE(DialogOpen()) << DialogMessage();
    EXPECT_EQ(Vars().LevelName, "Trial");
    ASSERT_EQ(Grid().grid.GetWidth(), 30);
    ASSERT_EQ(Grid().grid.GetHeight(), 20);

    // A floor of grass with the brush, the start, and two cells to its right the goal.
    AllClick(-0.59f, -0.3f);     // brush
    AllClick(-0.6833f, -0.07f);  // grass
    Drag(0, 0, 15, 0);
    AllClick(-0.5f, 0.205f);    // the objects tab
    AllClick(-0.6833f, 0.13f);  // the level start
    Drag(2, 1, 2, 1);
    AllClick(-0.5167f, 0.13f);  // the level goal
    Drag(4, 1, 4, 1);
    for (int c = 0; c < 16; ++c) ASSERT_EQ(Grid().grid.GetCell(c, 0), 1) << c;
    EXPECT_EQ(Grid().grid.GetCell(2, 1), 101);
    EXPECT_EQ(Grid().grid.GetCell(4, 1), 102);
    const std::vector<int> beforeSpikes = Cells(Grid().grid);

    // A box of spikes; Ctrl+Z takes it away, Ctrl+Y brings it back, Ctrl+Z again.
    AllClick(-0.675f, 0.205f);  // the tiles tab
    AllClick(-0.6f, 0.13f);     // spikes
    AllClick(-0.47f, -0.3f);    // box
    Drag(7, 1, 10, 2);
    const std::vector<int> withSpikes = Cells(Grid().grid);
    EXPECT_EQ(Grid().grid.GetCell(8, 2), 3);
    Chord(SDL_SCANCODE_Z);
    EXPECT_EQ(Cells(Grid().grid), beforeSpikes);
    Chord(SDL_SCANCODE_Y);
    EXPECT_EQ(Cells(Grid().grid), withSpikes);
    Chord(SDL_SCANCODE_Z);
    EXPECT_EQ(Cells(Grid().grid), beforeSpikes);

    // Save; Open lists "Trial.lvl" and reopening gives the same cells.
    AllClick(-0.72f, 0.32f);
    OpenDialog("LevelEditorLoad");
    auto* list = ObjectData::OpenLevelList::Find(InDialog("LevelListScreen"));
    ASSERT_NE(list, nullptr);
    const auto found = std::find(list->levelNames.begin(), list->levelNames.end(), "Trial.lvl");
    ASSERT_NE(found, list->levelNames.end());
    const int k = static_cast<int>(found - list->levelNames.begin());
    const float row = list->size.y / static_cast<float>(ObjectData::OpenLevelList::Rows(*list));
    AllClick(list->position.x, list->position.y + list->size.y / 2.0f - (static_cast<float>(k) + 0.5f) * row);
    EXPECT_EQ(list->clickedLevel, "Trial.lvl");
    Grid().grid.SetCell(20.0f, 10.0f, 2);  // a change the reopening throws away
    AllClick(-0.15f, -0.45f);
    ASSERT_FALSE(DialogOpen()) << DialogMessage();
    EXPECT_EQ(Cells(Grid().grid), beforeSpikes);
    EXPECT_EQ(Label("ValidFlagText"), "Not Tested");

    // Play hands the level over to the test play, and the way back reopens
    // it. (The test play itself, its goal marking the file completed, is
    // played by the program's own scripted run.)
    AllClick(-0.45f, 0.38f);
    ASSERT_TRUE(FramesUntil("Sandbox", 120));
    EXPECT_EQ(Cells(GameVars().basicLevel), beforeSpikes);
    State::SetLevel(editor, "LevelEditor");
    ASSERT_TRUE(FramesUntil("LevelEditor", 120));
    AllFrame();
    EXPECT_EQ(Vars().LevelName, "Trial");
    EXPECT_EQ(Cells(Grid().grid), beforeSpikes);
}

}  // namespace

// The move tool driven through the grid's dispatch: selecting, lifting,
// dragging, dropping, deleting and select-all, with their undo steps.
#include <gtest/gtest.h>

#include "editor/MoveTool.h"
#include "editor/ToolWorld.h"
#include "widgets/TabManager.h"

using namespace tooltest;
using MoveVars = ObjectData::MoveTool::Variables;

namespace {

class MoveTest : public ToolWorld {
protected:
    void SetUp() override {
        ToolWorld::SetUp();
        Lv().ToolCursor = 3;
        // A recognisable level: cell (c, r) holds 1 + (c + r) % 7.
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 12; ++c) Grid().SetCell(static_cast<float>(c), static_cast<float>(r), 1 + (c + r) % 7);
        level = Cells(Grid());
    }
    MoveVars& Move() { return ToolVars<MoveVars>(3); }
    int Original(int c, int r) { return level[static_cast<std::size_t>(r * 12 + c)]; }
    std::vector<int> level;
};

TEST_F(MoveTest, AClickLiftsOneCellAndEitherCornerSelectsTheSameCells) {
    Click(3.5f, 2.5f);
    ASSERT_NE(Move().box, nullptr);
    EXPECT_EQ(Move().boxWidth, 1);
    EXPECT_EQ(Move().boxHeight, 1);
    EXPECT_EQ(Move().box[0], Original(3, 2));
    EXPECT_EQ(Grid().GetCell(3, 2), 0);
    EXPECT_EQ(Grid().UndoCount(), 0u) << "the step waits for the drop";
    EXPECT_FALSE(Grid().GetValidFlag());

    for (auto [from, to] : std::vector<std::pair<D3DXVECTOR2, D3DXVECTOR2>>{
             {{1.5f, 1.5f}, {3.5f, 2.5f}}, {{3.5f, 2.5f}, {1.5f, 1.5f}}, {{1.5f, 2.5f}, {3.5f, 1.5f}}}) {
        Right(true);  // drops whatever is lifted
        Frame();
        Right(false);
        Frame();
        Fresh(12, 6);
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 12; ++c) Grid().SetCell(static_cast<float>(c), static_cast<float>(r), Original(c, r));
        Drag({from, to});
        ASSERT_NE(Move().box, nullptr);
        EXPECT_EQ(Move().boxWidth, 3) << "the far corner's column is included";
        EXPECT_EQ(Move().boxHeight, 2);
        EXPECT_EQ(Move().box[0], Original(1, 1));
        EXPECT_EQ(Move().box[5], Original(3, 2));
        for (int c = 1; c <= 3; ++c) EXPECT_EQ(Grid().GetCell(c, 2), 0);
    }
}

TEST_F(MoveTest, MovingABlockThreeColumnsIsOneStepWithUndoAndRedo) {
    Grid().SetValidFlag(true);
    Drag({{1.5f, 1.5f}, {3.5f, 2.5f}});
    Drag({{2.5f, 2.25f}, {3.5f, 2.25f}, {5.5f, 2.25f}});
    EXPECT_EQ(Move().boxPosition, D3DXVECTOR2(4.5f, 1.5f));
    EXPECT_FALSE(Move().moving);
    Right(true);
    Frame();
    Right(false);
    Frame();
    EXPECT_EQ(Move().box, nullptr);
    ASSERT_EQ(Grid().UndoCount(), 1u);
    std::vector<int> moved = level;
    for (int r = 1; r <= 2; ++r) {
        for (int c = 1; c <= 3; ++c) moved[static_cast<std::size_t>(r * 12 + c)] = 0;
        for (int c = 1; c <= 3; ++c) moved[static_cast<std::size_t>(r * 12 + c + 3)] = Original(c, r);
    }
    EXPECT_EQ(Cells(Grid()), moved);
    Undo();
    EXPECT_EQ(Cells(Grid()), level);
    EXPECT_TRUE(Grid().GetValidFlag());
    Redo();
    EXPECT_EQ(Cells(Grid()), moved);
    EXPECT_FALSE(Grid().GetValidFlag());
}

TEST_F(MoveTest, APressOutsideTheBlockDropsItAndStartsANewSelection) {
    Drag({{1.5f, 1.5f}, {2.5f, 2.5f}});
    At(8.5f, 4.5f);
    Left(true);
    Frame();  // drops the block where it was lifted
    EXPECT_EQ(Move().box, nullptr);
    EXPECT_EQ(Grid().UndoCount(), 1u);
    EXPECT_EQ(Cells(Grid()), level) << "dropped where it was lifted";
    Frame();  // still held: a new selection
    At(9.5f, 4.5f);
    Frame();
    Left(false);
    Frame();
    ASSERT_NE(Move().box, nullptr);
    EXPECT_EQ(Move().boxWidth, 2);
    EXPECT_EQ(Move().boxHeight, 1);
}

TEST_F(MoveTest, TheRightButtonAndASwitchOfToolDropTheBlockWhereItLies) {
    for (bool byRightButton : {true, false}) {
        SCOPED_TRACE(byRightButton);
        Lv().ToolCursor = 3;
        Drag({{1.5f, 1.5f}, {1.5f, 1.5f}});
        Drag({{1.75f, 1.75f}, {4.75f, 1.75f}});
        if (byRightButton) {
            Right(true);
            Frame();
            Right(false);
        } else {
            Lv().ToolCursor = 0;
        }
        Frame();
        EXPECT_EQ(Move().box, nullptr);
        EXPECT_TRUE(Move().SelectingArea);
        EXPECT_EQ(Grid().GetCell(4, 1), Original(1, 1));
        EXPECT_EQ(Grid().GetCell(1, 1), 0);
        Undo();
        EXPECT_EQ(Cells(Grid()), level);
    }
}

TEST_F(MoveTest, DeleteIsOneStepAndWithNothingLiftedChangesNothing) {
    Key(SDL_SCANCODE_DELETE, true);
    At(2.5f, 2.5f);
    Frame();
    Key(SDL_SCANCODE_DELETE, false);
    Frame();
    EXPECT_EQ(Cells(Grid()), level);
    EXPECT_EQ(Grid().UndoCount(), 0u);

    Drag({{1.5f, 1.5f}, {3.5f, 3.5f}});
    Key(SDL_SCANCODE_DELETE, true);
    Frame();
    Key(SDL_SCANCODE_DELETE, false);
    Frame();
    EXPECT_EQ(Move().box, nullptr);
    EXPECT_EQ(Grid().UndoCount(), 1u);
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c) EXPECT_EQ(Grid().GetCell(c, r), 0);
    Undo();
    EXPECT_EQ(Cells(Grid()), level);
}

TEST_F(MoveTest, TheStartStaysInPlaceAndItsPlaceInTheBlockCarriesNothing) {
    GridObject().StartPos = {2.0f, 2.0f};
    Frame();
    level[2 * 12 + 2] = 101;
    Drag({{1.5f, 1.5f}, {2.5f, 2.5f}});
    EXPECT_EQ(Move().box[3], 0);
    EXPECT_EQ(Grid().GetCell(2, 2), 101);
    Drag({{2.25f, 2.25f}, {5.25f, 2.25f}});
    Right(true);
    Frame();
    Right(false);
    Frame();
    EXPECT_EQ(Grid().GetCell(2, 2), 101);
    EXPECT_EQ(Grid().GetCell(5, 2), 0);
    EXPECT_EQ(Grid().GetCell(4, 1), Original(1, 1));
    Undo();
    EXPECT_EQ(Cells(Grid()), level);
}

TEST_F(MoveTest, CtrlAMovesTheWholeLevelAndUndoRestoresIt) {
    At(5.5f, 3.5f);
    Chord(SDL_SCANCODE_LCTRL, SDL_SCANCODE_A);
    ASSERT_NE(Move().box, nullptr);
    // A is also a direction key of the tool bar's focus, but not under Ctrl:
    // no button takes the focus (and with it the pointer).
    auto* tabs = ObjectData::TabManager::Find(Named("TabManager"));
    ASSERT_NE(tabs, nullptr);
    EXPECT_TRUE(tabs->objectListIterator == tabs->objectList.end()) << "a tool-bar button took the focus";
    EXPECT_EQ(Move().boxWidth, 13);
    EXPECT_EQ(Move().boxHeight, 7);
    EXPECT_EQ(Move().box[12], -1) << "the column beyond the grid";
    EXPECT_EQ(Cells(Grid()), std::vector<int>(72, 0));
    Drag({{1.5f, 1.5f}, {3.5f, 2.5f}});
    Right(true);
    Frame();
    Right(false);
    Frame();
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 12; ++c) {
            const int expected = c >= 2 && r >= 1 ? Original(c - 2, r - 1) : 0;
            ASSERT_EQ(Grid().GetCell(c, r), expected) << c << "," << r;
        }
    const Action& step = *[&] {
        Action* a = Grid().PopUndoAction();
        Grid().PushUndoAction(a);
        return a;
    }();
    for (const D3DXVECTOR2& p : step.positions) {
        EXPECT_LT(p.x, 12.0f);
        EXPECT_LT(p.y, 6.0f);
    }
    Undo();
    EXPECT_EQ(Cells(Grid()), level);
    // Grown after the step, the grid has real cells where the extra column
    // and row were taken: undo and redo leave them alone.
    Redo();
    Grid().Resize(13, 7);
    Undo();
    EXPECT_EQ(Grid().GetCell(12, 3), 0);
    EXPECT_EQ(Grid().GetCell(4, 6), 0);
}

TEST_F(MoveTest, RightCtrlAAndKeysOffTheGridDoNothing) {
    At(5.5f, 3.5f);
    Chord(SDL_SCANCODE_RCTRL, SDL_SCANCODE_A);
    EXPECT_EQ(Move().box, nullptr);
    Off();
    Chord(SDL_SCANCODE_LCTRL, SDL_SCANCODE_A);
    EXPECT_EQ(Move().box, nullptr);
    At(5.5f, 3.5f);
    Drag({{1.5f, 1.5f}, {1.5f, 1.5f}});
    Off();
    Key(SDL_SCANCODE_DELETE, true);
    Frame();
    Key(SDL_SCANCODE_DELETE, false);
    Frame();
    EXPECT_NE(Move().box, nullptr);
    EXPECT_EQ(Cells(Grid()), [&] {
        std::vector<int> l = level;
        l[1 * 12 + 1] = 0;
        return l;
    }());
}

TEST_F(MoveTest, UndoWhileABlockIsLiftedDropsItFirst) {
    Lv().ToolCursor = 0;
    Lv().SelectedValue = 8;
    Click(8.5f, 4.5f);  // an earlier step
    const std::vector<int> painted = Cells(Grid());
    Lv().ToolCursor = 3;
    Drag({{1.5f, 1.5f}, {2.5f, 2.5f}});
    Drag({{1.75f, 1.75f}, {4.75f, 1.75f}});
    Undo();
    EXPECT_EQ(Move().box, nullptr);
    EXPECT_EQ(Cells(Grid()), painted) << "the move is undone whole, the earlier step kept";
    Undo();
    EXPECT_EQ(Cells(Grid()), level);
}

TEST_F(MoveTest, SavingPutsALiftedBlockDownFirst) {
    Vars().LevelName = "Moved";
    Drag({{1.5f, 1.5f}, {2.5f, 1.5f}});
    Drag({{1.75f, 1.75f}, {6.75f, 1.75f}});
    ASSERT_TRUE(LevelData::LevelEditor::SaveLevel(L()));
    EXPECT_EQ(Move().box, nullptr);
    EXPECT_EQ(Grid().UndoCount(), 1u);
    LevelCollision saved;
    ASSERT_TRUE(saved.Load("Moved.lvl"));
    EXPECT_EQ(saved.GetCell(6, 1), Original(1, 1)) << "saved with the block where it lies";
    EXPECT_EQ(saved.GetCell(7, 1), Original(2, 1));
    EXPECT_EQ(saved.GetCell(1, 1), 0);
}

TEST_F(MoveTest, ASelectionReleasedOffTheGridEndsAtItsLastCorner) {
    At(1.5f, 1.5f);
    Left(true);
    Frame();
    At(3.5f, 2.5f);
    Frame();
    Off();
    Frame();
    Left(false);
    Frame();
    ASSERT_NE(Move().box, nullptr);
    EXPECT_EQ(Move().boxWidth, 3);
    EXPECT_EQ(Move().boxHeight, 2);
}

}  // namespace

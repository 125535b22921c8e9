// The brush and the box driven through the grid's dispatch with injected
// pointer positions and buttons.
#include <gtest/gtest.h>

#include <algorithm>

#include "editor/BoxTool.h"
#include "editor/BrushTool.h"
#include "editor/ToolWorld.h"

using namespace tooltest;

namespace {

class BrushBoxTest : public ToolWorld {
protected:
    // The cells of g in a rectangle, for comparing regions.
    std::vector<D3DXVECTOR2> Positions(const Action& a) { return a.positions; }
    Action* TopStep() {
        Action* a = Grid().PopUndoAction();
        if (a != nullptr) Grid().PushUndoAction(a);
        return a;
    }
    // Every cell of the grid, c + r × width, holding value inside the
    // rectangle [c0, c1] × [r0, r1] and 0 elsewhere.
    void ExpectRectangle(int c0, int c1, int r0, int r1, int value) {
        for (int r = 0; r < Grid().GetHeight(); ++r)
            for (int c = 0; c < Grid().GetWidth(); ++c) {
                const bool in = c >= c0 && c <= c1 && r >= r0 && r <= r1;
                ASSERT_EQ(Grid().GetCell(c, r), in ? value : 0) << "column " << c << " row " << r;
            }
    }
};

TEST_F(BrushBoxTest, BoxFillsTheSameCellsInEveryDragDirectionAsOneStepRowByRow) {
    const D3DXVECTOR2 a{1.5f, 1.25f}, b{4.5f, 3.75f};
    const std::vector<std::pair<D3DXVECTOR2, D3DXVECTOR2>> drags = {
        {a, b}, {b, a}, {{a.x, b.y}, {b.x, a.y}}, {{b.x, a.y}, {a.x, b.y}}};
    for (const auto& [from, to] : drags) {
        SCOPED_TRACE(testing::Message() << "from " << from.x << "," << from.y);
        Fresh(12, 6);
        Grid().SetValidFlag(true);
        Lv().ToolCursor = 1;
        Lv().SelectedValue = 2;
        Drag({from, {2.5f, 2.5f}, to});
        ExpectRectangle(1, 4, 1, 3, 2);
        ASSERT_EQ(Grid().UndoCount(), 1u);
        EXPECT_FALSE(Grid().GetValidFlag());
        const Action& step = *TopStep();
        EXPECT_TRUE(step.validFlag);
        std::vector<D3DXVECTOR2> expected;
        for (int r = 1; r <= 3; ++r)
            for (int c = 1; c <= 4; ++c) expected.emplace_back(static_cast<float>(c), static_cast<float>(r));
        EXPECT_EQ(step.positions, expected);
        EXPECT_EQ(step.deltas, std::vector<int>(12, -2));
        EXPECT_EQ(ToolVars<ObjectData::BoxTool::Variables>(1).boxCorner1.x, -1.0f) << "the box closes";
        EXPECT_FALSE(ToolVars<ObjectData::BoxTool::Variables>(1).makingbox);
    }
}

TEST_F(BrushBoxTest, BoxLeavesOutAMaximumCornerOnAWholeNumberAndAClickFillsOneCell) {
    Lv().ToolCursor = 1;
    Drag({{1.5f, 1.5f}, {4.0f, 3.0f}});
    ExpectRectangle(1, 3, 1, 2, 1);
    Fresh(12, 6);
    Click(5.25f, 2.75f);
    ExpectRectangle(5, 5, 2, 2, 1);
}

TEST_F(BrushBoxTest, BoxEraseIsUndoneWholeAndBoxesPastTheEdgeRecordOnlyCells) {
    Lv().ToolCursor = 1;
    Lv().SelectedValue = 7;
    Drag({{0.5f, 0.5f}, {5.5f, 4.5f}});
    const std::vector<int> painted = Cells(Grid());
    // An erase reaching past the grid's right edge (the view is wider).
    Drag({{3.5f, 2.5f}, {14.5f, 3.5f}}, true);
    EXPECT_EQ(Grid().GetCell(4, 3), 0);
    const Action& erase = *TopStep();
    EXPECT_EQ(erase.positions.size(), 9u * 2u) << "columns 3 to 11 of rows 2 and 3, nothing beyond";
    Undo();
    EXPECT_EQ(Cells(Grid()), painted);
    Redo();
    EXPECT_EQ(Grid().GetCell(5, 3), 0);
    // Grown, the grid has real cells where the erase reached past the edge:
    // undo leaves them alone.
    Grid().Resize(16, 6);
    Undo();
    for (int c = 12; c < 16; ++c) EXPECT_EQ(Grid().GetCell(c, 2), 0) << c;
    EXPECT_EQ(Grid().GetCell(4, 3), 7);
}

TEST_F(BrushBoxTest, BrushStrokeIsOneStepHoweverLongAndUndoRemovesIt) {
    Grid().SetValidFlag(true);
    Lv().SelectedValue = 2;
    Drag({{0.5f, 0.5f}, {1.5f, 0.5f}, {2.5f, 0.5f}, {2.5f, 1.5f}, {2.5f, 2.5f}});
    EXPECT_EQ(Grid().UndoCount(), 1u);
    EXPECT_FALSE(Grid().GetValidFlag());
    // Exactly the cells the pointer passed over, none ahead of it.
    const std::vector<std::pair<int, int>> painted = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}};
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 12; ++c) {
            const bool in = std::find(painted.begin(), painted.end(), std::make_pair(c, r)) != painted.end();
            EXPECT_EQ(Grid().GetCell(c, r), in ? 2 : 0) << c << "," << r;
        }
    const Action& stroke = *TopStep();
    EXPECT_EQ(stroke.positions.size(), painted.size()) << "each changed cell once";
    Undo();
    EXPECT_EQ(Cells(Grid()), std::vector<int>(72, 0));
    EXPECT_TRUE(Grid().GetValidFlag());
}

// The pointer may cross many cells between two frames (a fast hand, a busy
// machine): every cell on the way between the last frame's position and this
// one is painted, along rows, columns and slants alike, and erased the same.
TEST_F(BrushBoxTest, EveryCellPassedBetweenTwoFramesIsPainted) {
    struct Case {
        std::vector<D3DXVECTOR2> path;
        std::vector<std::pair<int, int>> cells;
    };
    const Case cases[] = {
        // Across ten columns in one frame, then back over them.
        {{{0.5f, 2.5f}, {10.5f, 2.5f}, {1.5f, 2.5f}},
         {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 2}, {8, 2}, {9, 2}, {10, 2}}},
        // Up a column.
        {{{4.5f, 0.5f}, {4.5f, 5.5f}}, {{4, 0}, {4, 1}, {4, 2}, {4, 3}, {4, 4}, {4, 5}}},
        // A slant: the cells the segment runs through, joined side by side.
        {{{0.25f, 0.5f}, {6.25f, 3.5f}},
         {{0, 0}, {1, 0}, {1, 1}, {2, 1}, {3, 1}, {3, 2}, {4, 2}, {5, 2}, {5, 3}, {6, 3}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.path.front().x << "," << c.path.front().y);
        Fresh(12, 6);
        Lv().SelectedValue = 1;
        Drag(c.path);
        for (int r = 0; r < 6; ++r)
            for (int col = 0; col < 12; ++col) {
                const bool in = std::find(c.cells.begin(), c.cells.end(), std::make_pair(col, r)) != c.cells.end();
                ASSERT_EQ(Grid().GetCell(col, r), in ? 1 : 0) << col << "," << r;
            }
        ASSERT_EQ(Grid().UndoCount(), 1u);
        EXPECT_EQ(TopStep()->positions.size(), c.cells.size());
        // The right button erases the same cells.
        Drag(c.path, true);
        EXPECT_EQ(Cells(Grid()), std::vector<int>(72, 0));
    }
}

// Held off the grid and brought back elsewhere, the stroke goes on from
// where the pointer came back: the cells between were never passed over.
TEST_F(BrushBoxTest, AStrokeHeldOffTheGridGoesOnWhereThePointerComesBack) {
    Lv().SelectedValue = 2;
    At(0.5f, 1.5f);
    Left(true);
    Frame();
    Off();
    Frame();
    At(8.5f, 1.5f);
    Frame();
    At(9.5f, 1.5f);
    Frame();
    Left(false);
    Frame();
    for (int c = 0; c < 12; ++c) EXPECT_EQ(Grid().GetCell(c, 1), c == 0 || c == 8 || c == 9 ? 2 : 0) << c;
    EXPECT_EQ(Grid().UndoCount(), 1u) << "still one stroke";
}

TEST_F(BrushBoxTest, PaintingCellsThatAlreadyHoldTheValueRecordsNothing) {
    Lv().SelectedValue = 2;
    Click(3.5f, 3.5f);
    Undo();
    ASSERT_EQ(Grid().RedoCount(), 1u);
    Grid().SetCell(3.0f, 3.0f, 2);
    Grid().SetValidFlag(true);
    for (int tool : {0, 2}) {  // the brush and the fill
        Lv().ToolCursor = tool;
        Click(3.5f, 3.5f);
        EXPECT_EQ(Grid().UndoCount(), 0u) << tool;
        EXPECT_EQ(Grid().RedoCount(), 1u) << tool;
        EXPECT_TRUE(Grid().GetValidFlag()) << tool;
    }
    // Erasing cells that are already empty records nothing either.
    Lv().ToolCursor = 0;
    Click(6.5f, 1.5f, true);
    EXPECT_EQ(Grid().UndoCount(), 0u);
}

TEST_F(BrushBoxTest, BrushCellsPastTheEdgeAreNotRecorded) {
    Lv().SelectedValue = 3;
    // From inside across the right edge and on beyond it.
    Drag({{10.5f, 1.5f}, {11.5f, 1.5f}, {13.5f, 1.5f}, {15.5f, 1.5f}});
    const Action& stroke = *TopStep();
    for (const D3DXVECTOR2& p : stroke.positions) {
        EXPECT_LT(p.x, 12.0f);
        EXPECT_GE(p.x, 0.0f);
    }
    Grid().Resize(16, 6);
    Undo();
    EXPECT_EQ(Cells(Grid()), std::vector<int>(96, 0)) << "no -1 written into the grown columns";
}

TEST_F(BrushBoxTest, DraggingTheStartLeavesOneStartUnderTheCursorAndNoStep) {
    GridObject().StartPos = {1.0f, 1.0f};
    Frame();
    ASSERT_EQ(Grid().GetCell(1, 1), 101);
    Lv().SelectedValue = 101;
    Lv().ToolCursor = 1;  // the grid hands the start to the brush whatever tool is chosen
    Drag({{1.5f, 1.5f}, {2.5f, 1.5f}, {3.5f, 2.5f}, {5.5f, 4.5f}});
    EXPECT_EQ(Lv().ToolCursor, 0);
    int starts = 0;
    for (int v : Cells(Grid())) starts += v == 101 ? 1 : 0;
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(Grid().GetCell(5, 4), 101);
    EXPECT_EQ(GridObject().StartPos, D3DXVECTOR2(5.5f, 4.5f));
    EXPECT_EQ(Grid().UndoCount(), 0u);
    // Off the cells (above the level, still over the view) the start stays.
    Drag({{5.5f, 4.5f}, {5.5f, 7.5f}});
    EXPECT_EQ(Grid().GetCell(5, 4), 101);
}

// A start cell painted over and undone: the grid rewrote 101 behind the
// steps' back, and undo must not add the step's amount to it.
TEST_F(BrushBoxTest, UndoAfterTheStartMovedLeavesNoStrayCode) {
    Lv().SelectedValue = 1;
    Click(4.5f, 2.5f);  // grass at (4, 2)
    GridObject().StartPos = {4.0f, 2.0f};
    Frame();  // the grid writes the start over the grass
    GridObject().StartPos = {0.0f, 0.0f};
    Grid().SetCell(4.0f, 2.0f, 0);  // as the brush does when the start moves on
    Frame();
    Undo();
    EXPECT_EQ(Grid().GetCell(4, 2), 0) << "the value the step found, not 0 + (0 - 1)";
    Redo();
    EXPECT_EQ(Grid().GetCell(4, 2), 1);
}

// The start's cell is the grid's: no step holds it, so undoing a box drawn
// over the start after the start moved on brings back no second start.
TEST_F(BrushBoxTest, StepsLeaveTheStartCellOut) {
    GridObject().StartPos = {3.0f, 2.0f};
    Frame();
    Lv().ToolCursor = 1;
    Lv().SelectedValue = 2;
    Drag({{2.5f, 1.5f}, {4.5f, 2.5f}});
    EXPECT_EQ(Grid().GetCell(3, 2), 101);
    for (const D3DXVECTOR2& p : TopStep()->positions) EXPECT_FALSE(p.x == 3.0f && p.y == 2.0f);
    Lv().SelectedValue = 101;
    Click(8.5f, 4.5f);  // the start moves on
    Lv().SelectedValue = 2;
    Undo();
    int starts = 0;
    for (int v : Cells(Grid())) starts += v == 101 ? 1 : 0;
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(Grid().GetCell(3, 2), 0);
}

TEST_F(BrushBoxTest, AReleaseOffTheGridEndsTheStroke) {
    Grid().SetValidFlag(true);
    Lv().SelectedValue = 2;
    At(1.5f, 1.5f);
    Left(true);
    Frame();
    At(2.5f, 1.5f);
    Frame();
    Off();
    Frame();
    Left(false);
    Frame();
    EXPECT_EQ(Grid().UndoCount(), 1u);
    EXPECT_FALSE(Grid().GetValidFlag());
    EXPECT_FALSE(ToolVars<ObjectData::BrushTool::Variables>(0).makingline);
    EXPECT_EQ(ToolVars<ObjectData::BrushTool::Variables>(0).lineAction, nullptr);

    // The box fills to its last corner over the grid.
    Lv().ToolCursor = 1;
    At(6.5f, 1.5f);
    Left(true);
    Frame();
    At(8.5f, 2.5f);
    Frame();
    Off();
    Frame();
    Left(false);
    Frame();
    EXPECT_EQ(Grid().UndoCount(), 2u);
    EXPECT_EQ(Grid().GetCell(8, 2), 2);
    EXPECT_EQ(Grid().GetCell(9, 2), 0);
    EXPECT_EQ(ToolVars<ObjectData::BoxTool::Variables>(1).boxCorner1.x, -1.0f);
    // A new press starts a new box, not the old one.
    Click(0.5f, 4.5f);
    EXPECT_EQ(TopStep()->positions.size(), 1u);
}

}  // namespace

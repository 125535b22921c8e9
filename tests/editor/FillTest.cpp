// The fill driven through the grid's dispatch: its region, its step, and the
// presses it ignores.
#include <gtest/gtest.h>

#include <string>

#include "editor/FillTool.h"
#include "editor/ToolWorld.h"

using namespace tooltest;

namespace {

class FillTest : public ToolWorld {
protected:
    void SetUp() override {
        ToolWorld::SetUp();
        Lv().ToolCursor = 2;
    }
    // Rows given top row first, as they are seen; digits are cell values.
    void Load(const std::vector<std::string>& rows) {
        const int h = static_cast<int>(rows.size()), w = static_cast<int>(rows[0].size());
        Fresh(w, h);
        for (int i = 0; i < h; ++i)
            for (int c = 0; c < w; ++c)
                Grid().SetCell(static_cast<float>(c), static_cast<float>(h - 1 - i),
                               rows[static_cast<std::size_t>(i)][static_cast<std::size_t>(c)] - '0');
    }
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (int r = Grid().GetHeight() - 1; r >= 0; --r) {
            std::string row;
            for (int c = 0; c < Grid().GetWidth(); ++c) row += static_cast<char>('0' + Grid().GetCell(c, r));
            rows.push_back(row);
        }
        return rows;
    }
};

TEST_F(FillTest, RegionsAreFourConnectedAndStopAtTheEdges) {
    struct Case {
        const char* what;
        std::vector<std::string> before;
        D3DXVECTOR2 press;
        std::vector<std::string> after;
    };
    const std::vector<Case> cases = {
        {"corner-touching regions stay apart",
         {"110000", "110000", "001100", "001100"},
         {0.5f, 3.5f},
         {"330000", "330000", "001100", "001100"}},
        {"a region touching the edges fills to them",
         {"000000", "011110", "000000", "000000"},
         {2.5f, 0.5f},
         {"333333", "311113", "333333", "333333"}},
        {"an enclosed empty area fills alone",
         {"111111", "100011", "100101", "111111"},
         {1.5f, 1.5f},
         {"111111", "133311", "133101", "111111"}},
        {"a single cell of its own value",
         {"222222", "222222", "222522", "222222"},
         {3.5f, 1.5f},
         {"222222", "222222", "222322", "222222"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Load(k.before);
        Lv().SelectedValue = 3;
        Click(k.press.x, k.press.y);
        EXPECT_EQ(Rows(), k.after);
        ASSERT_EQ(Grid().UndoCount(), 1u);
        Undo();
        EXPECT_EQ(Rows(), k.before);
        Redo();
        EXPECT_EQ(Rows(), k.after);
    }
}

TEST_F(FillTest, TheStepStartsAtThePressedPointWithEqualAmountsInDepthFirstOrder) {
    Load({"000", "000"});
    Lv().SelectedValue = 4;
    Click(1.25f, 0.75f);
    Action* step = Grid().PopUndoAction();
    ASSERT_NE(step, nullptr);
    ASSERT_EQ(step->positions.size(), 6u);
    // Pressed point first; then the neighbour pushed last (below) is looked
    // at first: below is outside, so above, then its own neighbours.
    const std::vector<D3DXVECTOR2> order = {{1.25f, 0.75f}, {1.25f, 1.75f}, {0.25f, 1.75f},
                                            {0.25f, 0.75f}, {2.25f, 1.75f}, {2.25f, 0.75f}};
    EXPECT_EQ(step->positions, order);
    EXPECT_EQ(step->deltas, std::vector<int>(6, -4));
    delete step;
}

TEST_F(FillTest, DraggingOverThreeRegionsMakesThreeStepsAndTheRightButtonAndOffCellPressesDoNothing) {
    Load({"0101010", "0101010"});
    Lv().SelectedValue = 2;
    Drag({{0.5f, 0.5f}, {1.5f, 0.5f}, {2.5f, 0.5f}, {3.5f, 0.5f}, {4.5f, 0.5f}});
    EXPECT_EQ(Rows(), (std::vector<std::string>{"2222210", "2222210"}));
    EXPECT_EQ(Grid().UndoCount(), 5u) << "each region of another value is a step of its own";
    Load({"0101010", "0101010"});
    Drag({{0.5f, 0.5f}, {2.5f, 0.5f}, {4.5f, 0.5f}});
    EXPECT_EQ(Grid().UndoCount(), 3u);

    Load({"000", "000"});
    Click(0.5f, 0.5f, true);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"000", "000"}));
    // Above the level and beside it, still over the view: nothing, and it ends.
    Click(1.5f, 5.5f);
    Click(7.5f, 0.5f);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"000", "000"}));
    EXPECT_EQ(Grid().UndoCount(), 0u);
}

TEST_F(FillTest, TheStackStaysWithinItsBoundOnALargeRegion) {
    LevelCollision g(64, 48);
    std::stack<D3DXVECTOR2> stack;
    std::size_t deepest = 0;
    Action* step = ObjectData::FillTool::Fill(g, stack, {10.5f, 7.5f}, 1, &deepest);
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->positions.size(), 64u * 48u);
    EXPECT_LE(deepest, 4u + 3u * step->positions.size());
    EXPECT_TRUE(stack.empty());
    delete step;
}

}  // namespace

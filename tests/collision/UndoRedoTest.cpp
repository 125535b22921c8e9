#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "framework/LevelCollision.h"

namespace {

struct Snapshot {
    std::vector<int> cells;
    bool valid;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const LevelCollision& g) {
    const int* p = g.GetGridPtr();
    return {std::vector<int>(p, p + static_cast<std::size_t>(g.GetWidth()) * g.GetHeight()), g.GetValidFlag()};
}

// One editor step, built the way the tools build it: only changed cells are
// recorded, with old − new and the value written; the grid's flag goes into
// the record and is cleared.
void Edit(LevelCollision& g, const std::vector<std::pair<int, int>>& cellsAndValues) {
    auto* a = new Action;
    for (auto [index, value] : cellsAndValues) {
        int old = g.GetCell(index);
        if (old == value) continue;
        a->Add({static_cast<float>(index % g.GetWidth()), static_cast<float>(index / g.GetWidth())}, old, value);
        g.SetCell(index, value);
    }
    a->validFlag = g.GetValidFlag();
    g.SetValidFlag(false);
    g.PushUndoAction(a);
}

}  // namespace

TEST(UndoRedo, OneCellBothWays) {
    LevelCollision g(5, 5);
    Edit(g, {{3 * 5 + 2, 1}});
    ASSERT_EQ(g.GetCell(2, 3), 1);
    Action* a = g.PopUndoAction();
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->deltas, std::vector<int>{-1});
    EXPECT_EQ(a->positions[0], D3DXVECTOR2(2, 3));
    g.PushUndoAction(a);

    g.Undo();
    EXPECT_EQ(g.GetCell(2, 3), 0);
    a = g.PopRedoAction();
    EXPECT_EQ(a->deltas, std::vector<int>{1});
    g.PushRedoAction(a);

    g.Redo();
    EXPECT_EQ(g.GetCell(2, 3), 1);
    a = g.PopUndoAction();
    EXPECT_EQ(a->deltas, std::vector<int>{-1});
    delete a;

    // Empty stacks, and a null record, change nothing.
    Snapshot before = Take(g);
    g.Undo();
    g.Redo();
    g.PushUndoAction(nullptr);
    g.Undo();
    EXPECT_EQ(g.RedoCount(), 0u);
    EXPECT_EQ(Take(g), before);
}

// A cell written behind the steps' back (the editor rewrites the level start
// every frame) is set to the value the step found, not shifted by its amount:
// adding −1 to a start cell would leave fireflies.
TEST(UndoRedo, StepsSetTheValuesTheyRecordedWhateverTheCellHoldsNow) {
    LevelCollision g(4, 1);
    Edit(g, {{0, 0}, {1, 1}});  // nothing to do at 0; 1 painted at 1
    Edit(g, {{2, 7}});
    g.SetCell(1.0f, 0.0f, 101);  // unrecorded
    g.SetCell(2.0f, 0.0f, 101);  // unrecorded
    g.Undo();
    EXPECT_EQ(g.GetCell(2, 0), 0) << "undo sets the value the step found";
    g.Undo();
    EXPECT_EQ(g.GetCell(1, 0), 0);
    g.SetCell(1.0f, 0.0f, 5);
    g.Redo();
    EXPECT_EQ(g.GetCell(1, 0), 1) << "redo sets the value the step wrote";
    g.Redo();
    EXPECT_EQ(g.GetCell(2, 0), 7);
    for (int x = 0; x < 4; ++x) EXPECT_NE(g.GetCell(x, 0), 100) << x;

    // A record of amounts alone (no values) still adds them to the cells.
    auto* old = new Action;
    old->positions.emplace_back(3.0f, 0.0f);
    old->deltas.push_back(-2);
    g.SetCell(3.0f, 0.0f, 2);
    g.PushUndoAction(old);
    g.Undo();
    EXPECT_EQ(g.GetCell(3, 0), 0);
    g.Redo();
    EXPECT_EQ(g.GetCell(3, 0), 2);
}

// A block lifted and dropped over itself lists a cell twice in one step.
TEST(UndoRedo, ACellListedTwiceInOneStepComesBackBothWays) {
    LevelCollision g(2, 1);
    g.SetCell(0.0f, 0.0f, 3);
    auto* a = new Action;
    a->Add({0, 0}, 3, 0);  // lifted
    a->Add({0, 0}, 0, 5);  // dropped
    g.SetCell(0.0f, 0.0f, 5);
    g.PushUndoAction(a);
    g.Undo();
    EXPECT_EQ(g.GetCell(0, 0), 3);
    g.Redo();
    EXPECT_EQ(g.GetCell(0, 0), 5);
    g.Undo();
    EXPECT_EQ(g.GetCell(0, 0), 3);
}

TEST(UndoRedo, ValidFlagFollowsTheSteps) {
    LevelCollision g(4, 4);
    g.SetValidFlag(true);  // "Completed"
    Edit(g, {{0, 2}});
    EXPECT_FALSE(g.GetValidFlag());  // "Not Tested"
    g.Undo();
    EXPECT_TRUE(g.GetValidFlag());
    g.Redo();
    EXPECT_FALSE(g.GetValidFlag());
}

TEST(UndoRedo, StepsOutsideAResizedGridTouchOnlyCellsStillInside) {
    LevelCollision g(6, 6);
    Edit(g, {{0, 4}, {5 * 6 + 5, 4}, {2 * 6 + 1, 3}});
    g.Resize(3, 3);
    g.Undo();
    EXPECT_EQ(g.GetCell(0, 0), 0);
    EXPECT_EQ(g.GetCell(1, 2), 0);
    g.Redo();
    EXPECT_EQ(g.GetCell(0, 0), 4);
    EXPECT_EQ(g.GetCell(1, 2), 3);
    EXPECT_EQ(g.GetWidth(), 3);
}

// Random edits, undos and redos against a list of snapshots: the grid must
// always equal the snapshot the model points at, the undo history holds at
// most 100 steps, and a new step drops everything that could be redone.
TEST(UndoRedo, ModelAgainstSnapshots) {
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        std::mt19937 rng(seed);
        LevelCollision g(7, 5);
        g.SetValidFlag(true);
        std::vector<Snapshot> history{Take(g)};
        std::size_t at = 0;
        std::uniform_int_distribution<int> cell(0, 34), value(0, 8), count(0, 4), pick(0, 99);
        for (int step = 0; step < 3000; ++step) {
            // Phases: long runs of edits push past the limit, long runs of
            // undos and redos walk the history end to end.
            int phase = (step / 250) % 3;
            int r = pick(rng);
            int editChance = phase == 0 ? 85 : phase == 1 ? 30 : 10;
            if (r < editChance) {
                std::vector<std::pair<int, int>> cells;
                for (int k = count(rng); k > 0; --k) cells.emplace_back(cell(rng), value(rng));
                Edit(g, cells);
                history.resize(at + 1);
                history.push_back(Take(g));
                ++at;
                if (history.size() > LevelCollision::kMaxActions + 1) {
                    history.erase(history.begin());
                    --at;
                }
            } else if (r < editChance + (100 - editChance) / 2) {
                g.Undo();
                if (at > 0) --at;
            } else {
                g.Redo();
                if (at + 1 < history.size()) ++at;
            }
            ASSERT_EQ(Take(g), history[at]) << "seed " << seed << " step " << step;
            ASSERT_EQ(g.UndoCount(), at) << "seed " << seed << " step " << step;
            ASSERT_EQ(g.RedoCount(), history.size() - 1 - at) << "seed " << seed << " step " << step;
        }
    }
}

TEST(UndoRedo, HundredStepLimitAndNewStepClearsRedo) {
    LevelCollision g(101, 1);
    for (int i = 0; i < 101; ++i) Edit(g, {{i, 1}});
    EXPECT_EQ(g.UndoCount(), 100u);
    for (int i = 0; i < 150; ++i) g.Undo();
    // The first step fell off: its cell stays painted.
    EXPECT_EQ(g.GetCell(0, 0), 1);
    for (int x = 1; x < 101; ++x) ASSERT_EQ(g.GetCell(x, 0), 0) << x;
    EXPECT_EQ(g.RedoCount(), 100u);

    g.Redo();
    EXPECT_EQ(g.GetCell(1, 0), 1);
    Edit(g, {{50, 7}});
    EXPECT_EQ(g.RedoCount(), 0u);
    g.Redo();
    EXPECT_EQ(g.GetCell(2, 0), 0);
    EXPECT_EQ(g.GetCell(50, 0), 7);
}

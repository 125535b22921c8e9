// Random sessions with all four tools through the real grid: strokes of the
// brush, box, fill and move tools (released over the grid and off it), moves
// of the level start, undos and redos past the 100-step limit. The model
// keeps, for every step on the grid's stacks, the cells it changed with their
// values before and after (whole-grid snapshots taken around the stroke);
// after every undo or redo the grid must equal the model's grid, and no cell
// may ever hold a code that no tool wrote.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "editor/ToolWorld.h"

using namespace tooltest;

namespace {

struct Step {
    std::map<int, std::pair<int, int>> cells;  // index: before, after
};

class ToolModelTest : public ToolWorld {
protected:
    // The cells the newest n steps name, newest last.
    std::vector<std::set<int>> Recorded(std::size_t n) {
        std::vector<std::set<int>> cells(n);
        for (std::size_t k = 0; k < n; ++k)
            for (const D3DXVECTOR2& p : Grid().PeekUndo(n - 1 - k)->positions)
                cells[k].insert(static_cast<int>(p.y) * Grid().GetWidth() + static_cast<int>(p.x));
        return cells;
    }
    // How many steps sit above the one that was newest before.
    std::size_t Above(const Action* newest) {
        std::size_t n = 0;
        while (Grid().PeekUndo(n) != nullptr && Grid().PeekUndo(n) != newest) ++n;
        return n;
    }
    int StartIndex() {
        const D3DXVECTOR2 s = GridObject().StartPos;
        return static_cast<int>(s.y) * Grid().GetWidth() + static_cast<int>(s.x);
    }
    D3DXVECTOR2 Anywhere(std::mt19937& rng) {
        // Over the whole view: 16 × 9 cells over a 12 × 6 level.
        std::uniform_real_distribution<float> x(0.05f, 15.95f), y(0.05f, 8.95f);
        return {x(rng), y(rng)};
    }
};

TEST_F(ToolModelTest, RandomSessionsUndoAndRedoToTheModelsGrid) {
    const std::set<int> palette = {1, 2, 3, 7, 8, 100, 102, 104, 108};
    for (unsigned seed : {11u, 12u, 13u}) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        Fresh(12, 6);
        GridObject().StartPos = {1.0f, 1.0f};
        Lv().ToolCursor = 0;
        Frame();
        std::vector<Step> undo, redo;
        std::set<int> written = {0, 101};
        std::uniform_int_distribution<int> pick(0, 99), tools(0, 3), points(1, 4);
        std::vector<int> values(palette.begin(), palette.end());
        std::uniform_int_distribution<std::size_t> value(0, values.size() - 1);

        auto check = [&](int op) {
            int starts = 0;
            for (int v : Cells(Grid())) {
                ASSERT_TRUE(written.count(v) != 0) << "code " << v << " at op " << op;
                starts += v == 101 ? 1 : 0;
            }
            ASSERT_EQ(starts, 1) << "op " << op;
            ASSERT_EQ(Grid().UndoCount(), undo.size()) << "op " << op;
            ASSERT_EQ(Grid().RedoCount(), redo.size()) << "op " << op;
        };

        // Undo (or redo) through the keys, against the model's grid: the
        // step's cells take their values from before (after) it, the start
        // cell shows the start.
        auto step = [&](std::vector<Step>& from, std::vector<Step>& to, bool back) {
            std::vector<int> expected = Cells(Grid());
            for (const auto& [i, ba] : from.back().cells)
                expected[static_cast<std::size_t>(i)] = back ? ba.first : ba.second;
            expected[static_cast<std::size_t>(StartIndex())] = 101;
            to.push_back(from.back());
            from.pop_back();
            back ? Undo() : Redo();
            ASSERT_EQ(Cells(Grid()), expected) << (back ? "undo" : "redo");
        };

        for (int op = 0; op < 400; ++op) {
            const int r = pick(rng);
            if (r < 20 && !undo.empty()) {
                step(undo, redo, true);
            } else if (r < 30 && !redo.empty()) {
                step(redo, undo, false);
            } else if (r < 36) {
                // The start moves: no step.
                Lv().SelectedValue = 101;
                Drag({Anywhere(rng), Anywhere(rng)});
                Lv().SelectedValue = 1;
            } else {
                const int tool = tools(rng);
                Lv().ToolCursor = tool;
                Lv().SelectedValue = values[value(rng)];
                written.insert(Lv().SelectedValue);
                const std::vector<int> before = Cells(Grid());
                const Action* newestBefore = Grid().PeekUndo(0);
                std::vector<D3DXVECTOR2> path;
                for (int k = points(rng); k > 0; --k) path.push_back(Anywhere(rng));
                const bool right = pick(rng) < 25, releaseOff = pick(rng) < 20;
                for (std::size_t i = 0; i < path.size(); ++i) {
                    At(path[i].x, path[i].y);
                    if (i == 0) right ? Right(true) : Left(true);
                    Frame();
                }
                if (releaseOff) Off();
                right ? Right(false) : Left(false);
                Frame();
                // The moved view lies partly over the palette: a press there picks.
                written.insert(Lv().SelectedValue);
                if (tool == 3) {
                    // Drag the lifted block (if any) and put it down.
                    Drag({Anywhere(rng), Anywhere(rng)});
                    written.insert(Lv().SelectedValue);
                    Lv().ToolCursor = 0;  // leaving the tool drops the block
                    Frame();
                }
                // How many steps the stroke pushed: fills push one per region met.
                const std::size_t pushed = Above(newestBefore);
                if (pushed > 0) {
                    // Several steps of one stroke are kept as one in the model only
                    // when one was pushed; a fill over several regions is undone
                    // region by region, so such strokes are taken apart below.
                    redo.clear();
                    const std::vector<int> after = Cells(Grid());
                    if (pushed == 1) {
                        // Every changed cell is named by the step; a named cell
                        // that kept its value goes back to that value.
                        Step s;
                        const std::set<int> named = Recorded(1)[0];
                        for (int i : named)
                            s.cells[i] = {before[static_cast<std::size_t>(i)], after[static_cast<std::size_t>(i)]};
                        for (std::size_t i = 0; i < after.size(); ++i) {
                            if (before[i] != after[i]) {
                                ASSERT_TRUE(s.cells.count(static_cast<int>(i)) != 0)
                                    << "unrecorded change at op " << op;
                            }
                        }
                        undo.push_back(s);
                    } else {
                        // Walk the stroke's steps back with undo to see the grid
                        // between them, then forward again.
                        const std::vector<std::set<int>> named = Recorded(pushed);
                        std::vector<std::vector<int>> states(pushed + 1);
                        states[pushed] = after;
                        for (std::size_t k = pushed; k-- > 0;) {
                            Grid().Undo();
                            states[k] = Cells(Grid());
                        }
                        for (std::size_t k = 0; k < pushed; ++k) Grid().Redo();
                        ASSERT_EQ(Cells(Grid()), after);
                        ASSERT_EQ(states[0], before);
                        std::vector<Step> steps(pushed);
                        for (std::size_t k = 0; k < pushed; ++k) {
                            for (int i : named[k])
                                steps[k].cells[i] = {states[k][static_cast<std::size_t>(i)],
                                                     states[k + 1][static_cast<std::size_t>(i)]};
                            for (std::size_t i = 0; i < after.size(); ++i) {
                                if (states[k][i] != states[k + 1][i]) {
                                    ASSERT_TRUE(named[k].count(static_cast<int>(i)) != 0);
                                }
                            }
                        }
                        for (Step& s : steps) undo.push_back(s);
                    }
                    while (undo.size() > LevelCollision::kMaxActions) undo.erase(undo.begin());
                }
            }
            check(op);
        }
        // Everything undone, then everything redone, against the model.
        while (!undo.empty()) step(undo, redo, true);
        Undo();  // nothing left: nothing changes
        while (!redo.empty()) step(redo, undo, false);
    }
}

}  // namespace

// The editor's fill over the largest level a level file holds (1023 by 1023,
// every cell one region), then its undo and redo as one step. Prints each
// time and the deepest the fill's stack went; the target is each under
// 0.2 s, and the stack never above 4 + 3 × the cells filled.
#include <chrono>
#include <cstdio>
#include <stack>

#include "editor/FillTool.h"
#include "framework/LevelCollision.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

}  // namespace

int main() {
    const int side = LevelCollision::kMaxSide;
    LevelCollision grid(side, side);
    std::stack<D3DXVECTOR2> stack;
    std::size_t deepest = 0;

    auto start = std::chrono::steady_clock::now();
    Action* step = ObjectData::FillTool::Fill(grid, stack, {511.5f, 511.5f}, 2, &deepest);
    const double fill = Seconds(start);
    if (step == nullptr) {
        std::fprintf(stderr, "the fill changed nothing\n");
        return 1;
    }
    const std::size_t cells = step->positions.size();
    grid.PushUndoAction(step);

    start = std::chrono::steady_clock::now();
    grid.Undo();
    const double undo = Seconds(start);
    start = std::chrono::steady_clock::now();
    grid.Redo();
    const double redo = Seconds(start);

    const bool filled = grid.GetCell(0, 0) == 2 && grid.GetCell(side - 1, side - 1) == 2;
    const std::size_t bound = 4 + 3 * cells;
    std::printf("editor fill: a %dx%d level, %zu cells in one region\n", side, side, cells);
    std::printf("fill %.3f s, undo %.3f s, redo %.3f s (target each < 0.2)\n", fill, undo, redo);
    std::printf("deepest stack %zu entries (bound 4 + 3 x cells = %zu)\n", deepest, bound);
    return filled && deepest <= bound ? 0 : 1;
}

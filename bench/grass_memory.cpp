// Memory of the grass manager's two indexes on the largest built-in level
// size: once with the blades the level's own grass grows (seven on every
// open side of a grass cell) and once with the whole grid carpeted, beside
// what the same limits take as fixed tables.
#include <cstdio>
#include <cstdlib>

#include "framework/LevelCollision.h"
#include "framework/VariableNames.h"
#include "framework/Variables.h"
#include "objects/GrassBlade.h"
#include "objects/GrassManager.h"

namespace Grass = ObjectData::GrassManager;

namespace {

bool Solid(const LevelCollision& grid, int x, int y) {
    if (x < 0 || y < 0 || x >= grid.GetWidth() || y >= grid.GetHeight()) return false;
    const int value = grid.GetCell(x, y);
    return value >= 1 && value <= 9;
}

struct Run {
    Object* manager = nullptr;
    Object* blade = nullptr;
    long blades = 0;

    Run() {
        Grass::_Init(manager);
        ObjectData::GrassBlade::_Init(blade);
        Grass::Load(manager, manager);
        VariablesOf<Grass::Variables>(manager).currentGrass = blade;
    }
    ~Run() { Grass::Unload(manager, manager); }

    // The index holds references only, so one blade object moved from place
    // to place stands for every blade.
    void Add(float x, float y) {
        *FindVariable<D3DXVECTOR3>(blade, enum_position) = {x, y, 0.0f};
        Grass::AddGrass(manager, manager);
        ++blades;
    }
    void Side(float x0, float y0, float dx, float dy) {
        for (int i = 0; i < 7; ++i) Add(x0 + dx * static_cast<float>(i) / 6.0f, y0 + dy * static_cast<float>(i) / 6.0f);
    }
};

void Print(const char* what, int width, int height, Run& run) {
    const double mib = static_cast<double>(Grass::MemoryBytes(run.manager)) / (1024.0 * 1024.0);
    std::printf("%-34s %4d x %-4d %8ld blades  %9.2f MiB\n", what, width, height, run.blades, mib);
}

}  // namespace

int main() {
    int best = -1, bestArea = 0, width = 0, height = 0;
    for (int index = 0; index < 13; ++index) {
        LevelCollision grid;
        if (!grid.SLoad(index)) continue;
        const int area = grid.GetWidth() * grid.GetHeight();
        if (area > bestArea) {
            best = index;
            bestArea = area;
            width = grid.GetWidth();
            height = grid.GetHeight();
        }
    }
    if (best < 0) {
        std::fprintf(stderr, "no built-in level could be loaded\n");
        return 1;
    }
    std::printf("largest built-in level: index %d\n", best);

    {
        LevelCollision grid;
        grid.SLoad(best);
        Run run;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (grid.GetCell(x, y) != 1) continue;
                const float fx = static_cast<float>(x), fy = static_cast<float>(y);
                if (!Solid(grid, x, y + 1)) run.Side(fx + 0.1f, fy + 0.9f, 0.8f, 0.0f);
                if (!Solid(grid, x, y - 1)) run.Side(fx + 0.1f, fy + 0.05f, 0.8f, 0.0f);
                if (!Solid(grid, x - 1, y)) run.Side(fx + 0.05f, fy + 0.1f, 0.0f, 0.8f);
                if (!Solid(grid, x + 1, y)) run.Side(fx + 0.95f, fy + 0.1f, 0.0f, 0.8f);
            }
        }
        Print("the level's own grass", width, height, run);
    }
    {
        Run run;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                run.Side(static_cast<float>(x) + 0.1f, static_cast<float>(y) + 0.9f, 0.8f, 0.0f);
        Print("every cell carpeted", width, height, run);
    }
    constexpr double kFourByteTables = 512.0 * 512.0 * (4 + 256 * 4) + 32.0 * 32.0 * (4 + 131072.0 * 4);
    std::printf("%-34s %26s  %9.2f MiB\n", "fixed tables, 8-byte references", "",
                static_cast<double>(Grass::kFixedTableBytes) / (1024.0 * 1024.0));
    std::printf("%-34s %26s  %9.2f MiB\n", "fixed tables, 4-byte references", "", kFourByteTables / (1024.0 * 1024.0));
    return 0;
}

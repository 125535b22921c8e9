// Level files as a player's folder may hold them: read through the same
// path the editor and the game use, then the drawing tiles and a save that
// must read back as the same grid.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "FuzzSupport.h"
#include "framework/Globals.h"
#include "framework/LevelCollision.h"

namespace {

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::TempFolder home;
    static bool ready = [] {
        std::filesystem::create_directories(home / "Levels");
        return CopyPath(Globals.userDataFolder, home.Path());
    }();
    if (!ready) std::abort();
    WriteFile(home / "Levels/in.lvl", data, size);
    LevelCollision grid;
    if (!grid.Load("in.lvl")) return 0;
    grid.GenerateCompleteTileGrid();
    const int w = grid.GetWidth(), h = grid.GetHeight();
    for (int y = -1; y <= h; ++y)
        for (int x = -1; x <= w; ++x) (void)grid.GetCell(x, y);
    if (!grid.Save("out.lvl")) std::abort();  // a grid that loaded must save
    LevelCollision again;
    if (!again.Load("out.lvl") || again.GetWidth() != w || again.GetHeight() != h) std::abort();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (again.GetCell(x, y) != grid.GetCell(x, y)) std::abort();
    return 0;
}

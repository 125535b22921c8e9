// The first built-in level chosen from the main menu: the time from the
// choice to the level's first frame drawn (the level built, its first step,
// the sheets it shows that are not up yet decoded and uploaded, the frame
// drawn), headless on software GL at 1280x720. Measured with the sheets
// loaded on demand, as the program loads them (the menu's are up, the
// level's are not), and with every sheet up before the choice (the pause
// the sheets themselves add is the difference). Each way is run a few times
// from fresh tables and the median printed.
#include <SDL2/SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "HeadlessGL.h"
#include "Scenes.h"
#include "platform/graphics/SheetData.h"
#include "platform/graphics/Texture.h"

namespace {

int SheetsUp() {
    int up = 0;
    for (int i = 0; i < Texture::sheetCount; ++i) up += SheetLoaded(i) ? 1 : 0;
    return up;
}

}  // namespace

int main() {
    using namespace scenes;
    if (!SDL_getenv("ALSOFT_DRIVERS")) SDL_setenv("ALSOFT_DRIVERS", "null", 1);
    HeadlessGL gl;
    if (!gl.Open(graphicsEngine, kWidth, kHeight, true)) return 1;
    {
        LevelStarts scene;
        std::printf("first built-in level chosen from the main menu, %dx%d\n", kWidth, kHeight);
        std::printf("%-26s  sheets up: at the menu, after the level's first frame   choice to first frame\n", "");
        constexpr int kRuns = 5;
        for (const bool ahead : {false, true}) {
            std::vector<double> ms;
            int atMenu = 0, atLevel = 0;
            for (int run = 0; run < kRuns; ++run) {
                // Fresh tables: no sheet up, none asked for.
                graphicsEngine.LoadTextures();
                State* menu = scene.Open("MainMenu");
                LevelStarts::Run(menu, 30, true);
                LevelStarts::Close(menu);
                if (ahead) {
                    for (int i = 0; i < Texture::sheetCount; ++i) MarkSheetWanted(i);
                    graphicsEngine.LoadWanted();
                }
                atMenu = SheetsUp();
                glFinish();
                CurrentLevelIndex = 0;
                const std::uint32_t start = detail::StartFresh();
                const auto t0 = std::chrono::steady_clock::now();
                State* level = scene.Open("SinglePlayer");
                LevelStarts::Run(level, 1);
                glFinish();
                const auto t1 = std::chrono::steady_clock::now();
                atLevel = SheetsUp();
                ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
                LevelStarts::Close(level);
                detail::EndFresh(start);
            }
            std::sort(ms.begin(), ms.end());
            std::printf("%-26s  %17d  %27d   %8.1f ms\n", ahead ? "every sheet up before" : "sheets loaded on demand",
                        atMenu, atLevel, ms[ms.size() / 2]);
        }
    }
    gl.Close();
    return 0;
}

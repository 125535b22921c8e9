// A screenshot of each built-in level at its start, as the game shows it:
// the real "SinglePlayer" level in a state wired to the renderer the way the
// game wires its windows, run for about a second and a half of frames (the
// camera settles on the player, the fade in ends) on an injected clock, drawn
// at 1280x720 and written as <outdir>/<LevelName>.png; then the player is
// set down beside the level's goal and <outdir>/<LevelName>-goal.png shows
// the goal area as a player arriving there sees it.
//
//   bench_level_shots [outdir]      (default: screenshots/)
//
// Last, the level editor with the first built-in level's grid opened in it,
// <outdir>/LevelEditor.png, and with spikes and cells of unknown values added
// to that grid: at every zoom (LevelEditor-zoom1/2/4.png), on the palette's
// objects tab (LevelEditor-objects.png) and with a block lifted and dragged by
// the move tool (LevelEditor-move.png).
//
// Runs headless: offscreen video, no sound device, no input devices.
#include <SDL2/SDL.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "EditorScene.h"
#include "HeadlessGL.h"
#include "Scenes.h"
#include "screens/PlayLevel.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

int main(int argc, char** argv) {
    using namespace scenes;
    const std::filesystem::path outdir = argc > 1 ? argv[1] : "screenshots";
    std::error_code error;
    std::filesystem::create_directories(outdir, error);
    if (error) {
        std::fprintf(stderr, "cannot create %s: %s\n", outdir.c_str(), error.message().c_str());
        return 1;
    }

    if (!SDL_getenv("ALSOFT_DRIVERS")) SDL_setenv("ALSOFT_DRIVERS", "null", 1);
    HeadlessGL gl;
    if (!gl.Open(graphicsEngine, kWidth, kHeight, true)) return 1;

    int failures = 0;
    {
        LevelStarts levels;
        std::vector<std::uint8_t> rgba, goal;
        for (int index = 0; index < static_cast<int>(BuiltInLevelNames.size()); ++index) {
            const std::string name = BuiltInLevelNames[static_cast<std::size_t>(index)];
            const std::string path = (outdir / (name + ".png")).string();
            const std::string goalPath = (outdir / (name + "-goal.png")).string();
            const std::string why = levels.Shoot(index, rgba, true, &goal);
            if (!why.empty()) {
                std::fprintf(stderr, "%s: %s\n", name.c_str(), why.c_str());
                ++failures;
            } else if (!stbi_write_png(path.c_str(), kWidth, kHeight, 4, rgba.data(), kWidth * 4)) {
                std::fprintf(stderr, "%s: cannot write %s: %s\n", name.c_str(), path.c_str(), std::strerror(errno));
                ++failures;
            } else if (!stbi_write_png(goalPath.c_str(), kWidth, kHeight, 4, goal.data(), kWidth * 4)) {
                std::fprintf(stderr, "%s: cannot write %s: %s\n", name.c_str(), goalPath.c_str(), std::strerror(errno));
                ++failures;
            } else {
                std::printf("%-14s %s  %zu quads\n", name.c_str(), path.c_str(), levels.LastQuads());
                std::printf("%-14s %s\n", "", goalPath.c_str());
            }
        }
    }
    {
        // Screen name, level, frames before the picture, what is done then.
        struct Screen {
            const char* name;
            const char* level;
            int frames;
            int index;          // built-in level for the play level
            const char* extra;  // "pause", "howtoplay" or null
        };
        const Screen screens[] = {
            {"licence", "Eula", 20, 0, nullptr},
            {"splash-maker", "HalvernSplash", 60, 0, nullptr},
            {"splash-team", "TeamSplash", 60, 0, nullptr},
            {"title", "TitleScreen", 60, 0, nullptr},
            {"main-menu", "MainMenu", 60, 0, nullptr},
            {"pause-menu", "SinglePlayer", 90, 0, "pause"},
            {"how-to-play", "SinglePlayer", 90, 0, "howtoplay"},
            {"quit-confirm", "QuitConfirm", 60, 0, nullptr},
            {"quit-window", "QuitWindow", 20, 0, nullptr},
        };
        LevelStarts shots;
        std::vector<std::uint8_t> rgba;
        for (const Screen& screen : screens) {
            const std::string path = (outdir / (std::string("screen-") + screen.name + ".png")).string();
            CurrentLevelIndex = screen.index;
            State* state = shots.Open(screen.level);
            LevelStarts::Run(state, screen.frames);
            if (screen.extra != nullptr && state->GetLevel() != nullptr) {
                PlayLevel::OpenPauseMenu(state->GetLevel());
                if (std::string(screen.extra) == "howtoplay")
                    Object::MakeCopy(state, "PausedHowToPlayImage", "HTPImage");
                LevelStarts::Run(state, 20);
            }
            const bool shown = state->GetLevelName() == screen.level && shots.Read(rgba);
            LevelStarts::Close(state);
            if (!shown) {
                std::fprintf(stderr, "%s: the screen did not show\n", screen.name);
                ++failures;
            } else if (!stbi_write_png(path.c_str(), kWidth, kHeight, 4, rgba.data(), kWidth * 4)) {
                std::fprintf(stderr, "%s: cannot write %s: %s\n", screen.name, path.c_str(), std::strerror(errno));
                ++failures;
            } else {
                std::printf("%-14s %s\n", screen.name, path.c_str());
            }
        }
    }
    {
        // The editor's screen on a built-in grid, after its fade in; then on
        // the same grid with spikes and unknown cells added: at every zoom,
        // on the palette's objects tab, and with a block lifted and dragged
        // by the move tool.
        struct EditorShot {
            const char* name;
            bool sample;                 // the grid with spikes and unknown cells
            void (*work)(EditorScene&);  // what is clicked before the picture
        };
        const EditorShot shots[] = {
            {"LevelEditor", false, nullptr},
            {"LevelEditor-zoom1", true, nullptr},
            {"LevelEditor-zoom2", true, [](EditorScene& e) { e.Click(-0.72f, -0.3f); }},
            {"LevelEditor-zoom4", true,
             [](EditorScene& e) {
                 e.Click(-0.72f, -0.3f);
                 e.Click(-0.72f, -0.3f);
             }},
            {"LevelEditor-objects", true, [](EditorScene& e) { e.Click(-0.5f, 0.205f); }},
            {"LevelEditor-move", true,
             [](EditorScene& e) {
                 e.Click(-0.59f, -0.43f);                                                 // the move tool
                 e.Drag(EditorCellX(4), EditorCellY(1), EditorCellX(9), EditorCellY(3));  // lifted
                 e.Drag(EditorCellX(6), EditorCellY(2), EditorCellX(9), EditorCellY(5), false);
             }},
        };
        for (const EditorShot& shot : shots) {
            EditorScene editor;
            LevelCollision grid = BuildEditorSampleLevel();
            if (!shot.sample) grid.SLoad(0);
            std::vector<std::uint8_t> rgba;
            const std::string path = (outdir / (std::string(shot.name) + ".png")).string();
            if (grid.GetWidth() == 0 || !editor.Open(grid, BuiltInLevelNames[0])) {
                std::fprintf(stderr, "%s: the editor did not open %s\n", shot.name, BuiltInLevelNames[0]);
                ++failures;
                continue;
            }
            for (int f = 0; f < 60; ++f) editor.Frame(false);
            if (shot.work != nullptr) shot.work(editor);
            for (int f = 0; f < 30; ++f) editor.Frame(f == 29);
            if (!editor.Read(rgba) || !stbi_write_png(path.c_str(), kWidth, kHeight, 4, rgba.data(), kWidth * 4)) {
                std::fprintf(stderr, "%s: cannot write %s\n", shot.name, path.c_str());
                ++failures;
            } else {
                std::printf("%-20s %s\n", shot.name, path.c_str());
            }
        }
    }
    gl.Close();
    return failures == 0 ? 0 : 1;
}

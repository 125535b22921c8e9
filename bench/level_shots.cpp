// A screenshot of each built-in level at its start, as the game shows it:
// the real "SinglePlayer" level in a state wired to the renderer the way the
// game wires its windows, run for about a second and a half of frames (the
// camera settles on the player, the fade in ends) on an injected clock, drawn
// at 1280x720 and written as <outdir>/<LevelName>.png; then the player is
// set down beside the level's goal and <outdir>/<LevelName>-goal.png shows
// the goal area as a player arriving there sees it. Last, the level editor
// with the first built-in level's grid opened in it: <outdir>/LevelEditor.png.
//
//   bench_level_shots [outdir]      (default: screenshots/)
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
        // The editor's screen on a built-in grid, after its fade in.
        EditorScene editor;
        LevelCollision grid;
        std::vector<std::uint8_t> rgba;
        const std::string path = (outdir / "LevelEditor.png").string();
        if (!grid.SLoad(0) || !editor.Open(grid, BuiltInLevelNames[0])) {
            std::fprintf(stderr, "LevelEditor: the editor did not open %s\n", BuiltInLevelNames[0]);
            ++failures;
        } else {
            for (int f = 0; f < 90; ++f) editor.Frame(f == 89);
            if (!editor.Read(rgba) || !stbi_write_png(path.c_str(), kWidth, kHeight, 4, rgba.data(), kWidth * 4)) {
                std::fprintf(stderr, "LevelEditor: cannot write %s\n", path.c_str());
                ++failures;
            } else {
                std::printf("%-14s %s\n", "LevelEditor", path.c_str());
            }
        }
    }
    gl.Close();
    return failures == 0 ? 0 : 1;
}

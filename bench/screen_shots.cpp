// Screenshots of the menu screens as a player sees them, drawn headless:
// credits, how to play, both results screens (a ranking of several coloured
// players), options, customisation and the profiler viewer over a recorded
// profile. Each is the real level type opened by name, run about a second
// on an injected clock (the fade in ends) and written as <outdir>/<Name>.png.
//
//   bench_screen_shots [outdir]      (default: screenshots/)
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

#include "HeadlessGL.h"
#include "ScreenScenes.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace {

// A match of five players with scores, names and colours.
void FillMatch() {
    auto& game = GameVars();
    const char* names[] = {"Moonwalker", "Pip", "Nightjar", "Ember", "Bramble"};
    const std::int32_t scores[] = {42, 87, 0, 63, 87};
    const std::uint32_t colours[] = {0xFF3CC8FFu, 0xFFFF7A3Cu, 0xFF9A9A9Au, 0x00FFD23Cu, 0xFF8CFF5Au};
    for (int i = 0; i < 5; ++i) {
        game.playerNames[i] = names[i];
        game.playerScores[i] = scores[i];
        game.playerColors[i] = static_cast<std::int32_t>(colours[i]);
    }
}

}  // namespace

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

    struct Shot {
        const char* file;
        const char* level;
        int width, height;
    };
    const Shot shots[] = {
        {"Options", "Options", kWidth, kHeight},
        {"Customize", "Customize", kWidth, kHeight},
        {"Credits", "Credits", kWidth, kHeight},
        {"HowToPlay", "HowToPlayScreen", kWidth, kHeight},
        {"GameResults", "GameResults", kWidth, kHeight},
        {"SPResults", "SPResults", kWidth, kHeight},
        {"Profiler", "Profiler", 500, 500},
    };
    int failures = 0;
    {
        ScreenScenes screens;
        FillMatch();
        RecordSampleProfile();
        std::vector<std::uint8_t> rgba;
        for (const Shot& shot : shots) {
            const std::string path = (outdir / (std::string(shot.file) + ".png")).string();
            const std::string why = screens.Shoot(shot.level, rgba, 60, shot.width, shot.height);
            if (!why.empty()) {
                std::fprintf(stderr, "%s: %s\n", shot.file, why.c_str());
                ++failures;
            } else if (!stbi_write_png(path.c_str(), shot.width, shot.height, 4, rgba.data(), shot.width * 4)) {
                std::fprintf(stderr, "%s: cannot write %s: %s\n", shot.file, path.c_str(), std::strerror(errno));
                ++failures;
            } else {
                std::printf("%-12s %s\n", shot.file, path.c_str());
            }
        }
    }
    gl.Close();
    return failures == 0 ? 0 : 1;
}

// The picture guard from an optimised build: draws each guard scene and
// compares it with its reference frame, printing how many pixels changed;
// with --write, writes the references again (after pictures or levels were
// changed on purpose: look at them before committing).
//
//   bench_pictures [--write] [scene...]
//
// Each scene is drawn in a process of its own (the scenes set up the game's
// global tables), headless, with the rasteriser's thread count pinned.
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "HeadlessGL.h"
#include "PictureGuard.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace {

// In the child: draws, then writes or compares. Exit status 0 when it passes.
int RunScene(const std::string& scene, bool write) {
    using namespace scenes;
    setenv("LP_NUM_THREADS", "4", 1);
    if (!SDL_getenv("ALSOFT_DRIVERS")) SDL_setenv("ALSOFT_DRIVERS", "null", 1);
    HeadlessGL gl;
    if (!gl.Open(graphicsEngine, kWidth, kHeight, scene != "Quads2000")) return 2;
    std::vector<std::uint8_t> rgba;
    const std::string why = pictures::Render(scene, rgba);
    gl.Close();
    if (!why.empty()) {
        std::printf("%-14s %s\n", scene.c_str(), why.c_str());
        return 2;
    }
    const std::string path = pictures::ReferencePath(scene);
    if (write) {
        std::filesystem::create_directories(pictures::ReferenceFolder());
        if (!stbi_write_png(path.c_str(), kWidth, kHeight, 4, rgba.data(), kWidth * 4)) {
            std::printf("%-14s cannot write %s: %s\n", scene.c_str(), path.c_str(), std::strerror(errno));
            return 2;
        }
        std::printf("%-14s wrote %s\n", scene.c_str(), path.c_str());
        return 0;
    }
    std::vector<std::uint8_t> expected;
    if (!pictures::LoadReference(scene, expected)) {
        std::printf("%-14s no 1280x720 reference at %s (make pictures writes it)\n", scene.c_str(), path.c_str());
        return 2;
    }
    const pictures::Difference d = pictures::Compare(rgba.data(), expected.data(), rgba.size());
    const bool pass = d.pixels <= pictures::kAllowedPixels;
    std::printf("%-14s %7zu pixels changed (allowed %zu), largest channel difference %3d  %s\n", scene.c_str(),
                d.pixels, pictures::kAllowedPixels, d.largest, pass ? "same picture" : "CHANGED");
    return pass ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    bool write = false;
    std::vector<std::string> scenes;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--write")
            write = true;
        else
            scenes.emplace_back(argv[i]);
    }
    if (scenes.empty()) scenes = pictures::Scenes();
    std::printf(write ? "writing the picture guard's references\n"
                      : "picture guard: each scene against its reference frame\n");
    std::fflush(stdout);
    int failures = 0;
    for (const std::string& scene : scenes) {
        const pid_t child = fork();
        if (child < 0) return 1;
        if (child == 0) {
            const int status = RunScene(scene, write);
            std::fflush(stdout);
            _exit(status);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) ++failures;
    }
    return failures == 0 ? 0 : 1;
}

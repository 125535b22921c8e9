#pragma once
// The picture guard's scenes and comparison, shared by the guard test
// (tests/screens/PictureGuardTest.cpp) and bench_pictures, which checks the
// same frames from an optimised build and writes the references again:
//
//     make pictures        (bench_pictures --write)
//
// Each scene is drawn at 1280x720 on software GL into one render target and
// compared with tests/screens/pictures/<scene>.png. Two runs of one build
// give the same pixels; a pixel counts as changed when a colour channel
// differs by more than kChannelTolerance, and a frame passes with at most
// kAllowedPixels changed (0.02 % of the window: a rounding step here and
// there, never a visible change).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Scenes.h"

namespace pictures {

constexpr int kChannelTolerance = 8;
constexpr std::size_t kAllowedPixels = 184;

// Two built-in levels at their start (the first; one with mud), the last,
// fastest one, the play level with 16 boosted players, 2,000 quads with
// every layer composed.
inline const std::vector<std::string>& Scenes() {
    static const std::vector<std::string> names = {"GrassLevel01", "MudLevel01", "SpeedyLevel3", "PlayBoosted",
                                                   "Quads2000"};
    return names;
}

inline std::string ReferenceFolder() { return std::string(GF_SOURCE_DIR) + "/tests/screens/pictures"; }
inline std::string ReferencePath(const std::string& scene) { return ReferenceFolder() + "/" + scene + ".png"; }

// The scene's reference frame, RGBA, top row first; false when it is missing,
// unreadable or not 1280x720.
inline bool LoadReference(const std::string& scene, std::vector<std::uint8_t>& rgba) {
    std::ifstream in(ReferencePath(scene), std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SheetImage image;
    if (bytes.empty() || !DecodeSheetImage(bytes.data(), bytes.size(), image)) return false;
    if (image.width != scenes::kWidth || image.height != scenes::kHeight) return false;
    rgba.assign(image.rgba.begin(), image.rgba.end());
    return true;
}

// Draws a scene on the open device; answers "" or why it could not.
inline std::string Render(const std::string& scene, std::vector<std::uint8_t>& rgba) {
    using namespace scenes;
    if (scene == "PlayBoosted") {
        PlayScene play(false);
        for (int f = 0; f < 40; ++f) play.Queue(f);
        graphicsEngine.DrawAll();
        return play.view.Read(rgba) ? "" : "the frame could not be read back";
    }
    if (scene == "Quads2000") {
        QuadScene quads;
        quads.Queue(2000, true);
        graphicsEngine.DrawAll();
        return quads.view.Read(rgba) ? "" : "the frame could not be read back";
    }
    for (int i = 0; i < static_cast<int>(BuiltInLevelNames.size()); ++i)
        if (scene == BuiltInLevelNames[static_cast<std::size_t>(i)]) {
            LevelStarts levels;
            return levels.Shoot(i, rgba);
        }
    return "no scene \"" + scene + "\"";
}

struct Difference {
    std::size_t pixels = 0;         // pixels with a channel off by more than the tolerance
    int largest = 0;                // the largest channel difference
    std::vector<std::uint8_t> map;  // changed pixels red on black
};

inline Difference Compare(const std::uint8_t* a, const std::uint8_t* b, std::size_t bytes) {
    Difference d;
    d.map.assign(bytes, 0);
    for (std::size_t p = 0; p + 3 < bytes; p += 4) {
        int m = 0;
        for (int c = 0; c < 3; ++c) m = std::max(m, std::abs(int{a[p + c]} - int{b[p + c]}));
        d.largest = std::max(d.largest, m);
        d.map[p + 3] = 255;
        if (m > kChannelTolerance) {
            ++d.pixels;
            d.map[p] = 255;
        }
    }
    return d;
}

}  // namespace pictures

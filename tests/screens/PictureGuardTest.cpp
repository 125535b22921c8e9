// The picture guard: the drawing benchmarks' scenes and a few built-in levels
// at their start, drawn headless on software GL and compared with reference
// frames kept in pictures/ beside this test. A change to the renderer meant
// to save time must leave these pictures as they are (the allowance and the
// scenes are in bench/PictureGuard.h).
//
// When pictures or levels change on purpose, write the references again and
// look at them before committing:
//
//     make pictures
//
// A failed comparison leaves the frame drawn and a map of the changed pixels
// in <build>/picture-guard/.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../../bench/HeadlessGL.h"
#include "../../bench/PictureGuard.h"
#include "support/PngFile.h"

namespace {

using namespace scenes;

const std::filesystem::path kFailures = std::filesystem::path(GF_BINARY_DIR) / "picture-guard";

// A frame of the guard's size kept as a PNG file for a person to compare.
void WritePng(const std::filesystem::path& path, const std::vector<std::uint8_t>& rgba) {
    testsupport::WritePng(path, kWidth, kHeight, 4, rgba.data());
}

class PictureGuard : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { ASSERT_TRUE(gl.Open(graphicsEngine, kWidth, kHeight, GetParam() != "Quads2000")); }
    // The sheets and the device are released; the GL driver stays loaded
    // until the process ends, as in the other pixel tests, so what the
    // driver keeps stays reachable.
    void TearDown() override {
        graphicsEngine.FreeTextures();
        FreeSheetData();
        graphicsEngine.ReleaseDevice();
    }
    HeadlessGL gl;
};

TEST_P(PictureGuard, FrameMatchesItsReference) {
    const std::string scene = GetParam();
    std::vector<std::uint8_t> rgba;
    ASSERT_EQ(pictures::Render(scene, rgba), "");
    ASSERT_EQ(rgba.size(), static_cast<std::size_t>(kWidth) * kHeight * 4);

    std::vector<std::uint8_t> expected;
    ASSERT_TRUE(pictures::LoadReference(scene, expected))
        << "no 1280x720 reference " << pictures::ReferencePath(scene) << " (make pictures writes it)";
    const pictures::Difference d = pictures::Compare(rgba.data(), expected.data(), rgba.size());
    if (d.pixels > pictures::kAllowedPixels) {
        WritePng(kFailures / (scene + ".png"), rgba);
        WritePng(kFailures / (scene + ".diff.png"), d.map);
    }
    EXPECT_LE(d.pixels, pictures::kAllowedPixels)
        << scene << ": " << d.pixels << " pixels differ by more than " << pictures::kChannelTolerance
        << "/255 (largest " << d.largest << "); the frame and a map of the changes are in " << kFailures;
}

INSTANTIATE_TEST_SUITE_P(Scenes, PictureGuard, ::testing::ValuesIn(pictures::Scenes()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace

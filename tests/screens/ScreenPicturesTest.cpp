// The menu screens drawn headless through the real renderer with the baked
// sheets, as the screenshots take them, and read back as pixels: each
// screen's picture shows, and the profiler viewer draws its bars and labels
// over a recorded profile. The frames are left in <build>/screen-shots/ to
// look at.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../../bench/HeadlessGL.h"
#include "../../bench/ScreenScenes.h"
#include "platform/graphics/SheetData.h"
#include "platform/graphics/Texture.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace {

using namespace scenes;

struct Rgb {
    int r, g, b;
};

class ScreenPicturesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gl.Open(graphicsEngine, kWidth, kHeight, true)); }
    void TearDown() override {
        graphicsEngine.FreeTextures();
        FreeSheetData();
        graphicsEngine.ReleaseDevice();
    }

    void Shoot(const std::string& level, int width = kWidth, int height = kHeight) {
        this->width = width;
        this->height = height;
        const std::string why = screens.Shoot(level, rgba, 60, width, height);
        ASSERT_EQ(why, "");
        const std::filesystem::path dir = std::filesystem::path(GF_BINARY_DIR) / "screen-shots";
        std::error_code error;
        std::filesystem::create_directories(dir, error);
        stbi_write_png((dir / (level + ".png")).c_str(), width, height, 4, rgba.data(), width * 4);
    }
    Rgb At(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x) * 4;
        return {rgba[i], rgba[i + 1], rgba[i + 2]};
    }
    // How many pixels of the rectangle pass the test.
    template <class Test>
    int Count(int x0, int y0, int x1, int y1, Test test) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += test(At(x, y)) ? 1 : 0;
        return n;
    }

    HeadlessGL gl;
    ScreenScenes screens;
    std::vector<std::uint8_t> rgba;
    int width = kWidth, height = kHeight;
};

bool Bright(const Rgb& c) { return c.r + c.g + c.b > 600; }
bool Dark(const Rgb& c) { return c.r + c.g + c.b < 120; }
// The screens' heading colour, 0xC4BCAC, and its anti-aliased edges.
bool Heading(const Rgb& c) { return c.r > 150 && c.g > 140 && c.b > 120; }
// Black letters over the profiler's pale panel.
bool Lettered(const Rgb& c) { return c.r + c.g + c.b < 300; }

TEST_F(ScreenPicturesTest, PictureScreensShowTheirPages) {
    // The title at the top of the credits and how-to-play pages is bright
    // lettering over the night.
    for (const char* level : {"Credits", "HowToPlayScreen"}) {
        Shoot(level);
        EXPECT_GT(Count(440, 20, 840, 140, Bright), 300) << level << ": its title";
        EXPECT_GT(Count(0, 600, 200, 720, Dark), 10000) << level << ": the night below";
    }
}

TEST_F(ScreenPicturesTest, ResultsScreensLetterTheirTexts) {
    auto& game = GameVars();
    game.playerNames[0] = "Pip";
    game.playerScores[0] = 12;
    game.playerColors[0] = static_cast<std::int32_t>(0x0000FF00u);  // green, alpha 0
    Shoot("GameResults");
    EXPECT_GT(Count(340, 40, 940, 240, Heading), 300) << "the title";
    // The first line, at y -0.2 (504 pixels from the top), in the player's colour drawn opaque.
    EXPECT_GT(Count(340, 450, 940, 560, [](const Rgb& c) { return c.g > 150 && c.r < 80 && c.b < 80; }), 100);
    Shoot("SPResults");
    EXPECT_GT(Count(340, 20, 940, 240, Heading), 300) << "the congratulation";
    EXPECT_GT(Count(140, 400, 1140, 620, Heading), 300) << "the story";
}

TEST_F(ScreenPicturesTest, TheProfilerViewerDrawsBarsAndLabelsOfTheRecordedFrames) {
    RecordSampleProfile();
    Shoot("Profiler", 500, 500);
    // The chosen frame's bars (green 100, red and blue adding up to 255) and
    // the frame before's (green 179) in the bar area.
    auto chosen = [](const Rgb& c) { return std::abs(c.g - 100) < 10 && std::abs(c.r + c.b - 255) < 20; };
    auto before = [](const Rgb& c) { return std::abs(c.g - 179) < 10 && c.r >= 140 && c.b >= 140; };
    EXPECT_GT(Count(16, 50, 425, 430, chosen), 500);
    EXPECT_GT(Count(16, 50, 425, 430, before), 500);
    // The headline at the top and the section labels in black over the bars.
    EXPECT_GT(Count(60, 10, 300, 54, Lettered), 100) << "the headline";
    EXPECT_GT(Count(20, 55, 300, 260, Lettered), 300) << "the section labels";
    EXPECT_EQ(Count(20, 300, 300, 420, Lettered), 0) << "eleven sections, eleven rows";
}

// Sheets go up only when a screen shows them: the main menu, drawn and
// shown, holds none of the sheets that only other screens' pages are on.
TEST_F(ScreenPicturesTest, TheMainMenuHoldsOnlyTheSheetsItShows) {
    Shoot("MainMenu");
    EXPECT_GT(Count(0, 0, kWidth, kHeight, [](const Rgb& c) { return c.r + c.g + c.b > 90; }), 1000) << "it shows";
    int loaded = 0;
    for (int i = 0; i < Texture::sheetCount; ++i) loaded += SheetLoaded(i) ? 1 : 0;
    EXPECT_GT(loaded, 0);
    EXPECT_LT(loaded, Texture::sheetCount / 2);
    for (const char* page : {"BACK-Credits", "BACK HowToPlay", "BACK Profiler", "BACK StencilEditor"}) {
        ASSERT_EQ(TextureStringMap.count(page), 1u) << page;
        EXPECT_FALSE(SheetLoaded(TextureStringMap.at(page)->sheet)) << page;
    }
}

}  // namespace

// The menu screens drawn headless through the real renderer with the baked
// sheets, as the screenshots take them, and read back as pixels: each
// screen's picture shows, and the profiler viewer draws its bars and labels
// over a recorded profile. The frames are left in <build>/screen-shots/ to
// look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../../bench/HeadlessGL.h"
#include "../../bench/ScreenScenes.h"
#include "framework/Progress.h"
#include "networking/Match.h"
#include "platform/graphics/SheetData.h"
#include "platform/graphics/Texture.h"
#include "screens/PlayCounter.h"
#include "screens/PlayHud.h"
#include "screens/ResultCard.h"
#include "support/PngFile.h"

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
        testsupport::WritePng(dir / (level + ".png"), width, height, 4, rgba.data());
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

// The relative luminance of a pixel (sRGB made linear, weighted as the eye
// sees it), 0 for black to 1 for white.
double Luminance(const Rgb& c) {
    auto linear = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

// The luminances of a rectangle of a frame, sorted.
std::vector<double> Luminances(const std::vector<std::uint8_t>& rgba, int width, int x0, int y0, int x1, int y1) {
    std::vector<double> l;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x) * 4;
            l.push_back(Luminance({rgba[i], rgba[i + 1], rgba[i + 2]}));
        }
    std::sort(l.begin(), l.end());
    return l;
}
double Share(const std::vector<double>& sorted, double share) {
    return sorted[static_cast<std::size_t>(share * static_cast<double>(sorted.size() - 1))];
}

// The single-play counter in the view's top corner reads over every level:
// measured on the picture, its lettering stands out from what lies around it
// at least as far as the common rule for small text asks (4.5 to 1), and it
// draws something there that the level alone does not.
TEST_F(ScreenPicturesTest, TheCounterReadsOverEveryLevelsBackdrop) {
    const ObjectData::PlayCounter::Place p = ObjectData::PlayCounter::PanelPlace(kAspect);
    const int x0 = static_cast<int>((p.x - p.width / 2.0f + kAspect / 2.0f) * kHeight) + 6;
    const int x1 = static_cast<int>((p.x + p.width / 2.0f + kAspect / 2.0f) * kHeight) - 6;
    const int y0 = static_cast<int>((0.5f - p.y - p.height / 2.0f) * kHeight) + 6;
    const int y1 = static_cast<int>((0.5f - p.y + p.height / 2.0f) * kHeight) - 6;
    ASSERT_GT(x1 - x0, 100);
    ASSERT_GT(y1 - y0, 20);
    const Progress::Record kept = Progress::Current();
    std::vector<std::uint8_t> on, off;
    // Measures the counter over what the level shows now.
    auto measure = [&](State* level, const std::string& where) {
        Progress::Current().showCounter = true;
        LevelStarts::Run(level, 1);
        ASSERT_TRUE(screens.Read(on));
        Progress::Current().showCounter = false;
        LevelStarts::Run(level, 1);
        ASSERT_TRUE(screens.Read(off));
        const std::vector<double> with = Luminances(on, kWidth, x0, y0, x1, y1);
        const std::vector<double> without = Luminances(off, kWidth, x0, y0, x1, y1);
        // The letters are the brightest few of the counter's pixels, its
        // plate and the letters' outline the most of them.
        const double letters = Share(with, 0.97), ground = Share(with, 0.5);
        const double contrast = (letters + 0.05) / (ground + 0.05);
        std::printf("%-20s letters %.3f  around them %.3f  contrast %4.1f:1  the level alone %.3f to %.3f\n",
                    where.c_str(), letters, ground, contrast, Share(without, 0.5), Share(without, 0.97));
        EXPECT_GE(contrast, 4.5) << where;
        EXPECT_GT(letters, 0.6) << where << ": light letters";
        int changed = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const std::size_t i = (static_cast<std::size_t>(y) * kWidth + x) * 4;
                changed += std::abs(on[i] - off[i]) + std::abs(on[i + 1] - off[i + 1]) > 40 ? 1 : 0;
            }
        EXPECT_GT(changed, (x1 - x0) * (y1 - y0) / 20) << where << ": the counter shows";
    };
    for (int index = 0; index < static_cast<int>(BuiltInLevelNames.size()); ++index) {
        const std::string name = BuiltInLevelNames[static_cast<std::size_t>(index)];
        CurrentLevelIndex = index;
        State* level = screens.Open("SinglePlayer");
        LevelStarts::Run(level, 40);  // the fade in has ended
        measure(level, name);
        // Where the level ends: the camera follows the player to the goal.
        Entity* player = level->GetLevel()->GetMyObject("Player_0");
        for (Object* object : level->Objects())
            if (object->GetType() == "LevelGoal" && player != nullptr) {
                D3DXVECTOR3& at = *FindVariable<D3DXVECTOR3>(player, enum_position);
                at = *FindVariable<D3DXVECTOR3>(object, enum_position);
                at.x -= 3.0f;
            }
        LevelStarts::Run(level, 60);
        measure(level, name + " goal");
        LevelStarts::Close(level);
    }
    Progress::Current() = kept;
    CurrentLevelIndex = 0;
}

// The card after a level, over the level: its title, its lines in light
// letters, and the gold "new best!" where the run broke a record.
TEST_F(ScreenPicturesTest, TheResultCardLettersItsLinesAndItsNewBest) {
    const Progress::Record kept = Progress::Current();
    Progress::Current() = Progress::Record{};
    Progress::Current().levels[0] = {true, true, 5000, 0, 0, 9};
    CurrentLevelIndex = 0;
    const std::string why = screens.Shoot("SinglePlayer", rgba, 60, kWidth, kHeight, [](State* state, int frame) {
        if (frame != 20) return;
        Entity* goal = nullptr;
        for (Object* object : state->Objects())
            if (object->GetType() == "LevelGoal") goal = object;
        Progress::Run run;
        run.frames = 4000;  // faster: a new best time
        run.deaths = 9;     // as many deaths: no new best there
        ObjectData::ResultCard::Show(state, goal, 0, run);
    });
    ASSERT_EQ(why, "");
    Progress::Current() = kept;
    const std::filesystem::path dir = std::filesystem::path(GF_BINARY_DIR) / "screen-shots";
    testsupport::WritePng(dir / "ResultCard.png", kWidth, kHeight, 4, rgba.data());
    // The card covers the middle of the view in its deep night colour.
    EXPECT_GT(Count(420, 250, 860, 470, [](const Rgb& c) { return c.b > c.r + 20 && c.r + c.g + c.b < 200; }), 30000);
    EXPECT_GT(Count(440, 130, 840, 200, Bright), 300) << "the level's name";
    EXPECT_GT(Count(360, 250, 720, 420, Bright), 800) << "the lines and their values";
    // Gold: red and green high, blue low; on the time's line only.
    auto gold = [](const Rgb& c) { return c.r > 200 && c.g > 160 && c.b < 120; };
    EXPECT_GT(Count(730, 255, 900, 290, gold), 60) << "new best beside the time";
    EXPECT_EQ(Count(730, 385, 900, 420, gold), 0) << "none beside the deaths";
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

// The menus' backdrops are drawn whole: the main menu and the pause menu
// over a play level, drawn headless through the real renderer, show no step
// between the two columns either side of the window's middle, where a
// backdrop drawn over only one half (or a layer of another size read as if it
// were the window's) would leave one.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "../../bench/HeadlessGL.h"
#include "../../bench/Scenes.h"
#include "screens/PlayLevel.h"

namespace {

using namespace scenes;

// Rows whose two middle pixels differ by more than a smooth picture's
// neighbours do, and the rows compared.
struct Seam {
    int steps = 0;
    int rows = 0;
};

Seam MiddleSteps(const std::vector<std::uint8_t>& rgba) {
    Seam seam;
    const int left = kWidth / 2 - 1, right = kWidth / 2;
    for (int y = 0; y < kHeight; ++y) {
        const std::size_t a = (static_cast<std::size_t>(y) * kWidth + left) * 4;
        const std::size_t b = (static_cast<std::size_t>(y) * kWidth + right) * 4;
        int difference = 0;
        for (int c = 0; c < 3; ++c) difference += std::abs(int{rgba[a + c]} - int{rgba[b + c]});
        seam.steps += difference > 12 ? 1 : 0;
        ++seam.rows;
    }
    return seam;
}

class BackdropSeamTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gl.Open(graphicsEngine, kWidth, kHeight, true)); }
    void TearDown() override {
        graphicsEngine.FreeTextures();
        FreeSheetData();
        graphicsEngine.ReleaseDevice();
    }
    HeadlessGL gl;
};

TEST_F(BackdropSeamTest, MenusShowNoStepAtTheWindowsMiddle) {
    struct Case {
        const char* level;
        bool pause;  // a play level with its pause menu open over it
    };
    const Case cases[] = {{"MainMenu", false}, {"SinglePlayer", true}};
    LevelStarts shots;
    std::vector<std::uint8_t> rgba;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pause ? "pause menu" : c.level);
        CurrentLevelIndex = 0;
        State* state = shots.Open(c.level);
        LevelStarts::Run(state, c.pause ? 90 : 60);
        if (c.pause && state->GetLevel() != nullptr) {
            PlayLevel::OpenPauseMenu(state->GetLevel());
            LevelStarts::Run(state, 20);
        }
        const bool shown = state->GetLevelName() == c.level && shots.Read(rgba);
        LevelStarts::Close(state);
        ASSERT_TRUE(shown);
        // Buttons, letters and the pointer (at the middle) make a few rows
        // step; a half drawn apart makes most of them step.
        const Seam seam = MiddleSteps(rgba);
        EXPECT_LT(seam.steps, seam.rows / 4) << seam.steps << " of " << seam.rows << " rows step at the middle";
    }
}

}  // namespace

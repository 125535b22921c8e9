// The options and customisation screens: what they build, the name kept
// within what the save file keeps, and (with the real sliders, text box and
// menu buttons) what the player's dragging, typing and clicking sets.
#include <gtest/gtest.h>

#include "framework/GameVariables.h"
#include "framework/SaveFile.h"
#include "screens/Customize.h"
#include "screens/Options.h"
#include "screens/ScreenWorld.h"

using namespace screentest;

namespace {

TEST(NameLimitTest, CharactersTypedPastTheLimitAreTakenOutAtTheCaret) {
    using LevelData::Customize::LimitName;
    const std::string full(kSavedNameLength, 'a');
    struct Case {
        std::string text;
        std::int32_t caret;
        std::string kept;
        std::int32_t caretAfter;
    } cases[] = {
        {full, 127, full, 127},                                  // at the limit: unchanged
        {full + "b", 128, full, 127},                            // one typed at the end
        {full + "bc", 129, full, 127},                           // two in one frame
        {"x" + full, 1, full, 0},                                // typed at the front
        {std::string(60, 'a') + "z" + std::string(67, 'a'), 61, full, 60},  // typed in the middle
        {full + "b", -1, full, -1},                              // no caret: the end goes
        {"", 0, "", 0},
    };
    for (Case& c : cases) {
        std::string text = c.text;
        std::int32_t caret = c.caret;
        LimitName(text, caret);
        EXPECT_EQ(text, c.kept) << c.text.size() << " at " << c.caret;
        EXPECT_EQ(caret, c.caretAfter) << c.text.size() << " at " << c.caret;
    }
}

class SettingsScreensTest : public ScreenWorld {};

TEST_F(SettingsScreensTest, OptionsMarksItselfAsTheWayBackAndLabelsItsVolumes) {
    GameVars().backToWhere = "Lobby";
    Open("Options");
    ASSERT_EQ(LevelName(), "Options");
    EXPECT_EQ(GameVars().backToWhere, "Options");
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]->text, "#0xC4BDAD#BGM Volume");
    EXPECT_EQ(texts[1]->text, "#0xC4BDAD#SFX Volume");
    EXPECT_EQ(Backgrounds(), (std::vector<std::string>{"BACK Main Menu", "nightSky"}));
}

TEST_F(SettingsScreensTest, TheBackKeyLeavesBothSettingsScreensForTheMainMenu) {
    for (const char* level : {"Options", "Customize"}) {
        Open(level);
        ASSERT_EQ(LevelName(), level);
        Key(SDL_SCANCODE_ESCAPE, true);
        Frame();
        EXPECT_EQ(LevelName(), "MainMenu") << level;
        Key(SDL_SCANCODE_ESCAPE, false);
        Frame();
    }
}

TEST_F(SettingsScreensTest, CustomizeLabelsItsControls) {
    Open("Customize");
    ASSERT_EQ(LevelName(), "Customize");
    const auto texts = Texts();
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts[texts.size() - 4]->text, "#0xFFFFFF60#Character Name:");
    EXPECT_EQ(texts[texts.size() - 1]->text, "#0x0000FF60#Blue:");
    EXPECT_FLOAT_EQ(texts[texts.size() - 1]->settings.y, -0.81f);
}

}  // namespace

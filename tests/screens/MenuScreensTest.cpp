// The picture screens and the results screens as a player meets them: built
// by the real level types, left by real key, mouse and remote input.
#include <gtest/gtest.h>

#include <cstdint>

#include "framework/GameVariables.h"
#include "platform/input/InputHooks.h"
#include "screens/Credits.h"
#include "screens/GameResults.h"
#include "screens/ScreenWorld.h"
#include "screens/Transition.h"

using namespace screentest;

namespace {

// ---- The back step --------------------------------------------------------

class BackStepTest : public ScreenWorld, public ::testing::WithParamInterface<const char*> {};

TEST_P(BackStepTest, TheBackKeyLeavesForTheMainMenuAtOnce) {
    Open(GetParam());
    ASSERT_EQ(LevelName(), GetParam());
    for (int i = 0; i < 3; ++i) Frame();
    EXPECT_EQ(LevelName(), GetParam()) << "nothing pressed: the screen stays";
    Key(SDL_SCANCODE_ESCAPE, true);
    Frame();
    EXPECT_EQ(LevelName(), "MainMenu") << "the same frame, no fade first";
}

TEST_P(BackStepTest, OtherKeysDoNotLeave) {
    Open(GetParam());
    for (SDL_Scancode key : {SDL_SCANCODE_RETURN, SDL_SCANCODE_SPACE, SDL_SCANCODE_B}) {
        Key(key, true);
        Frame();
        Key(key, false);
        Frame();
    }
    EXPECT_EQ(LevelName(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Screens, BackStepTest, ::testing::Values("Credits", "CreditsScreen", "HowToPlayScreen"));

// ---- What the picture screens build -----------------------------------------

class PictureScreensTest : public ScreenWorld {
protected:
    // The texts in the ownership line's colour (the button's label is another text).
    std::vector<ObjectData::Text::Variables*> OwnershipLines() const {
        std::vector<ObjectData::Text::Variables*> lines;
        for (auto* text : Texts())
            if (text->text.rfind("#0x888788FF#", 0) == 0) lines.push_back(text);
        return lines;
    }
};

TEST_F(PictureScreensTest, CreditsShowsTheSkyThePictureAndTheOwnershipLineAndFadesIn) {
    Open("Credits");
    EXPECT_EQ(Backgrounds(), (std::vector<std::string>{"nightSky", "BACK-Credits"}));
    auto& v = VariablesOf<LevelData::Credits::Variables>(state->GetLevel());
    ASSERT_NE(v.background2, nullptr);
    EXPECT_EQ(*FindVariable<float>(v.background2, enum_z), -1.0f) << "the sky stands behind the picture";
    const auto lines = OwnershipLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_GT(lines[0]->text.size(), 20u);
    EXPECT_EQ(lines[0]->settings.hAlign, 1);
    EXPECT_EQ(lines[0]->settings.y, -0.46f);
    const auto fades = OfType("Transition");
    ASSERT_EQ(fades.size(), 1u);
    EXPECT_GT(VariablesOf<ObjectData::Transition::Variables>(fades[0]).counter, 0) << "the screen fades in";
}

TEST_F(PictureScreensTest, TheSecondCreditsScreenHasNoOwnershipLineAndHowToPlayOnlyItsPage) {
    Open("CreditsScreen");
    EXPECT_EQ(Backgrounds(), (std::vector<std::string>{"nightSky", "BACK-Credits"}));
    EXPECT_TRUE(OwnershipLines().empty());
    Open("HowToPlayScreen");
    EXPECT_EQ(Backgrounds(), (std::vector<std::string>{"BACK HowToPlay"}));
    EXPECT_EQ(OfType("Transition").size(), 1u);
}

// ---- The ranking -------------------------------------------------------------

std::array<std::int32_t, 16> Scores(std::initializer_list<std::int32_t> first) {
    std::array<std::int32_t, 16> scores{};
    std::size_t i = 0;
    for (std::int32_t s : first) scores[i++] = s;
    return scores;
}

TEST(RankingTest, HighestFirstAndTiesFollowTheRemainingListsOrder) {
    using LevelData::GameResults::Rank;
    struct Case {
        std::array<std::int32_t, 16> scores;
        std::vector<int> ranking;
    };
    auto scattered = Scores({});
    scattered[3] = 7;
    scattered[15] = -2;  // a negative score still takes part
    scattered[9] = 7;
    const Case cases[] = {
        {Scores({5, 9, 9}), {1, 2, 0}}, {Scores({9, 9, 9, 5}), {0, 1, 2, 3}},
        {Scores({0, 0, 0}), {}},        {Scores({0, 4, 0, 6}), {3, 1}},
        {scattered, {3, 9, 15}},
    };
    for (const Case& c : cases) EXPECT_EQ(Rank(c.scores), c.ranking);
}

TEST(RankingTest, RankLabelsReadOrdinalsUpToSixteen) {
    using LevelData::GameResults::RankLabel;
    const char* expected[] = {"1st: ", "2nd: ",  "3rd: ",  "4th: ",  "5th: ",  "6th: ",  "7th: ",  "8th: ",
                              "9th: ", "10th: ", "11th: ", "12th: ", "13th: ", "14th: ", "15th: ", "16th: "};
    for (int r = 1; r <= 16; ++r) EXPECT_EQ(RankLabel(r), expected[r - 1]);
}

// ---- The results screens --------------------------------------------------

class ResultsTest : public ScreenWorld {
protected:
    void SetUp() override {
        ScreenWorld::SetUp();
        remote = 0;
        inputHooks.remoteButtons = [] { return remote; };
    }
    static inline std::uint16_t remote = 0;
};

TEST_F(ResultsTest, GameResultsListsThePlayersWhoScoredInTheirColoursOpaque) {
    auto& game = GameVars();
    const char* names[] = {"Ann", "Bo", "Cy"};
    const std::int32_t scores[] = {5, 9, 9};
    const std::uint32_t colours[] = {0x00FF0000u, 0x8000FF00u, 0xFF0000FFu};
    for (int i = 0; i < 3; ++i) {
        game.playerNames[i] = names[i];
        game.playerScores[i] = scores[i];
        game.playerColors[i] = static_cast<std::int32_t>(colours[i]);
    }
    Open("GameResults");
    EXPECT_EQ(Backgrounds(), (std::vector<std::string>{"nightSky"}));
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0]->text, "Player Ranking:");
    EXPECT_EQ(texts[0]->settings.primaryColor, 0xFFC4BCACu);
    EXPECT_EQ(texts[1]->text, "1st: Bo (9)\n");
    EXPECT_EQ(texts[2]->text, "2nd: Cy (9)\n");
    EXPECT_EQ(texts[3]->text, "3rd: Ann (5)\n");
    EXPECT_EQ(texts[1]->settings.primaryColor, 0xFF00FF00u);
    EXPECT_EQ(texts[2]->settings.primaryColor, 0xFF0000FFu);
    EXPECT_EQ(texts[3]->settings.primaryColor, 0xFFFF0000u) << "alpha 0 is drawn opaque";
    EXPECT_FLOAT_EQ(texts[1]->settings.charHeight, 0.15f);
    EXPECT_FLOAT_EQ(texts[1]->settings.y, -0.2f);
    EXPECT_FLOAT_EQ(texts[2]->settings.charHeight, 0.0975f);
    EXPECT_FLOAT_EQ(texts[2]->settings.y, -0.12f);
}

TEST_F(ResultsTest, AMatchWithoutScoresShowsOnlyTheTitle) {
    Open("GameResults");
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]->text, "Player Ranking:");
}

TEST_F(ResultsTest, SinglePlayerResultsShowTheCongratulationAndTheStory) {
    Open("SPResults");
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]->text, "Congratulations\nYou Win!");
    EXPECT_NE(texts[1]->text.find("former glory.  Awesome!"), std::string::npos);
    EXPECT_EQ(texts[1]->settings.vAlign, 1);
    EXPECT_FLOAT_EQ(texts[1]->settings.width, 1.5f);
}

class ResultsLeaveTest : public ResultsTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ResultsLeaveTest, AKeyHeldFromBeforeDoesNotLeaveANewPressDoes) {
    Key(SDL_SCANCODE_SPACE, true);  // still held as the last level ends
    Frame();
    Open(GetParam());
    for (int i = 0; i < 5; ++i) Frame();
    EXPECT_EQ(LevelName(), GetParam());
    Key(SDL_SCANCODE_SPACE, false);
    Frame();
    EXPECT_EQ(LevelName(), GetParam()) << "letting go is no press";
    Key(SDL_SCANCODE_SPACE, true);
    Frame();
    Frame();  // the switch happens at the end of the frame that asked
    EXPECT_EQ(LevelName(), "MainMenu");
}

TEST_P(ResultsLeaveTest, ANewKeyWhileAnotherIsHeldLeaves) {
    Key(SDL_SCANCODE_RIGHT, true);
    Frame();
    Open(GetParam());
    Frame();
    Key(SDL_SCANCODE_A, true);
    Frame();
    Frame();
    EXPECT_EQ(LevelName(), "MainMenu");
}

TEST_P(ResultsLeaveTest, AMouseClickLeaves) {
    Open(GetParam());
    Frame();
    LeftButton(true);
    Frame();
    Frame();
    EXPECT_EQ(LevelName(), "MainMenu");
}

TEST_P(ResultsLeaveTest, ARemoteButtonHeldFromBeforeDoesNotLeaveANewPressDoes) {
    remote = 0x0800;  // A, held as the screen opens
    Frame();
    Open(GetParam());
    for (int i = 0; i < 5; ++i) Frame();
    EXPECT_EQ(LevelName(), GetParam());
    remote = 0;
    Frame();
    remote = 0x0800;
    Frame();
    Frame();
    EXPECT_EQ(LevelName(), "MainMenu");
}

INSTANTIATE_TEST_SUITE_P(Screens, ResultsLeaveTest, ::testing::Values("GameResults", "SPResults"));

}  // namespace

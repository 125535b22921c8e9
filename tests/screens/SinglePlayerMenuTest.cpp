// The single-play screen through real key and pointer events: Continue
// plays the first level not finished, New Game the first, a reached level's
// line plays it, a level not reached has no line to choose; each line shows
// the level's records.
#include <gtest/gtest.h>

#include <algorithm>

#include "framework/GameVariables.h"
#include "framework/Progress.h"
#include "networking/Match.h"
#include "screens/PlayHud.h"
#include "screens/ScreenWorld.h"
#include "screens/SinglePlayerMenu.h"

using namespace screentest;

namespace {

class SinglePlayerMenuTest : public ScreenWorld {
protected:
    void SetUp() override {
        ScreenWorld::SetUp();
        Stub("SinglePlayer");
        Progress::Load();
        CurrentLevelIndex = -1;
        LevelOrder.clear();
    }
    void TearDown() override {
        LevelOrder.clear();
        LevelOrderNumbers.clear();
        CurrentLevelIndex = 0;
        ScreenWorld::TearDown();
        Progress::Current() = Progress::Record{};
    }

    // Three levels finished, the fourth reached.
    static void ThreeFinished() {
        Progress::Record& r = Progress::Current();
        r = Progress::Record{};
        r.levels[0] = {true, true, 2534, 3, 12, 0};
        r.levels[1] = {true, true, 3001, 1, 4, 2};
        r.levels[2] = {true, true, 61, 0, 0, 9};
        r.levels[3].reached = true;
    }

    Entity* Named(const std::string& name) const { return state->GetLevel()->GetMyObject(name.c_str()); }
    D3DXVECTOR3 At(const std::string& name) const { return *FindVariable<D3DXVECTOR3>(Named(name), enum_position); }
    bool HasText(const std::string& words) const {
        const auto texts = Texts();
        return std::any_of(texts.begin(), texts.end(),
                           [&](const auto* t) { return t->text.find(words) != std::string::npos; });
    }
    int CountText(const std::string& words) const {
        int n = 0;
        for (const auto* t : Texts()) n += t->text.find(words) != std::string::npos ? 1 : 0;
        return n;
    }
    void Tap(SDL_Scancode key) {
        Key(key, true);
        Frame();
        Key(key, false);
        Frame();
    }
    // Where play went once the fade has ended.
    void AfterTheFade() { Frames(40); }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }
};

TEST_F(SinglePlayerMenuTest, EveryLevelIsListedWithItsRecordsAndOnlyTheReachedOnesHaveALineToChoose) {
    ThreeFinished();
    Open("SinglePlayerMenu");
    ASSERT_EQ(LevelName(), "SinglePlayerMenu");
    for (int n = 1; n <= 13; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(Named("Level_" + std::to_string(n)) != nullptr, n <= 4);
        EXPECT_TRUE(HasText(std::to_string(n) + ".  " + PlayHud::LevelTitle(n - 1)));
    }
    const PlayHud::Totals first = PlayHud::LevelTotals(0);
    ASSERT_GT(first.shards, 0);
    EXPECT_TRUE(HasText("0:42.23   shards 3/" + std::to_string(first.shards) + "   fireflies 12/" +
                        std::to_string(first.fireflies) + "   deaths 0"));
    EXPECT_TRUE(HasText("0:01.01"));
    EXPECT_EQ(CountText("not finished yet"), 1);
    EXPECT_EQ(CountText("not reached yet"), 9);
    EXPECT_TRUE(HasText("Level 4: Grass Level 4")) << "what Continue plays";
    for (const char* name : {LevelData::SinglePlayerMenu::kContinue, LevelData::SinglePlayerMenu::kNewGame,
                             LevelData::SinglePlayerMenu::kBack})
        EXPECT_NE(Named(name), nullptr) << name;
}

TEST_F(SinglePlayerMenuTest, ContinuePlaysTheFirstLevelNotFinished) {
    ThreeFinished();
    Open("SinglePlayerMenu");
    Frames(5);
    Tap(SDL_SCANCODE_RETURN);
    Frames(5);
    EXPECT_EQ(LevelName(), "SinglePlayerMenu") << "nothing is focused yet";
    Tap(SDL_SCANCODE_DOWN);  // the focus comes to the first button, Continue
    Tap(SDL_SCANCODE_RETURN);
    AfterTheFade();
    EXPECT_EQ(LevelName(), "SinglePlayer");
    EXPECT_EQ(CurrentLevelIndex, 3);
    ASSERT_EQ(LevelOrder.size(), 13u);
    EXPECT_EQ(LevelOrder.front(), "GrassLevel01");
}

TEST_F(SinglePlayerMenuTest, TheArrowsLeadToNewGameWhichStartsAtTheFirstLevel) {
    ThreeFinished();
    Open("SinglePlayerMenu");
    Frames(5);
    Tap(SDL_SCANCODE_DOWN);
    Tap(SDL_SCANCODE_DOWN);
    Tap(SDL_SCANCODE_RETURN);
    AfterTheFade();
    EXPECT_EQ(LevelName(), "SinglePlayer");
    EXPECT_EQ(CurrentLevelIndex, 0);
    EXPECT_TRUE(Progress::Current().levels[2].finished) << "a new game keeps the records";
}

TEST_F(SinglePlayerMenuTest, ThePointerChoosesAReachedLevelAndFindsNothingToChooseOnALevelNotReached) {
    ThreeFinished();
    Open("SinglePlayerMenu");
    Frames(5);
    // Level 6 is not reached: its line takes no click.
    const D3DXVECTOR3 second = At("Level_2");
    const float sixthY = second.y - 4.0f * (At("Level_1").y - second.y);
    Click(second.x, sixthY);
    AfterTheFade();
    EXPECT_EQ(LevelName(), "SinglePlayerMenu");
    EXPECT_EQ(CurrentLevelIndex, -1);
    Click(second.x, second.y);
    AfterTheFade();
    EXPECT_EQ(LevelName(), "SinglePlayer");
    EXPECT_EQ(CurrentLevelIndex, 1);
}

TEST_F(SinglePlayerMenuTest, WithNothingReachedOnlyTheFirstLevelCanBeChosen) {
    Open("SinglePlayerMenu");
    EXPECT_NE(Named("Level_1"), nullptr);
    EXPECT_EQ(Named("Level_2"), nullptr);
    EXPECT_EQ(CountText("not reached yet"), 12);
    EXPECT_TRUE(HasText("Level 1: Grass Level 1"));
    Frames(5);
    Tap(SDL_SCANCODE_DOWN);
    Tap(SDL_SCANCODE_RETURN);
    AfterTheFade();
    EXPECT_EQ(LevelName(), "SinglePlayer");
    EXPECT_EQ(CurrentLevelIndex, 0);
}

TEST_F(SinglePlayerMenuTest, BackAndMainMenuReturnToTheMainMenu) {
    Open("SinglePlayerMenu");
    Key(SDL_SCANCODE_ESCAPE, true);
    Frame();
    EXPECT_EQ(LevelName(), "MainMenu") << "the back input leaves at once";
    Key(SDL_SCANCODE_ESCAPE, false);
    Frame();
    Open("SinglePlayerMenu");
    Frames(5);
    const D3DXVECTOR3 back = At(LevelData::SinglePlayerMenu::kBack);
    Click(back.x, back.y);
    AfterTheFade();
    EXPECT_EQ(LevelName(), "MainMenu");
}

}  // namespace

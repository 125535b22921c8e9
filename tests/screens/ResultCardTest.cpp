// The card after a single-play level: after the kept run of the first level
// it shows what that run did (time, shards, fireflies, deaths, as the test
// counts them itself), keeps it in the progress, and a faster replay of the
// same run shows a new best time and nothing else new. Its choices are made
// with real keys through the input layer; controls held from the run choose
// nothing, and left alone the card carries play on after six seconds.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "LevelRuns.h"
#include "PlayWorld.h"
#include "framework/Progress.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/input/InputFixture.h"
#include "screens/ResultCard.h"
#include "support/TempUserFolder.h"
#include "widgets/WidgetSupport.h"

using namespace playtest;
using ObjectData::ResultCard::Choice;

namespace {

GameArea TestArea() { return GameArea{0, 0, 1280, 720, 1280.0f / 720.0f, 720}; }

// What the test saw of a run: frames from the level's start to the goal's
// touch, and the pick-ups' and deaths' sounds and counts.
struct Seen {
    int frames = 0, shards = 0, fireflies = 0, deaths = 0;
    int shardsThere = 0, firefliesThere = 0;  // the level's own, as it starts
};

class ResultCardTest : public PlayWorld {
protected:
    void SetUp() override {
        PlayWorld::SetUp();
        inputtest::StartDevices();
        savedArea = GraphicsEngine::currentGameArea;
        GraphicsEngine::currentGameArea = &TestArea;
        Progress::Load();
    }
    void TearDown() override {
        PlayWorld::TearDown();
        GraphicsEngine::currentGameArea = savedArea;
        inputtest::StopDevices();
        Progress::Current() = Progress::Record{};
    }

    // A game frame with the input layer's poll and hand-over first.
    void Step() {
        inputtest::PollAndFrame();
        Frame();
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) Step();
    }
    void Tap(SDL_Scancode key) {
        inputtest::Key(key, true);
        Step();
        inputtest::Key(key, false);
        Step();
    }

    Entity* Card() const {
        return state->GetLevel() != nullptr ? state->GetLevel()->GetMyObject("ResultCard") : nullptr;
    }
    ObjectData::ResultCard::Variables& CardVars() const { return *ObjectData::ResultCard::Find(Card()); }
    // Frames until the card is up (at most limit).
    bool AwaitCard(int limit = 200) {
        for (int i = 0; i < limit && Card() == nullptr; ++i) Step();
        return Card() != nullptr;
    }

    // Plays run on the level on show (no frame of it run yet) after `idle`
    // frames of standing still, counting what happens itself.
    Seen Play(const InputRun& run, int idle) {
        objtest::Recorded().sounds.clear();
        Seen seen;
        seen.shardsThere = static_cast<int>(OfType("MoonShard").size());
        seen.firefliesThere = static_cast<int>(OfType("Firefly").size());
        Entity* player = Player();
        EXPECT_NE(player, nullptr);
        if (player == nullptr) return seen;
        ObjectData::Player::Variables& v = ObjectData::Player::Vars(player);
        const std::int32_t scoreBefore = v.score;
        std::int32_t lastDelay = 0;
        InputRun all(static_cast<std::size_t>(idle), 0);
        all.insert(all.end(), run.begin(), run.end());
        for (std::uint8_t bits : all) {
            HoldControls(bits);
            Step();
            ++seen.frames;
            if (v.deathDelay > 0 && lastDelay == 0) ++seen.deaths;
            lastDelay = v.deathDelay;
            if (v.score >= scoreBefore + GameVars().SCORE_GOAL) break;
        }
        objtest::Held().keys.clear();
        seen.shards = objtest::Recorded().SoundCount(MOONSHARD_COLLECT);
        seen.fireflies = objtest::Recorded().SoundCount(FIREFLY_COLLECT);
        return seen;
    }

    static InputRun KeptRun() {
        std::ifstream in(std::string(GF_SOURCE_DIR) + "/tests/screens/levelruns/GrassLevel01.txt");
        std::stringstream text;
        text << in.rdbuf();
        InputRun run;
        EXPECT_TRUE(RunFromText(text.str(), run));
        return run;
    }

    // Puts the player on the level's goal.
    void ToTheGoal() {
        const std::vector<Object*> goals = OfType("LevelGoal");
        ASSERT_FALSE(goals.empty());
        ObjectData::Player::Vars(Player()).position = *FindVariable<D3DXVECTOR3>(goals.front(), enum_position);
    }
    // The level of index, built, and its first frame run.
    void Start(int index) {
        CurrentLevelIndex = index;
        state = NewState("SinglePlayer");
        Step();
    }
    // Steps until the fade has started the level again (at the end of a
    // frame: the new level has run no frame yet).
    bool AwaitRestart() {
        const Level* old = state->GetLevel();
        for (int i = 0; i < 100; ++i) {
            Step();
            if (state->GetLevel() != old) return true;
        }
        return false;
    }

    TempUserFolder folder;
    GameArea (*savedArea)() = nullptr;
};

TEST_F(ResultCardTest, TheCardShowsWhatTheKeptRunDidAndAFasterReplayShowsANewBestTime) {
    const InputRun run = KeptRun();
    ASSERT_FALSE(run.empty());
    CurrentLevelIndex = 0;
    state = NewState("SinglePlayer");
    const Seen slow = Play(run, 60);
    ASSERT_GT(slow.shards + slow.fireflies, 0) << "the run gathers something";
    EXPECT_EQ(Card(), nullptr) << "the card waits for the goal's count-down";
    ASSERT_TRUE(AwaitCard());
    {
        const auto& c = CardVars();
        EXPECT_EQ(c.level, 0);
        EXPECT_EQ(c.run.frames, slow.frames);
        EXPECT_EQ(c.run.shards, slow.shards);
        EXPECT_EQ(c.run.fireflies, slow.fireflies);
        EXPECT_EQ(c.run.deaths, slow.deaths);
        EXPECT_EQ(c.run.shardsTotal, slow.shardsThere);
        EXPECT_EQ(c.run.firefliesTotal, slow.firefliesThere) << "not the fireflies the finished player bursts into";
        EXPECT_FALSE(c.bests.Any()) << "a first finish has nothing to beat";
    }
    // Kept in the progress file at once.
    Progress::Record kept;
    ASSERT_TRUE(Progress::Load());
    kept = Progress::Current();
    EXPECT_EQ(kept.levels[0],
              (Progress::LevelRecord{true, true, slow.frames, slow.shards, slow.fireflies, slow.deaths}));
    EXPECT_TRUE(kept.levels[1].reached);

    // Retry, through the keys: a first direction focuses Next Level, the
    // second moves on to Retry.
    Tap(SDL_SCANCODE_RIGHT);
    Tap(SDL_SCANCODE_RIGHT);
    Tap(SDL_SCANCODE_RETURN);
    EXPECT_EQ(CardVars().chosen, Choice::Retry);
    ASSERT_TRUE(AwaitRestart());
    EXPECT_EQ(state->GetLevelName(), "SinglePlayer");
    EXPECT_EQ(CurrentLevelIndex, 0) << "the same level again";
    ASSERT_EQ(Card(), nullptr);

    const Seen fast = Play(run, 0);
    EXPECT_LT(fast.frames, slow.frames);
    ASSERT_TRUE(AwaitCard());
    const auto& c = CardVars();
    EXPECT_EQ(c.run.frames, fast.frames);
    EXPECT_TRUE(c.bests.time) << "the faster replay's time is a new best";
    EXPECT_FALSE(c.bests.shards);
    EXPECT_FALSE(c.bests.fireflies);
    EXPECT_FALSE(c.bests.deaths);
    EXPECT_EQ(c.before.bestFrames, slow.frames) << "the card knows the record it beat";
    EXPECT_EQ(Progress::Current().levels[0].bestFrames, fast.frames);

    // Main Menu, two to the right of Next Level.
    for (int i = 0; i < 3; ++i) Tap(SDL_SCANCODE_RIGHT);
    Tap(SDL_SCANCODE_RETURN);
    Steps(40);
    EXPECT_EQ(state->GetLevelName(), "MainMenu");
}

TEST_F(ResultCardTest, ControlsHeldFromTheRunChooseNothingAndLeftAloneTheCardCarriesOn) {
    Start(0);
    ToTheGoal();
    // The player holds jump (which also selects) and right through the finish.
    inputtest::Key(SDL_SCANCODE_SPACE, true);
    inputtest::Key(SDL_SCANCODE_RIGHT, true);
    ASSERT_TRUE(AwaitCard());
    Steps(100);
    EXPECT_EQ(CardVars().chosen, Choice::None) << "a held select chooses nothing";
    EXPECT_NE(Widgets::FocusedWidget(Card()), state->GetLevel()->GetMyObject("CardRetry"))
        << "a held direction moves nothing";
    inputtest::Key(SDL_SCANCODE_SPACE, false);
    inputtest::Key(SDL_SCANCODE_RIGHT, false);
    Step();
    EXPECT_FALSE(CardVars().touched);
    const int shown = CardVars().counter;
    Steps(ObjectData::ResultCard::kWaitFrames - shown - 2);
    EXPECT_EQ(CardVars().chosen, Choice::None);
    Steps(4);
    EXPECT_EQ(CardVars().chosen, Choice::Next) << "six seconds untouched";
    Steps(40);
    EXPECT_EQ(state->GetLevelName(), "SinglePlayer");
    EXPECT_EQ(CurrentLevelIndex, 1) << "on to the next level, as the goal carries play on";
}

TEST_F(ResultCardTest, APlayerWhoMovesTheFocusIsWaitedForAndSelectChoosesTheFocusedButton) {
    Start(3);
    ToTheGoal();
    ASSERT_TRUE(AwaitCard());
    Step();
    Tap(SDL_SCANCODE_RIGHT);
    EXPECT_EQ(Widgets::FocusedWidget(Card()), state->GetLevel()->GetMyObject("CardNext"));
    Steps(ObjectData::ResultCard::kWaitFrames + 60);
    EXPECT_EQ(CardVars().chosen, Choice::None) << "choosing takes its time";
    Tap(SDL_SCANCODE_RETURN);
    EXPECT_EQ(CardVars().chosen, Choice::Next);
    Steps(40);
    EXPECT_EQ(CurrentLevelIndex, 4);
    EXPECT_TRUE(Progress::Current().levels[3].finished);
    EXPECT_TRUE(Progress::Current().levels[4].reached);
}

TEST_F(ResultCardTest, AfterTheLastLevelASelectGoesOnToTheResults) {
    Start(12);
    ToTheGoal();
    ASSERT_TRUE(AwaitCard());
    Step();
    Tap(SDL_SCANCODE_SPACE);  // nothing focused: a select goes on
    Steps(40);
    EXPECT_EQ(state->GetLevelName(), "SPResults");
    EXPECT_TRUE(Progress::Current().levels[12].finished);
}

}  // namespace

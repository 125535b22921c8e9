// The play-level layout and builder, "SinglePlayer", the fade, the goal and
// the checkpoint, on small grids drawn as text.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>

#include "PlayWorld.h"
#include "objects/Checkpoint.h"
#include "objects/LevelGoal.h"
#include "objects/Player.h"
#include "platform/sound/SoundEngine.h"
#include "screens/ResultCard.h"
#include "support/LevelText.h"

using namespace playtest;

namespace {

class PlayLevelTest : public PlayWorld {
protected:
    // "SinglePlayer" building the grid given instead of a built-in one.
    void Play(const std::vector<std::string>& rows) {
        GameVars().basicLevel = testsupport::LevelFromText(rows);
        CurrentLevelIndex = -1;
        state = NewState("SinglePlayer");
        Frame();
    }
    Entity* Named(const char* name) { return state->GetLevel()->GetMyObject(name); }
    PlayLevel::Variables& LevelVars() { return PlayLevel::Vars(state->GetLevel()); }
};

const std::vector<std::string> kSmall = {
    "%%%%%%%%%%%%%%%%", "%..............%", "%..............%", "%.S..C....G....%", "################",
};

TEST_F(PlayLevelTest, TheBuilderPlacesTheLocalPlayerAndTheGridObjects) {
    for (const char* type : {"Spring", "Firefly", "MoonShard"})
        if (!LevelTemplate::IsRegisteredType(type)) world::RegisterThing(type);
    std::vector<std::string> rows = {
        "%%%%%%%%%%%%%%%%", "%TTTTTTTTTT....%", "%ff...........m%", "%.S..C..B.G....%", "################",
    };
    Play(rows);
    ASSERT_EQ(state->GetLevelName(), "SinglePlayer");
    Entity* player = Player();
    ASSERT_NE(player, nullptr);
    auto& v = ObjectData::Player::Vars(player);
    EXPECT_FLOAT_EQ(v.position.x, 2.5f);
    EXPECT_NEAR(v.position.y, 1.5f, 0.01f);
    EXPECT_FALSE(v.networked) << "a single-player body keeps no network rules";
    EXPECT_EQ(v.nameText, nullptr);
    EXPECT_FLOAT_EQ(GameVars().checkpointPosition.x, 2.5f);
    EXPECT_FLOAT_EQ(GameVars().checkpointPosition.y, 1.5f);
    EXPECT_FLOAT_EQ(GameVars().startPos.x, 2.5f);
    ASSERT_EQ(LevelVars().ObjectList.size(), 1u);
    EXPECT_EQ(LevelVars().ObjectList[0], player);
    EXPECT_EQ(LevelVars().levelName, "SinglePlayer");
    EXPECT_EQ(OfType("LevelGoal").size(), 1u);
    EXPECT_EQ(OfType("Checkpoint").size(), 1u);
    EXPECT_NE(Named("Transit"), nullptr);
    // Ten springs: "S_1" to "S_9", then the character after '9'.
    for (const char* name : {"S_1", "S_5", "S_9", "S_:"}) EXPECT_NE(Named(name), nullptr) << name;
    EXPECT_EQ(Named("S_;"), nullptr);
    EXPECT_NE(Named("f0"), nullptr);
    EXPECT_NE(Named("f1"), nullptr);
    EXPECT_NE(Named("m0"), nullptr);
    const D3DXVECTOR3& spring = Variable<D3DXVECTOR3>(Named("S_1"), enum_position);
    EXPECT_FLOAT_EQ(spring.x, 1.5f);
    EXPECT_FLOAT_EQ(spring.y, 3.5f);
    // Single play makes nothing of a breakable tile; the unregistered bots are skipped.
    EXPECT_EQ(Named("FT1"), nullptr);
    EXPECT_EQ(Named("Wanderer"), nullptr);
    EXPECT_EQ(CurrentLevelName, "");
}

TEST_F(PlayLevelTest, AGridWithoutAStartLeavesThePlayerAtTwoTwo) {
    GameVars().checkpointPosition = {7.0f, 7.0f};
    Play({"%%%%%%", "%..G.%", "######"});
    auto& v = ObjectData::Player::Vars(Player());
    EXPECT_FLOAT_EQ(v.position.x, 2.0f);
    EXPECT_FLOAT_EQ(GameVars().checkpointPosition.x, 7.0f);
    EXPECT_TRUE(LevelVars().ObjectList.empty());
}

TEST_F(PlayLevelTest, ABuiltInGridThatCannotBeLoadedReturnsToTheMainMenuWithNothingBuilt) {
    CurrentLevelIndex = 13;  // past the built-in grids
    state = NewState("SinglePlayer");
    Frame();
    EXPECT_EQ(state->GetLevelName(), "MainMenu");
    EXPECT_TRUE(OfType("LevelGoal").empty());
}

TEST_F(PlayLevelTest, TheLastBuiltInIndexPlaysSpeedyLevel3) {
    CurrentLevelIndex = 12;
    state = NewState("SinglePlayer");
    Frame();
    EXPECT_EQ(CurrentLevelName, "SpeedyLevel3");
    EXPECT_EQ(GameVars().basicLevel.GetWidth(), 32);
    EXPECT_EQ(GameVars().basicLevel.GetHeight(), 200);
}

TEST_F(PlayLevelTest, ThePauseControlOpensAndClosesOnItsPressEdge) {
    PauseHeld() = true;  // still held from the menu
    Play(kSmall);
    Frames(3);
    EXPECT_FALSE(GamePaused) << "a held pause is no new press";
    PauseHeld() = false;
    Frame();
    PauseHeld() = true;
    Frame();
    EXPECT_TRUE(GamePaused);
    EXPECT_TRUE(LevelVars().Paused);
    Frame();
    EXPECT_TRUE(GamePaused) << "holding does not toggle";
    PauseHeld() = false;
    BackHeld() = true;
    Frame();
    EXPECT_FALSE(GamePaused) << "back closes the menu";
    BackHeld() = false;
    Frame();
    BackHeld() = true;
    Frame();
    EXPECT_FALSE(GamePaused) << "back never opens it";

    // With the how-to-play picture up, neither control closes the menu.
    BackHeld() = false;
    PauseHeld() = true;
    Frame();
    ASSERT_TRUE(GamePaused);
    if (!LevelTemplate::IsRegisteredType("Picture")) world::RegisterThing("Picture");
    Object::MakeCopy(state, "Picture", "HTPImage");
    PauseHeld() = false;
    Frame();
    PauseHeld() = true;
    BackHeld() = true;
    Frame();
    EXPECT_TRUE(GamePaused);
    // Leaving the level clears the pause.
    State::SetLevel(state, "MainMenu");
    Frame();
    EXPECT_FALSE(GamePaused);
}

// ---- the pause menu ----

bool& EnterHeld() {
    static bool held = false;
    return held;
}

class PauseMenuTest : public PlayLevelTest {
protected:
    void SetUp() override {
        PlayLevelTest::SetUp();
        EnterHeld() = false;
        // Enter pauses too, but only P (and back) close the open menu.
        PlayLevel::controls.pause = [] { return PauseHeld() || EnterHeld(); };
        Play(kSmall);
        PauseHeld() = false;
        Frame();
    }
    void TearDown() override {
        soundEngine.SetPaused(false);
        PlayLevelTest::TearDown();
    }
    void Press(bool& control) {
        control = true;
        Frame();
        control = false;
        Frame();
    }
    D3DXVECTOR3 PlayerAt() { return ObjectData::Player::Vars(Player()).position; }
};

TEST_F(PauseMenuTest, InTheOpenMenuEnterOnlySelectsAndANewPressOfPauseCloses) {
    Press(PauseHeld());
    ASSERT_TRUE(GamePaused);
    EXPECT_TRUE(soundEngine.GetPaused()) << "the menu pauses the sound";
    for (const char* name : {"ResButton", "MainMButton", "HTOPButton", "Cursor"}) EXPECT_NE(Named(name), nullptr);
    Press(EnterHeld());
    EXPECT_TRUE(GamePaused) << "Enter is the focused button's";
    Press(PauseHeld());
    EXPECT_FALSE(GamePaused);
    EXPECT_FALSE(soundEngine.GetPaused());
    EXPECT_EQ(Named("ResButton"), nullptr);

    // Resumed by the button while Enter is still down: the held Enter does
    // not open the menu again.
    EnterHeld() = true;
    Frame();
    ASSERT_TRUE(GamePaused);
    Entity::_DoEvent("Logic", Named("ResButton"), Named("ResButton"));
    EXPECT_FALSE(GamePaused);
    EXPECT_FALSE(soundEngine.GetPaused());
    Frames(3);
    EXPECT_FALSE(GamePaused);
    EnterHeld() = false;
}

TEST_F(PauseMenuTest, TheLevelStandsStillUnderTheMenuWhileTheMenuRuns) {
    ObjectData::Player::Vars(Player()).velocity = {0.05f, 0.0f};
    Press(PauseHeld());
    ASSERT_TRUE(GamePaused);
    const D3DXVECTOR3 at = PlayerAt();
    Entity* cursor = Named("Cursor");
    const float phase = *FindVariable<float>(cursor, enum_moonPhase);
    objtest::Held().keys.insert(205);  // Right arrow: moves the focus, not the player
    Frames(20);
    objtest::Held().keys.clear();
    EXPECT_FLOAT_EQ(PlayerAt().x, at.x);
    EXPECT_FLOAT_EQ(PlayerAt().y, at.y);
    EXPECT_GT(*FindVariable<float>(cursor, enum_moonPhase), phase) << "the menu's cursor runs";
    objtest::Recorded().quads.clear();
    Frame();
    EXPECT_FALSE(objtest::Recorded().quads.empty()) << "drawing goes on";

    // The page of how to play runs and closes on a key from its second frame.
    Entity::_DoEvent("Logic", Named("HTOPButton"), Named("HTOPButton"));
    Frame();
    ASSERT_NE(Named("HTPImage"), nullptr);
    Press(PauseHeld());
    EXPECT_TRUE(GamePaused) << "pause does not close the menu under the page";

    Entity::_DoEvent("Logic", Named("ResButton"), Named("ResButton"));
    ObjectData::Player::Vars(Player()).velocity = {0.05f, 0.0f};
    Frames(2);
    EXPECT_NE(PlayerAt().x, at.x) << "the world goes on after the menu";
}

TEST_F(PauseMenuTest, LeavingTheLevelReleasesTheSoundPause) {
    Press(PauseHeld());
    ASSERT_TRUE(soundEngine.GetPaused());
    State::SetLevel(state, "MainMenu");
    Frame();
    EXPECT_FALSE(GamePaused);
    EXPECT_FALSE(soundEngine.GetPaused());
}

// ---- the fade ----

class TransitionTest : public PlayWorld {
protected:
    void SetUp() override {
        PlayWorld::SetUp();
        world::RegisterLevel("Blank", &objtest::BuildPlayLevel);
        world::RegisterThing("Listener");
        state = NewState("Blank");
        Frame();
        fade = Object::MakeCopy(state, "Transition", "Transit");
        listener = Object::MakeCopy(state, "Listener", "L");
        listener->SetEvent("FadedOut", &CountFadedOut);
        listener->SetEvent("FadedIn", &CountFadedIn);
        fadedOut() = fadedIn() = 0;
        panels().clear();
        ObjectData::Transition::hooks.drawPanel = [](float x, float y, float z, float w, float h, const char* t) {
            panels().push_back({x, y, z, w, h});
            (void)t;
        };
    }
    static int& fadedOut() {
        static int n = 0;
        return n;
    }
    static int& fadedIn() {
        static int n = 0;
        return n;
    }
    static std::vector<std::array<float, 5>>& panels() {
        static std::vector<std::array<float, 5>> list;
        return list;
    }
    static void CountFadedOut(Entity*, Entity*) { ++fadedOut(); }
    static void CountFadedIn(Entity*, Entity*) { ++fadedIn(); }
    ObjectData::Transition::Variables& F() { return VariablesOf<ObjectData::Transition::Variables>(fade); }
    Object* fade = nullptr;
    Object* listener = nullptr;
};

TEST_F(TransitionTest, AFadeOutTakesTwentyNineFramesThenReportsEveryFrame) {
    objtest::Recorded().aspect = 4.0f / 3.0f;
    Frame();
    EXPECT_TRUE(panels().empty()) << "an idle panel is not drawn";
    listener->CallEvent("StartFadingOut");
    EXPECT_EQ(F().counter, -1);
    Frame();
    EXPECT_EQ(F().counter, -2);
    const float w = 4.0f / 3.0f;
    EXPECT_NEAR(F().position.x, 2.0f * w - (2.0f / 30.0f) * 2.0f * w, 1e-5f);
    listener->CallEvent("StartFadingOut");
    EXPECT_EQ(F().counter, -2) << "a second start does not restart a fade out";
    Frames(28);
    EXPECT_EQ(F().counter, -30);
    EXPECT_NEAR(F().position.x, 0.0f, 1e-5f);
    EXPECT_EQ(fadedOut(), 0);
    ASSERT_FALSE(panels().empty());
    EXPECT_NEAR(panels().back()[3], 4.0f, 1e-5f) << "three windows wide";
    EXPECT_NEAR(panels().back()[4], 1.0f, 1e-5f);
    Frames(3);
    EXPECT_EQ(fadedOut(), 3);
    // A fade in restarts at 1 whatever was under way, and ends off the left edge.
    listener->CallEvent("StartFadingIn");
    EXPECT_EQ(F().counter, 1);
    Frames(29);
    EXPECT_EQ(F().counter, 30);
    EXPECT_NEAR(F().position.x, -2.0f * w, 1e-5f);
    Frames(2);
    EXPECT_EQ(fadedIn(), 2);
    // Faded in, a fade out starts again at -1.
    listener->CallEvent("StartFadingOut");
    EXPECT_EQ(F().counter, -1);
}

// ---- goal and checkpoint ----

TEST_F(PlayLevelTest, ACheckpointMovesTheRespawnPointAndScoresOnce) {
    Play(kSmall);
    Entity* player = Player();
    auto& v = ObjectData::Player::Vars(player);
    Object* checkpoint = OfType("Checkpoint").front();
    auto& c = VariablesOf<ObjectData::Checkpoint::Variables>(checkpoint);
    const std::int32_t before = v.score;
    v.position.x = c.position.x;
    Frame();
    EXPECT_TRUE(c.follow);
    EXPECT_EQ(v.score, before + GameVars().SCORE_CHECKPOINT);
    EXPECT_FLOAT_EQ(GameVars().checkpointPosition.x, 5.5f);
    EXPECT_FLOAT_EQ(GameVars().checkpointPosition.y, 1.5f);
    ASSERT_EQ(Net().checkpoints.size(), 1u);
    EXPECT_EQ(objtest::Recorded().SoundCount(AudioList::CHECKPOINT_SOUND), 1);
    Frames(5);
    EXPECT_EQ(v.score, before + GameVars().SCORE_CHECKPOINT) << "a lit checkpoint scores nothing";
    EXPECT_EQ(Net().checkpoints.size(), 1u);

    // Another machine's report lights the matching checkpoint only.
    c.follow = false;
    GameVars().checkpointPosition = {5.9f, 1.2f};
    Entity::_DoEvent("SetCheckPoint", nullptr, checkpoint);
    EXPECT_TRUE(c.follow);
    c.follow = false;
    GameVars().checkpointPosition = {6.1f, 1.2f};
    Entity::_DoEvent("SetCheckPoint", nullptr, checkpoint);
    EXPECT_FALSE(c.follow);
}

TEST_F(PlayLevelTest, TheGoalScoresOnceThenFadesAndMovesPlayOn) {
    Play(kSmall);
    CurrentLevelIndex = 3;
    Entity* player = Player();
    auto& v = ObjectData::Player::Vars(player);
    Object* goal = OfType("LevelGoal").front();
    auto& g = VariablesOf<ObjectData::LevelGoal::Variables>(goal);
    const std::int32_t before = v.score;
    v.position.x = g.position.x;
    Frame();
    EXPECT_EQ(v.score, before + GameVars().SCORE_GOAL);
    EXPECT_EQ(g.fadeTimer, 130);
    EXPECT_EQ(objtest::Recorded().SoundCount(AudioList::LEVEL_GOAL_SOUND), 1);
    Frames(129);
    EXPECT_EQ(v.score, before + GameVars().SCORE_GOAL) << "touching again scores nothing";
    auto& fade = VariablesOf<ObjectData::Transition::Variables>(Named("Transit"));
    EXPECT_GE(fade.counter, 0) << "no fade out before the count-down ends";
    EXPECT_EQ(Named("ResultCard"), nullptr);
    Frame();
    // Single play shows the run's results first; the fade waits for the card.
    Entity* card = Named("ResultCard");
    ASSERT_NE(card, nullptr);
    EXPECT_GE(fade.counter, 0);
    Frame();
    ObjectData::ResultCard::Choose(card, ObjectData::ResultCard::Choice::Next);
    EXPECT_EQ(fade.counter, -1);
    EXPECT_EQ(Net().nextLevels, 0) << "single play tells no one";
    Frames(29);
    EXPECT_EQ(CurrentLevelIndex, 3);
    Frame();
    EXPECT_EQ(CurrentLevelIndex, 4);
    EXPECT_EQ(state->GetLevelName(), "SinglePlayer");
}

TEST_F(PlayLevelTest, FinishingATestPlaySavesTheEditedLevelOnlyWhenItLoaded) {
    // The grid objects come from a single-player build; the level then
    // carries the name of a test play.
    Play(kSmall);
    LevelVars().levelName = "Sandbox";
    const std::string base = std::string(GF_BINARY_DIR) + "/playlevel-missing";
    std::remove((base + ".lvl").c_str());
    EditorLevelName = base;
    Entity* player = Player();
    Object* goal = OfType("LevelGoal").front();
    ObjectData::Player::Vars(player).position.x = VariablesOf<ObjectData::LevelGoal::Variables>(goal).position.x;
    Frames(170);
    EXPECT_EQ(state->GetLevelName(), "LevelEditor");
    std::FILE* written = std::fopen((base + ".lvl").c_str(), "rb");
    EXPECT_EQ(written, nullptr) << "a level that did not load is not saved";
    if (written != nullptr) std::fclose(written);
    EditorLevelName.clear();
}

}  // namespace

// The real program, headless, with its windows, renderer and threads on an
// injected clock, driven only by key and mouse events through the input
// layer: the way from the licence into play and out again.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "framework/Level.h"
#include "framework/Time.h"
#include "objects/GameplayHooks.h"
#include "objects/Player.h"
#include "support/ScriptedProgram.h"

namespace {

using scripted::ProgramRun;

std::filesystem::path Source(const std::string& relative) { return std::filesystem::path(GF_SOURCE_DIR) / relative; }

// The first stretches of the first level's recorded run as script steps.
std::string RecordedRun(int stretches) {
    return scripted::RecordedRun(Source("tests/screens/levelruns/GrassLevel01.txt"), stretches);
}

D3DXVECTOR3 LocalPlayerAt() {
    for (State* state : State::_list)
        if (Level* level = state->GetLevel())
            if (Entity* player = level->GetMyObject("Player_0"); ObjectData::Player::IsPlayer(player))
                return ObjectData::Player::Vars(player).position;
    return {-1.0f, -1.0f, -1.0f};
}

class WayIntoPlayTest : public ProgramRun {};

TEST_F(WayIntoPlayTest, FromTheLicenceIntoPlayPauseAndBackThenOut) {
    std::string script = scripted::ReadFile(Source("tests/program/scripts/way_into_play.script"));
    const std::string marker = "# the recorded run goes here\n";
    ASSERT_NE(script.find(marker), std::string::npos);
    script.replace(script.find(marker), marker.size(), RecordedRun(12));

    D3DXVECTOR3 atStart{}, atPause{}, atResume{};
    bool pausedThen = false, pausedAfter = true;
    const int status = Run(script, {{"started", [&] { atStart = LocalPlayerAt(); }},
                                    {"paused",
                                     [&] {
                                         atPause = LocalPlayerAt();
                                         pausedThen = GamePaused;
                                     }},
                                    {"stillPaused", [&] { atResume = LocalPlayerAt(); }},
                                    {"resumed", [&] { pausedAfter = GamePaused; }}});
    EXPECT_EQ(runner->Failure(), "");
    EXPECT_TRUE(runner->Done()) << "stopped after frame " << runner->Frames();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(stuckExits.load(), 0) << "every thread was joined";
    EXPECT_EQ(ThreadHandleCount(), 0u);
    EXPECT_TRUE(State::_list.empty());
    EXPECT_TRUE(pausedThen);
    EXPECT_FALSE(pausedAfter) << "Enter on Resume resumed, and did not pause again";
    EXPECT_GT(atPause.x, atStart.x + 1.0f) << "the run moved the player before the pause";
    EXPECT_FLOAT_EQ(atResume.x, atPause.x) << "the player did not move while paused";
    EXPECT_FLOAT_EQ(atResume.y, atPause.y);
}

// One press on each splash, one on the title and one more while the moon
// shatters take the start from the licence's Accept to the main menu in less
// than four seconds of play (240 frames; the game counts frames, 60 a
// second, whatever the machine's load).
TEST_F(WayIntoPlayTest, APressOnEachScreenReachesTheMainMenuFromTheLicenceInUnderFourSeconds) {
    const char* script =
        "level Eula\n"
        "wait 10\n"
        "point 0.45 -0.4\n"  // waits, as input does, until the window takes input
        "mark accept\n"
        "click 0.45 -0.4\n"  // Accept
        "level HalvernSplash\n"
        "tap Space\n"
        "level TeamSplash\n"
        "tap Return\n"
        "level TitleScreen\n"
        "tap K\n"  // the moon shatters
        "wait 3\n"
        "tap K\n"  // and the shatter is skipped
        "level MainMenu\n"
        "mark menu\n"
        "wait 20\n"
        "click -0.7 -0.39\n"  // Quit
        "level QuitConfirm\n"
        "wait 40\n"
        "click -0.3 -0.15\n";
    int accepted = 0, menu = 0;
    std::uint32_t acceptedAt = 0, menuAt = 0;
    const int status = Run(script, {{"accept",
                                     [&] {
                                         accepted = runner->Frames();
                                         acceptedAt = TimeGetTime();
                                     }},
                                    {"menu", [&] {
                                         menu = runner->Frames();
                                         menuAt = TimeGetTime();
                                     }}});
    EXPECT_EQ(runner->Failure(), "");
    EXPECT_TRUE(runner->Done());
    EXPECT_EQ(status, 0);
    ASSERT_GT(menu, accepted);
    std::printf("from Accept to the main menu: %d frames (%.2f s of play), %u ms on the injected clock\n",
                menu - accepted, (menu - accepted) / 60.0, menuAt - acceptedAt);
    EXPECT_LT(menu - accepted, 240);
}

// The licence's ways out, each ending the program with nothing after it.
TEST_F(WayIntoPlayTest, TheLicenceEndsTheProgramOnDeclineEscapeAndTheCloseButtonsQuit) {
    struct Case {
        const char* name;
        const char* script;
    };
    const Case cases[] = {
        {"decline", "level Eula\nwait 10\nclick -0.45 -0.4\n"},
        {"escape", "level Eula\nwait 10\ntap Escape\n"},
        {"close, then Quit", "level Eula\nwait 10\nclose\nlevel QuitWindow\nwait 10\nclick -0.4 -0.2\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int status = Run(c.script);
        EXPECT_EQ(runner->Failure(), "");
        EXPECT_TRUE(runner->Done());
        EXPECT_LT(runner->FramesAfterScript(), 200) << "it ended soon after";
        EXPECT_EQ(status, 0);
        EXPECT_EQ(ThreadHandleCount(), 0u);
        bool splashSeen = false;
        for (State* state : State::_list) splashSeen = splashSeen || state->GetLevelName() == "HalvernSplash";
        EXPECT_FALSE(splashSeen);
        TearDown();
        SetUp();
    }
}

TEST_F(WayIntoPlayTest, CancelInTheQuitDialogLeavesTheLicenceRunning) {
    std::vector<std::string> levels;
    const int status =
        Run("level Eula\nwait 10\nclose\nlevel QuitWindow\nwait 10\nclick 0.4 -0.2\nwait 20\n"
            "mark cancelled\n",
            {{"cancelled", [&] {
                  for (State* state : State::_list) levels.push_back(state->GetLevelName());
                  SetQuitting(nullptr);
              }}});
    EXPECT_EQ(runner->Failure(), "");
    EXPECT_TRUE(runner->Done());
    EXPECT_EQ(status, 0);
    EXPECT_EQ(levels, std::vector<std::string>{"Eula"}) << "only the dialog closed";
}

}  // namespace

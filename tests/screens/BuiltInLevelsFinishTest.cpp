// Every built-in level can be finished from its start with the player's own
// movement, and each goal carries play to the next level, then to the results.
//
// The runs are kept in tests/screens/levelruns/<level>.txt; a level whose run
// is missing or unreadable fails. With GF_RECORD_LEVEL_RUNS=1 such a level is
// searched for a run instead, and what is found is written into that folder.
// Runs keep off springs and speed boosts where they can; a level that cannot
// be finished without them names the thrower types that are not registered.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>

#include "LevelRuns.h"
#include "PlayWorld.h"

using namespace playtest;

namespace {

std::string RunFile(const std::string& level) { return std::string(GF_SOURCE_DIR) + "/tests/screens/levelruns/" + level + ".txt"; }

// Reads a level's kept run; empty when it reads, else why not.
std::string ReadRun(const std::string& level, InputRun& run) {
    std::ifstream in(RunFile(level));
    if (!in) return "no kept run at " + RunFile(level);
    std::stringstream text;
    text << in.rdbuf();
    if (!RunFromText(text.str(), run)) return "the kept run at " + RunFile(level) + " does not read";
    return {};
}

// The thrower types a grid holds that are not registered yet.
std::set<std::string> MissingThrowers(const LevelCollision& grid) {
    std::set<std::string> missing;
    const char* types[] = {"Spring", "SideSpring", "SideSpring2", "SpdBoost"};
    for (int i = 0; i < grid.GetWidth() * grid.GetHeight(); ++i) {
        const int c = grid.GetCell(i);
        if (c >= 104 && c <= 107 && !LevelTemplate::IsRegisteredType(types[c - 104])) missing.insert(types[c - 104]);
    }
    return missing;
}

class BuiltInLevelsFinishTest : public PlayWorld {};

TEST_F(BuiltInLevelsFinishTest, EveryLevelIsFinishedAndTheGoalsCarryPlayToTheResults) {
    const bool record = std::getenv("GF_RECORD_LEVEL_RUNS") != nullptr;
    state = NewState("SinglePlayer");
    Frame();
    std::vector<std::string> proven, waiting;
    for (int index = 0; index < 13; ++index) {
        const std::string name = BuiltInLevelNames[static_cast<std::size_t>(index)];
        SCOPED_TRACE(name);
        ASSERT_EQ(state->GetLevelName(), "SinglePlayer");
        ASSERT_EQ(CurrentLevelIndex, index);
        ASSERT_EQ(CurrentLevelName, name);
        Entity* player = Player();
        ASSERT_NE(player, nullptr);
        ObjectData::Player::Variables& v = ObjectData::Player::Vars(player);
        const std::vector<Object*> goalObjects = OfType("LevelGoal");
        ASSERT_FALSE(goalObjects.empty());
        std::vector<Entity*> goals(goalObjects.begin(), goalObjects.end());

        InputRun run;
        std::string unread = ReadRun(name, run);
        bool found = unread.empty();
        const std::set<std::string> missing = MissingThrowers(GameVars().basicLevel);
        // Searching is slow under the sanitizers: it runs only when recording.
        if (!found && record) {
            std::vector<Entity*> throwers;
            for (const char* type : {"Spring", "SideSpring", "SideSpring2", "SpdBoost"})
                for (Object* object : OfType(type)) throwers.push_back(object);
            const char* budget = std::getenv("GF_RECORD_BUDGET");
            const SearchResult result =
                FindRun(player, goals, throwers, !missing.empty(), budget != nullptr ? std::atoi(budget) : 400000);
            found = result.found;
            run = result.run;
            if (found) std::ofstream(RunFile(name)) << RunToText(run);
            unread = found ? "" : "the search found no run";
        }
        if (!found) {
            std::string list;
            for (const std::string& type : missing) list += " " + type;
            ADD_FAILURE() << name << " is not proven finishable: " << unread
                          << (missing.empty() ? "" : "; unregistered throwers:" + list);
            waiting.push_back(name);
            // The other levels are still tried: play carries on as a finished level would.
            const D3DXVECTOR3& goal = Variable<D3DXVECTOR3>(goals.front(), enum_position);
            v.position = goal;
            v.velocity = {0.0f, 0.0f};
        }

        const std::int32_t scoreBefore = v.score;
        for (std::uint8_t bits : run) {
            objtest::Held().keys.clear();
            if (bits & kLeft) objtest::Held().keys.insert(objtest::kLeftKey);
            if (bits & kRight) objtest::Held().keys.insert(objtest::kRightKey);
            if (bits & kJump) objtest::Held().keys.insert(objtest::kSpace);
            Frame();
            // The goal's touch ends the level for the player (it stops and breaks up).
            const bool finished = v.score >= scoreBefore + GameVars().SCORE_GOAL;
            ASSERT_TRUE(v.deathDelay == 0 || finished) << "the run died";
        }
        objtest::Held().keys.clear();
        // The goal counts 130 frames, the fade takes 30 more.
        int frames = 0;
        while (CurrentLevelIndex == index && frames < 400) {
            if (frames == 0) {
                Frame();
                if (CurrentLevelIndex == index) {
                    EXPECT_GE(v.score, scoreBefore + GameVars().SCORE_GOAL) << "the goal was not reached";
                }
            } else {
                Frame();
            }
            ++frames;
        }
        ASSERT_EQ(CurrentLevelIndex, index + 1) << "the goal did not end the level";
        if (found) proven.push_back(name);
        if (index < 12) {
            Frame();  // the restarted level's first frame
        }
    }
    EXPECT_EQ(state->GetLevelName(), "SPResults");
    std::cout << "proven finishable: " << proven.size() << " of 13\n";
    for (const std::string& name : proven) std::cout << "  " << name << '\n';
    for (const std::string& name : waiting) std::cout << "  not yet: " << name << '\n';
}

}  // namespace

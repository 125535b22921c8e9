// Every built-in level can be finished from its start with the player's own
// movement, and each goal carries play to the next level, then to the results.
//
// The runs are kept in tests/screens/levelruns/<level>.txt; a level whose run
// is missing or unreadable fails. With GF_RECORD_LEVEL_RUNS=1 such a level is
// searched for a run instead, and what is found is written into that folder.
// Runs keep off springs and speed boosts where they can; a level that cannot
// be finished without them names the thrower types that are not registered.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <set>
#include <sstream>

#include "LevelRuns.h"
#include "PlayWorld.h"
#include "screens/ResultCard.h"
#include "support/ThreadSanitized.h"

using namespace playtest;

namespace {

std::string RunFile(const std::string& level) {
    return std::string(GF_SOURCE_DIR) + "/tests/screens/levelruns/" + level + ".txt";
}

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

// What a kept run asks of a player: its length, the moves it makes and the
// spikes it passes close to.
struct RunMeasure {
    std::string level;
    int frames = 0;
    int jumps = 0, wallJumps = 0, springs = 0, boosts = 0, breaks = 0;
    int spikesNear = 0;

    double Seconds() const { return frames / 60.0; }
    // One figure to order the levels by: each move counts by how much it
    // asks of the player, and a spike beside the path by the care it takes.
    double Difficulty() const {
        return Seconds() / 10.0 + 0.25 * jumps + 1.0 * wallJumps + 0.5 * springs + 0.75 * boosts + 0.25 * breaks +
               0.2 * spikesNear;
    }
};

// Follows one run frame by frame through the whole play level.
class RunMeter {
public:
    explicit RunMeter(const std::string& level) {
        measure.level = level;
        const LevelCollision& grid = GameVars().basicLevel;
        for (int i = 0; i < grid.GetWidth() * grid.GetHeight(); ++i)
            if (grid.GetCell(i) == LevelCellValue::BreakableTile) breakable.push_back(i);
        objtest::Recorded().sounds.clear();
    }

    // After each frame of the run.
    void Frame(const ObjectData::Player::Variables& v) {
        ++measure.frames;
        const bool wallJump = std::abs(v.wallJump) > 1 && std::abs(lastWallJump) <= 1;
        if (wallJump) ++measure.wallJumps;
        lastWallJump = v.wallJump;
        if (v.spdBoost > lastBoost + 1.0f) ++measure.boosts;
        lastBoost = v.spdBoost;
        const int jumpSounds = objtest::Recorded().SoundCount(static_cast<int>(AudioList::PLAYER_SOUND_A));
        measure.jumps += std::max(0, jumpSounds - lastJumpSounds - (wallJump ? 1 : 0));
        lastJumpSounds = jumpSounds;
        path.insert({static_cast<int>(std::floor(v.position.x)), static_cast<int>(std::floor(v.position.y))});
    }

    RunMeasure Finish() {
        const LevelCollision& grid = GameVars().basicLevel;
        measure.springs = objtest::Recorded().SoundCount(static_cast<int>(AudioList::SPRING_SOUND));
        for (int i : breakable)
            if (grid.GetCell(i) != LevelCellValue::BreakableTile) ++measure.breaks;
        const int w = grid.GetWidth(), h = grid.GetHeight();
        std::set<std::pair<int, int>> near;
        for (const auto& [x, y] : path)
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx) {
                    const int cx = x + dx, cy = y + dy;
                    if (cx < 0 || cy < 0 || cx >= w || cy >= h) continue;
                    const int c = grid.GetCell(cy * w + cx);
                    if (c >= LevelCellValue::SpikesUp && c <= LevelCellValue::SpikesLeft) near.insert({cx, cy});
                }
        measure.spikesNear = static_cast<int>(near.size());
        return measure;
    }

private:
    RunMeasure measure;
    std::vector<int> breakable;
    std::set<std::pair<int, int>> path;
    std::int32_t lastWallJump = 0;
    float lastBoost = 0.0f;
    int lastJumpSounds = 0;
};

// The levels in play order as a table, and how often difficulty falls from
// one level to the next.
int PrintDifficultyTable(const std::vector<RunMeasure>& runs) {
    std::printf("%-14s %8s %6s %6s %7s %6s %6s %6s %10s\n", "level", "seconds", "jumps", "walls", "springs", "boosts",
                "breaks", "spikes", "difficulty");
    int dips = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const RunMeasure& r = runs[i];
        const bool dip = i > 0 && r.Difficulty() < runs[i - 1].Difficulty();
        dips += dip ? 1 : 0;
        std::printf("%-14s %8.1f %6d %6d %7d %6d %6d %6d %10.2f%s\n", r.level.c_str(), r.Seconds(), r.jumps,
                    r.wallJumps, r.springs, r.boosts, r.breaks, r.spikesNear, r.Difficulty(), dip ? "  (dip)" : "");
    }
    std::printf("difficulty falls %d times from one level to the next\n", dips);
    std::fflush(stdout);
    return dips;
}

// Plays level `index` from its first frame with its kept run (or, when
// recording, one searched for) and lets the goal carry play on: the run's
// measure when the level is proven finishable, nothing when it is not (a
// failure is added and play goes on as from a finished level).
class BuiltInLevelsFinishTest : public PlayWorld {
protected:
    std::optional<RunMeasure> PlayKeptRun(int index);
};

std::optional<RunMeasure> BuiltInLevelsFinishTest::PlayKeptRun(int index) {
    const bool record = std::getenv("GF_RECORD_LEVEL_RUNS") != nullptr;
    const std::string name = BuiltInLevelNames[static_cast<std::size_t>(index)];
    SCOPED_TRACE(name);
    EXPECT_EQ(state->GetLevelName(), "SinglePlayer");
    EXPECT_EQ(CurrentLevelIndex, index);
    EXPECT_EQ(CurrentLevelName, name);
    Entity* player = Player();
    if (player == nullptr) {
        ADD_FAILURE() << "no player";
        return std::nullopt;
    }
    ObjectData::Player::Variables& v = ObjectData::Player::Vars(player);
    std::vector<Entity*> goals;
    std::vector<Entity*> throwers;
    for (Object* object : state->Objects()) {
        if (object->_Deleted()) continue;
        if (object->GetType() == "LevelGoal") goals.push_back(object);
        for (const char* type : {"Spring", "SideSpring", "SideSpring2", "SpdBoost"})
            if (object->GetType() == type) throwers.push_back(object);
    }
    if (goals.empty()) {
        ADD_FAILURE() << "no goal";
        return std::nullopt;
    }

    InputRun run;
    std::string unread = ReadRun(name, run);
    bool found = unread.empty();
    const std::set<std::string> missing = MissingThrowers(GameVars().basicLevel);
    // Searching is slow under the sanitizers: it runs only when recording.
    if (!found && record) {
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
        // Play carries on as a finished level would.
        v.position = Variable<D3DXVECTOR3>(goals.front(), enum_position);
        v.velocity = {0.0f, 0.0f};
    }

    const std::int32_t scoreBefore = v.score;
    RunMeter meter(name);
    for (std::uint8_t bits : run) {
        HoldControls(bits);
        Frame();
        meter.Frame(v);
        // The goal's touch ends the level for the player (it stops and breaks up).
        const bool finished = v.score >= scoreBefore + GameVars().SCORE_GOAL;
        if (v.deathDelay != 0 && !finished) {
            ADD_FAILURE() << "the run died";
            return std::nullopt;
        }
    }
    objtest::Held().keys.clear();
    std::optional<RunMeasure> measure;
    if (found) measure = meter.Finish();
    // The goal counts 130 frames, the card of the run's results comes up
    // and carries on at once here, the fade takes 30 more.
    bool carded = false;
    for (int frames = 0; CurrentLevelIndex == index && frames < 400; ++frames) {
        Frame();
        if (frames == 0 && CurrentLevelIndex == index) {
            EXPECT_GE(v.score, scoreBefore + GameVars().SCORE_GOAL) << "the goal was not reached";
        }
        Entity* card = state->GetLevel() != nullptr ? state->GetLevel()->GetMyObject("ResultCard") : nullptr;
        if (card != nullptr) {
            carded = true;
            ObjectData::ResultCard::Choose(card, ObjectData::ResultCard::Choice::Next);
        }
    }
    EXPECT_TRUE(carded) << "the run's results were shown";
    EXPECT_EQ(CurrentLevelIndex, index + 1) << "the goal did not end the level";
    if (CurrentLevelIndex != index + 1) return std::nullopt;
    if (index + 1 < static_cast<int>(BuiltInLevelNames.size())) Frame();  // the restarted level's first frame
    return measure;
}

// Each level is its own test: a level's run is thousands of frames through
// the whole state, and the thirteen in one test would take longer than a
// test may on a busy machine.
// Under ThreadSanitizer the runs leave the drawing out, as the difficulty's
// walk does: what a run asks of the player does not depend on it, and
// drawing would take most of the run's time there.
class EachBuiltInLevel : public BuiltInLevelsFinishTest, public ::testing::WithParamInterface<int> {
protected:
    EachBuiltInLevel() { drawn = !sanitized::kThreads; }
};

TEST_P(EachBuiltInLevel, IsFinishedFromItsStartAndItsGoalCarriesPlayOn) {
    const int index = GetParam();
    CurrentLevelIndex = index;
    state = NewState("SinglePlayer");
    Frame();
    const std::optional<RunMeasure> measure = PlayKeptRun(index);
    if (measure) {
        std::cout << "proven finishable: " << measure->level << '\n';
        PrintDifficultyTable({*measure});
    }
    if (index + 1 == static_cast<int>(BuiltInLevelNames.size())) {
        EXPECT_EQ(state->GetLevelName(), "SPResults");
    } else {
        EXPECT_EQ(state->GetLevelName(), "SinglePlayer");
        EXPECT_EQ(CurrentLevelName, BuiltInLevelNames[static_cast<std::size_t>(index + 1)]);
    }
}

INSTANTIATE_TEST_SUITE_P(BuiltInLevels, EachBuiltInLevel,
                         ::testing::Range(0, static_cast<int>(BuiltInLevelNames.size())),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(BuiltInLevelNames[static_cast<std::size_t>(info.param)]);
                         });

// What a run asks of the player does not depend on what is drawn: the
// difficulty's walk through every level leaves the drawing out.
class UndrawnBuiltInLevels : public BuiltInLevelsFinishTest {
protected:
    UndrawnBuiltInLevels() { drawn = false; }
};

// Difficulty rises along the play order: it may fall back at most twice,
// and then only by one step (the level stays harder than the one before its
// predecessor).
TEST_F(UndrawnBuiltInLevels, DifficultyRisesAlongThePlayOrder) {
    state = NewState("SinglePlayer");
    Frame();
    std::vector<RunMeasure> measures;
    for (int index = 0; index < static_cast<int>(BuiltInLevelNames.size()); ++index) {
        const std::optional<RunMeasure> measure = PlayKeptRun(index);
        ASSERT_TRUE(measure.has_value()) << BuiltInLevelNames[static_cast<std::size_t>(index)];
        measures.push_back(*measure);
    }
    EXPECT_EQ(state->GetLevelName(), "SPResults");
    const int dips = PrintDifficultyTable(measures);
    EXPECT_LE(dips, 2);
    for (std::size_t i = 2; i < measures.size(); ++i)
        EXPECT_GT(measures[i].Difficulty(), measures[i - 2].Difficulty())
            << measures[i].level << " falls back more than one step";
}

}  // namespace

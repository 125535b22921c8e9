#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <mutex>
#include <thread>

#include "framework/engines/BuiltInEngines.h"
#include "framework/engines/ProfilerView.h"
#include "support/EntityWorld.h"

using namespace world;

namespace {

constexpr double kFrequency = 1e9;  // ticks per second
constexpr std::int64_t kMs = 1000000;

Profile Record(const std::string& name, std::int64_t ticks, std::uint64_t start = 0, int depth = 0) {
    Profile p;
    p.name = name;
    p.ticks = ticks;
    p.start = start;
    p.count = depth;
    return p;
}

struct Views {
    ProfileRecords frames;
    ProfileLists lists;
};

Views ThreeFrames(std::size_t sections = 2) {
    Views v;
    for (int k = 0; k < 3; ++k) {
        v.frames[k] = Record("Game", 10 * kMs);
        for (std::size_t i = 0; i < sections; ++i)
            v.lists[k].push_back(Record("s" + std::to_string(i), 5 * kMs, 0, static_cast<int>(i % 2)));
    }
    return v;
}

}  // namespace

TEST(ProfilerLayoutTest, HeadlineAndLabelsPerMode) {
    Views v = ThreeFrames(1);
    v.frames[1] = Record("Game", 12345678, 4242);
    v.lists[1][0] = Record("update", 2500000, 77, 1);
    struct Case {
        int mode;
        const char* headline;
        const char* label;
    };
    const Case cases[] = {
        {PROFILER_HISTORY, "Game (900):  12.346 ms", "update:  2.500 ms"},
        {PROFILER_AVERAGES, "Game:  12.346 ms", "update:  2.500 ms"},
        {PROFILER_MAXIMA, "Game (4242):  12.346 ms", "update (77):  2.500 ms"},
        {7, "Game:  12.346 ms", "update:  2.500 ms"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        ProfilerLayout layout = LayOutProfilerView(v.frames, v.lists, c.mode, 900, 0.0, 500, kFrequency);
        ASSERT_TRUE(layout.headline);
        ASSERT_EQ(layout.lines.size(), 2u);
        EXPECT_EQ(layout.lines[0].text, c.headline);
        EXPECT_FLOAT_EQ(layout.lines[0].y, 0.42f);
        EXPECT_FALSE(layout.lines[0].hasZ);
        EXPECT_EQ(layout.lines[1].text, c.label);
        EXPECT_FLOAT_EQ(layout.lines[1].x, 0.05f * 1 - 0.15f);  // indented by depth
        EXPECT_FLOAT_EQ(layout.lines[1].z, 5.0f);
    }
}

TEST(ProfilerLayoutTest, BarsScaleWithTheFrameAndColourByList) {
    Views v = ThreeFrames(1);
    const int S = 500;
    ProfilerLayout layout = LayOutProfilerView(v.frames, v.lists, PROFILER_HISTORY, 0, 0.0, S, kFrequency);
    ASSERT_EQ(layout.bars.size(), 3u);
    EXPECT_EQ(layout.barsBeforeHeadline, 1u);  // the frame before's bar is drawn ahead of the headline
    // Half the frame: c = trunc(255.99 * 0.5) = 127, w = trunc(408.99 * 0.5) = 204 pixels.
    const std::uint32_t colours[3] = {0xFF000000u | (127 / 4 + 144) << 16 | 179 << 8 | ((255 - 127) / 4 + 144),
                                      0xFF000000u | 127u << 16 | 100 << 8 | (255 - 127), 0xFF8C8C8Cu};
    const int halfThickness[3] = {9, 6, 2};
    for (int k = 0; k < 3; ++k) {
        const ProfilerBar& bar = layout.bars[static_cast<std::size_t>(k)];
        SCOPED_TRACE(k);
        EXPECT_EQ(bar.list, k);
        EXPECT_EQ(bar.colour, colours[k]);
        EXPECT_FLOAT_EQ(bar.width, 204.0f / S);
        EXPECT_FLOAT_EQ(bar.height, 2.0f * halfThickness[k] / S);
        EXPECT_FLOAT_EQ(bar.x, -234.0f / S + 204.0f / (2.0f * S));
        EXPECT_FLOAT_EQ(bar.y, 190.0f / S);
        EXPECT_FLOAT_EQ(bar.z, 0.5f * k);
    }
}

TEST(ProfilerLayoutTest, GuardedInputs) {
    // A frame of no length, a window of no width: headline and labels, but no
    // bar (nothing to divide by).
    Views v = ThreeFrames(3);
    for (auto& frame : v.frames) frame.ticks = 0;
    ProfilerLayout layout = LayOutProfilerView(v.frames, v.lists, PROFILER_HISTORY, 0, 0.0, 500, kFrequency);
    EXPECT_TRUE(layout.bars.empty());
    EXPECT_EQ(layout.lines.size(), 4u);
    v = ThreeFrames(3);
    layout = LayOutProfilerView(v.frames, v.lists, PROFILER_HISTORY, 0, 0.0, 0, kFrequency);
    EXPECT_TRUE(layout.bars.empty());
    layout = LayOutProfilerView(v.frames, v.lists, PROFILER_HISTORY, 0, 0.0, 500, 0.0);
    EXPECT_TRUE(layout.bars.empty());
    // A section far longer than its frame stays a defined (if wide) bar.
    v.lists[1][0].ticks = std::numeric_limits<std::int64_t>::max();
    layout = LayOutProfilerView(v.frames, v.lists, PROFILER_HISTORY, 0, 0.0, 500, kFrequency);
    EXPECT_EQ(layout.bars.size(), 9u);

    // Names of any length are formatted whole.
    v = ThreeFrames(1);
    const std::string longName(500, 'x');
    v.frames[1].name = longName;
    v.lists[1][0].name = longName;
    layout = LayOutProfilerView(v.frames, v.lists, PROFILER_MAXIMA, 0, 0.0, 500, kFrequency);
    EXPECT_EQ(layout.lines[0].text, longName + " (0):  10.000 ms");
    EXPECT_EQ(layout.lines[1].text, longName + " (0):  5.000 ms");

    // Frames without a name are skipped; so is the headline.
    v = ThreeFrames(2);
    v.frames[1].name.clear();
    layout = LayOutProfilerView(v.frames, v.lists, PROFILER_HISTORY, 0, 0.0, 500, kFrequency);
    EXPECT_FALSE(layout.headline);
    EXPECT_EQ(layout.bars.size(), 4u);   // lists 0 and 2
    EXPECT_EQ(layout.lines.size(), 2u);  // the labels still come from list 1
}

TEST(ProfilerLayoutTest, ScrollPositionAndTwentyRows) {
    struct Case {
        double value;
        std::size_t sections;
        int expected;
    };
    const Case cases[] = {{0.0, 0, 0},    {5.9, 10, 5},    {12.0, 10, 9},        {-3.0, 10, 0},
                          {1e300, 10, 9}, {-1e300, 10, 0}, {std::nan(""), 10, 0}};
    for (const Case& c : cases) EXPECT_EQ(ProfilerScrollPosition(c.value, c.sections), c.expected) << c.value;

    Views v = ThreeFrames(30);
    ProfilerLayout layout = LayOutProfilerView(v.frames, v.lists, PROFILER_HISTORY, 0, 25.0, 500, kFrequency);
    // From row 25: five rows left in each list.
    EXPECT_EQ(layout.bars.size(), 15u);
    EXPECT_EQ(layout.lines.size(), 1u + 5u);
    layout = LayOutProfilerView(v.frames, v.lists, PROFILER_HISTORY, 0, 0.0, 500, kFrequency);
    EXPECT_EQ(layout.bars.size(), 60u);
    EXPECT_EQ(layout.lines.size(), 21u);
    EXPECT_FLOAT_EQ(layout.lines.back().y, 0.37f - 0.038f * 19);
}

namespace {

// A viewer level with the records the engine reads.
struct ViewerVariables {
    std::int32_t stamp = 31;
    std::int32_t currentStatistics = PROFILER_HISTORY;
    ProfileLists profiles;
    ProfileRecords threadProfile;
    std::recursive_mutex Critical;
};

struct ViewerLevel : Level {
    ViewerLevel() : Level(sizeof(ViewerLevel)) {}
    ViewerVariables vars;
};

VariableOffsetTable viewerTable;

void CopyViewer(Entity* copy, const Entity* source) {
    // The lock cannot be copied: the clone gets a fresh block with the records.
    auto* block = ::new (static_cast<void*>(copy->_startVar)) ViewerVariables();
    const auto& from = VariablesOf<ViewerVariables>(source);
    block->stamp = from.stamp;
    block->profiles = from.profiles;
    block->threadProfile = from.threadProfile;
    copy->_endVariables = &DestroyVariables<ViewerVariables>;
    Engine::_MakeCopy("ProfilerDraw", 1.00001);
}

std::vector<ProfilerBar> bars;
std::vector<std::string> lines;
bool lockHeld = false;
std::recursive_mutex* viewerLock = nullptr;

void NoteBar(const ProfilerBar& bar) {
    bars.push_back(bar);
    // Another thread could not take the level's lock now.
    std::thread probe([] {
        lockHeld = !viewerLock->try_lock();
        if (!lockHeld) viewerLock->unlock();
    });
    probe.join();
}
void NoteLine(Entity* text, Entity*, const ProfilerTextLine& line) {
    lines.push_back(text->GetName() + ":" + line.text);
}
int Width() { return 400; }

class ProfilerDrawEngineTest : public EntityWorld {
protected:
    void SetUp() override {
        EntityWorld::SetUp();
        saved = engineHooks;
        Engine* prototype = EngineData::ProfilerDraw::_Init();
        prototype->_type = "ProfilerDraw";
        Engine::_IncludeEngine("ProfilerDraw", prototype);
        engineHooks.addBar = &NoteBar;
        engineHooks.drawTextLine = &NoteLine;
        engineHooks.renderWidth = &Width;
        bars.clear();
        lines.clear();
    }
    void TearDown() override {
        engineHooks = saved;
        EntityWorld::TearDown();
    }
    EngineHooks saved;
};

}  // namespace

TEST_F(ProfilerDrawEngineTest, DrawsTheViewersRecordsUnderItsLock) {
    auto* prototype = new ViewerLevel();
    prototype->_SetName("Profiler");
    prototype->_type = "Profiler";
    prototype->_startVar = reinterpret_cast<char*>(&prototype->vars);
    prototype->_map = viewerTable;
    ClearVariableTable(viewerTable);
    BindVariable(viewerTable, *prototype, enum_stamp, prototype->vars.stamp);
    BindVariable(viewerTable, *prototype, enum_currentStatistics, prototype->vars.currentStatistics);
    BindVariable(viewerTable, *prototype, enum_profiles, prototype->vars.profiles);
    BindVariable(viewerTable, *prototype, enum_threadProfile, prototype->vars.threadProfile);
    BindVariable(viewerTable, *prototype, enum_Critical, prototype->vars.Critical);
    prototype->_copy = &CopyViewer;
    Views v = ThreeFrames(2);
    prototype->vars.profiles = v.lists;
    prototype->vars.threadProfile = v.frames;
    Level::_IncludeLevel("Profiler", prototype);
    RegisterThing("Dot");

    State* state = NewState("Profiler");
    ASSERT_NE(state->level, nullptr);
    viewerLock = &VariablesOf<ViewerVariables>(state->level).Critical;
    State::_currentState = state;
    Object* posSize = Object::MakeCopy(state, "Dot", "PosSize");
    Object::MakeCopy(state, "Dot", "TextDummy");
    State::_currentState = nullptr;

    state->Update();
    ASSERT_EQ(bars.size(), 6u);
    EXPECT_TRUE(lockHeld);
    EXPECT_FLOAT_EQ(bars[0].height, 18.0f / 400);  // the render width scales the bars
    EXPECT_EQ(lines, (std::vector<std::string>{"TextDummy:Game (31):  10.000 ms", "TextDummy:s0:  5.000 ms",
                                               "TextDummy:s1:  5.000 ms"}));
    // "PosSize" holds the last bar's place and size.
    const auto& vars = VariablesOf<ThingVariables>(posSize);
    EXPECT_FLOAT_EQ(vars.size.x, bars.back().width);
    EXPECT_FLOAT_EQ(vars.position.y, bars.back().y);
}

TEST_F(ProfilerDrawEngineTest, ALevelWithoutTheRecordsDrawsNothing) {
    auto* prototype =
        RegisterLevel("Plain", [](Entity*, const Entity*) { Engine::_MakeCopy("ProfilerDraw", 1.00001); });
    (void)prototype;
    State* state = NewState("Plain");
    state->Update();
    EXPECT_TRUE(bars.empty());
    EXPECT_TRUE(lines.empty());
}

// The profiler viewer's level: which thread and frame it fetches, the modes,
// the history steps and the slider it sizes, over a profile recorded with a
// fake tick source.
#include <gtest/gtest.h>

#include "framework/Profiler.h"
#include "screens/ProfilerViewer.h"
#include "screens/ScreenWorld.h"

using namespace screentest;
using LevelData::Profiler::Variables;

namespace {

std::int64_t fakeTicks = 0;
std::int64_t FakeTicks() { return fakeTicks; }

// A stand-in for the scroll bar where the real one is not registered: its
// range variables and the "UpdatePosition" it is told about.
struct SliderVariables {
    D3DXVECTOR3 position;
    D3DXVECTOR2 size;
    float min = 0.0f, max = 100.0f, value = 0.0f;
    std::int32_t ticks = 11;
    int updates = 0;
};
struct Slider : Object {
    Slider() : Object(sizeof(Slider)) {}
    SliderVariables vars;
};
VariableOffsetTable sliderTable;
void CopySlider(Entity* copy, const Entity* source) { ConstructVariables<SliderVariables>(copy, source); }
void CountUpdate(Entity* self, Entity*) { ++VariablesOf<SliderVariables>(self).updates; }
void RegisterSliderStandIn() {
    auto* p = new Slider();
    p->_SetName("VSlider");
    p->_type = "VSlider";
    p->_copy = &CopySlider;
    p->_free = &Entity::_CallUnload;
    p->_map = sliderTable;
    p->_startVar = reinterpret_cast<char*>(&p->vars);
    ClearVariableTable(sliderTable);
    BindVariable(sliderTable, *p, enum_position, p->vars.position);
    BindVariable(sliderTable, *p, enum_size, p->vars.size);
    BindVariable(sliderTable, *p, enum_min, p->vars.min);
    BindVariable(sliderTable, *p, enum_max, p->vars.max);
    BindVariable(sliderTable, *p, enum_value, p->vars.value);
    BindVariable(sliderTable, *p, enum_ticks, p->vars.ticks);
    p->_AddEvent("UpdatePosition", &CountUpdate);
    Object::_IncludeObject("VSlider", p);
}

class ProfilerViewerTest : public ScreenWorld {
protected:
    void SetUp() override {
        ScreenWorld::SetUp();
        if (!LevelTemplate::IsRegisteredType("VSlider")) RegisterSliderStandIn();
        old = Profiler::SetTickSource(&FakeTicks);
    }
    void TearDown() override {
        Profiler::SetTickSource(old);
        ScreenWorld::TearDown();
    }

    // One ended frame of thread id with the given number of top-level sections.
    static void RecordFrame(int id, const std::string& name, int sections) {
        Profiler::Start(id, name.c_str());
        for (int s = 0; s < sections; ++s) {
            const std::string section = "s" + std::to_string(s);
            Profiler::Start(section, id);
            fakeTicks += 1000;
            Profiler::End(section, id);
        }
        fakeTicks += 500;
        Profiler::End(id);
    }

    // The place of a thread id in the profiler's list (threads recorded by
    // other tests of the same process stay listed).
    static int IndexOf(int id) {
        std::vector<int> threads;
        Profiler::GetThreads(threads);
        for (std::size_t i = 0; i < threads.size(); ++i)
            if (threads[i] == id) return static_cast<int>(i);
        ADD_FAILURE() << "thread " << id << " is not listed";
        return 0;
    }
    // Opens the viewer on thread id.
    void OpenOn(int id) {
        Open("Profiler");
        V().thread = IndexOf(id);
        Frame();
    }

    Variables& V() { return VariablesOf<Variables>(state->GetLevel()); }
    float SliderValue(int number) {
        return *FindVariable<float>(state->GetLevel()->GetMyObject("PositionSlider"), number);
    }
    std::int32_t SliderTicks() {
        return *FindVariable<std::int32_t>(state->GetLevel()->GetMyObject("PositionSlider"), enum_ticks);
    }
    void Raise(const char* event) { state->GetLevel()->DoEvent(event); }

    Profiler::TickSource old = nullptr;
};

TEST_F(ProfilerViewerTest, BeforeAnyThreadIsProfiledTheStampIsMinusOneAndNothingIsShown) {
    EXPECT_EQ(Variables().stamp, -1) << "the draw engine may read it before the first refresh";
    Open("Profiler");
    ASSERT_EQ(LevelName(), "Profiler");
    Frame();
    EXPECT_EQ(V().stamp, -1);
    EXPECT_EQ(V().history, -1);
    for (const Profile& record : V().threadProfile) EXPECT_TRUE(record.name.empty());
    EXPECT_EQ(SliderValue(enum_max), 0.0f);
    EXPECT_EQ(SliderTicks(), 1);
}

TEST_F(ProfilerViewerTest, TheThreadIndexWrapsSoMinusOneShowsTheLastThread) {
    RecordFrame(11, "Game", 2);
    RecordFrame(22, "Render", 2);
    RecordFrame(33, "Input", 2);
    Open("Profiler");
    std::vector<int> threads;
    Profiler::GetThreads(threads);
    ASSERT_EQ(IndexOf(33), static_cast<int>(threads.size()) - 1);
    V().thread = -1;
    Frame();
    EXPECT_EQ(V().thread, IndexOf(33));
    EXPECT_EQ(V().threadProfile[1].name, "Input");
    Raise("IncThread");
    Frame();
    EXPECT_EQ(V().thread, 0) << "past the last thread comes the first";
    Raise("DecThread");
    Raise("DecThread");
    Frame();
    EXPECT_EQ(V().thread, static_cast<int>(threads.size()) - 2);
    EXPECT_EQ(V().threadProfile[1].name, "Render");
}

TEST_F(ProfilerViewerTest, AFrameCounterOfZeroShowsFrame599AndItsNeighbours) {
    for (int f = 0; f < Profiler::HISTORY_SIZE; ++f) {
        clock.Advance(16);
        RecordFrame(7, "Game", f == 599 ? 3 : (f == 0 ? 1 : 2));
    }
    ASSERT_EQ(Profiler::GetCurrentHistory(7), 0);
    OpenOn(7);
    EXPECT_EQ(V().history, ~599) << "following the newest frame";
    EXPECT_EQ(V().stamp, Profiler::GetHistoryStamp(7, 599));
    EXPECT_EQ(V().profiles[1].size(), 3u);
    EXPECT_EQ(V().profiles[2].size(), 1u) << "the frame after 599 is 0";
    EXPECT_EQ(V().profiles[0].size(), 2u);
}

TEST_F(ProfilerViewerTest, TheSliderRangeFollowsTheShownFramesSections) {
    struct Case {
        int sections;
        float max;
        int ticks;
    } cases[] = {{15, 0.0f, 1}, {20, 0.0f, 1}, {25, 5.0f, 6}};
    int id = 40;
    for (const Case& c : cases) {
        RecordFrame(id, "Game", c.sections);
        OpenOn(id);
        EXPECT_EQ(V().profiles[1].size(), static_cast<std::size_t>(c.sections));
        EXPECT_EQ(SliderValue(enum_min), 0.0f);
        EXPECT_EQ(SliderValue(enum_max), c.max) << c.sections;
        EXPECT_EQ(SliderTicks(), c.ticks) << c.sections;
        Open("MainMenu");
        ++id;
    }
}

TEST_F(ProfilerViewerTest, TheModeCyclesAndTakesEffectOnTheNextRefresh) {
    RecordFrame(5, "Game", 3);
    RecordFrame(5, "Game", 3);
    OpenOn(5);
    EXPECT_GE(V().stamp, 0);
    const int expected[] = {1, 2, 0, 1};
    for (int mode : expected) {
        Raise("ToggleStatistics");
        EXPECT_EQ(V().statistics, mode);
        EXPECT_NE(V().currentStatistics, mode) << "not before the refresh";
        Frame();
        EXPECT_EQ(V().currentStatistics, mode);
        EXPECT_EQ(V().threadProfile[1].name, "Game");
        EXPECT_EQ(V().profiles[1].size(), 3u);
        if (mode == 0)
            EXPECT_GE(V().stamp, 0);
        else
            EXPECT_EQ(V().stamp, -1);
    }
}

TEST_F(ProfilerViewerTest, HistoryStepsWrapAndOnlyMoveAHeldFrameInTheFramesMode) {
    RecordFrame(6, "Game", 1);
    OpenOn(6);
    const int following = V().history;
    Raise("IncHistory");
    Raise("DecHistory");
    EXPECT_EQ(V().history, following) << "a live view does not step";
    V().history = 599;
    Raise("IncHistory");
    EXPECT_EQ(V().history, 0);
    Raise("DecHistory");
    Raise("DecHistory");
    EXPECT_EQ(V().history, 598);
    Raise("ToggleStatistics");
    Frame();
    Raise("IncHistory");
    EXPECT_EQ(V().history, 598) << "the statistics modes hold no frame";
}

TEST_F(ProfilerViewerTest, TheButtonsCallTheChangeHandlersThroughTheirLogic) {
    Open("Profiler");
    Level* level = state->GetLevel();
    const char* names[] = {"NextThread", "PreviousThread", "ToggleStats"};
    for (const char* name : names) {
        Entity* button = level->GetMyObject(name);
        ASSERT_NE(button, nullptr) << name;
        button->DoEvent("Logic");
    }
    EXPECT_EQ(V().thread, 0) << "one up, one down";
    EXPECT_EQ(V().statistics, 1);
    const auto* texture = FindVariable<const char*>(level->GetMyObject("ToggleStats"), enum_texture);
    ASSERT_NE(texture, nullptr);
    EXPECT_STREQ(*texture, "Toggle Statistics Mug");
}

}  // namespace

#include <SDL2/SDL.h>

#include "platform/window/GuiWindow.h"
#include "platform/window/StateWindows.h"

namespace {

TEST_F(ProfilerViewerTest, ItsWindowIs500By500TitledProfiler) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_GL_LoadLibrary(nullptr);  // keeps the GL driver loaded between windows
    WindowClass::SetWindowThread();
    std::atomic<bool> visible{false};
    auto* window = new GUI::GuiWindow(visible);
    window->SetupGuiWindow(220, 240, 100, 100, false, false, "Glimmerfall");
    state->window = window;
    Open("Profiler");
    EXPECT_EQ(window->GetRenderWidth(), 500);
    EXPECT_EQ(window->GetRenderHeight(), 500);
    EXPECT_FLOAT_EQ(window->GetResolution(), 1.0f);
    EXPECT_EQ(window->GetTitle(), "Profiler");
    state->window = nullptr;
    delete window;
}

}  // namespace

// The whole program, booted in this process: start-up window, start-up
// thread, input thread, game thread and window loop, then an orderly end.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <thread>

#include "framework/Engine.h"
#include "framework/ExObject.h"
#include "framework/Game.h"
#include "framework/Globals.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/Quit.h"
#include "framework/State.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/input/Input.h"
#include "platform/input/InputHooks.h"
#include "platform/input/WiiRemote.h"
#include "platform/window/GuiManager.h"
#include "platform/window/ThreadShare.h"
#include "program/Startup.h"
#include "support/EntityWorld.h"
#include "support/FatalCapture.h"
#include "support/TempFolder.h"
#include "support/ThreadedFakeClock.h"
#include "support/ThreadsEndWait.h"

namespace fs = std::filesystem;

namespace {

std::atomic<int> gameFrames{0};
std::atomic<int> exits{0};
std::atomic<int> gameThreadsNice{0};
void NoteExit(int) { ++exits; }

// The game thread takes the input at the top of each frame; after a few
// frames the test asks the program to quit, as closing it would.
void TakeInputThenQuit() {
    gameThreadsNice.store(ThisThreadsNice());
    inputEngine.GameUpdate();
    if (++gameFrames == 5) {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
}

// The program without windows or a renderer: the first window is only the
// video subsystem, the window loop pumps the system's events.
void PumpEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
            SetQuitting(nullptr);
        } else {
            inputEngine.HandleEvent(event);
        }
    }
}

StartupHooks HeadlessHooks() {
    StartupHooks hooks = PlatformStartupHooks();  // the real input manager
    hooks.openFirstWindow = [] { return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0; };
    hooks.pumpFirstWindow = &PumpEvents;
    hooks.pumpWindows = &PumpEvents;
    // The workers end before the shared deadline is looked at: the injected
    // clock would let it run out at the test thread's pace, not theirs.
    hooks.hideAllWindows = [] { LetThreadsEnd(); };
    hooks.serveWindowRequests = nullptr;
    hooks.wireWindows = nullptr;
    hooks.graphicsInit = nullptr;
    hooks.windowInit = nullptr;
    hooks.replaceFirstWindow = nullptr;
    hooks.createFirstState = nullptr;
    hooks.exitProcess = &NoteExit;
    return hooks;
}

// The first state leaves by itself once its level runs.
void TakeInputThenLeave() {
    inputEngine.GameUpdate();
    if (++gameFrames == 3 && !State::_list.empty()) State::SetLevel(State::_list.front(), "Quit");
}

class ProgramBootTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "TMPDIR"}) {
            const char* value = std::getenv(name);
            env.emplace_back(name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
        }
        fs::create_directories(home / "Documents");
        setenv("HOME", home.Path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
        setenv("TMPDIR", home.Path().c_str(), 1);
        // Sound on OpenAL's null output, whatever the test runner passed on.
        setenv("ALSOFT_DRIVERS", "null", 0);
        Quitting.store(false);
        gameFrames = 0;
        exits = 0;
        startupHooks = HeadlessHooks();
        Game::hooks = Game::DefaultHooks();
        Game::hooks.takeInput = &TakeInputThenQuit;
        State::hooks = State::DefaultHooks();
    }

    void TearDown() override {
        // What the program leaves behind at its end, taken apart here so that
        // the next test starts from nothing.
        world::TakeApart();
        Game::hooks = Game::DefaultHooks();
        State::hooks = State::DefaultHooks();
        startupHooks = PlatformStartupHooks();
        // The GL driver stays loaded (what it keeps stays reachable at exit);
        // everything else of SDL is given back.
        // Once a test has drawn, the driver stays loaded for the rest of
        // the run: unloading it would lose track of what it keeps.
        videoKept = videoKept || keepVideo;
        if (!videoKept) SDL_Quit();
        ResetInputHooks();
        WiiRemote_::SetSwitches({});
        Quitting.store(false);
        GameQuit = nullptr;
        Globals.workingDirectory[0] = Globals.temporaryFolder[0] = Globals.userDataFolder[0] = '\0';
        for (auto& [name, value] : env) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }

    std::vector<std::pair<std::string, std::optional<std::string>>> env;
    TempFolder home;
    ThreadedFakeClock clock;
    bool keepVideo = false;
    static inline bool videoKept = false;
};

}  // namespace

// The start-up thread starts input while the main thread pumps the start-up
// window's events. Starting SDL's pad layer changes SDL's hint list, which
// that pump reads and which takes no lock: the main thread has started the
// layer before the start-up thread came to input.
namespace {
std::atomic<bool> padLayerStartedBeforeInput{false};
bool (*platformInputInit)() = nullptr;
bool NoteThePadLayerThenStartInput() {
    padLayerStartedBeforeInput = SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0;
    return platformInputInit();
}
}  // namespace

TEST_F(ProgramBootTest, WithWindowsAndRendererTheFirstStateGetsAWindowAndEverythingEnds) {
    startupHooks = PlatformStartupHooks();
    platformInputInit = startupHooks.inputInit;
    startupHooks.inputInit = &NoteThePadLayerThenStartInput;
    startupHooks.hideAllWindows = &HideWindowsThenLetThreadsEnd;
    startupHooks.exitProcess = &NoteExit;
    keepVideo = true;
    EXPECT_EQ(ProgramMain(), 0);
    EXPECT_EQ(exits.load(), 0);  // the input, render and game threads all ended in time
    EXPECT_EQ(ThreadHandleCount(), 0u);
    EXPECT_GE(gameFrames.load(), 5);
    EXPECT_TRUE(padLayerStartedBeforeInput.load());
    // Where the system grants a thread a larger share, the game thread has
    // one: the render thread's turns do not hold up its frames.
    bool grants = false;
    std::thread([&] { grants = AskForALargerShare(); }).join();
    if (grants) {
        EXPECT_LT(gameThreadsNice.load(), ThisThreadsNice());
    }
    EXPECT_EQ(graphicsEngine.GetInitialWindow(), nullptr);  // the start-up window was closed
    EXPECT_TRUE(graphicsEngine.RenderThreadEnded());
    // The first state shows the licence, in a window of its own.
    ASSERT_EQ(State::_list.size(), 1u);
    State* first = State::_list.front();
    ASSERT_NE(first->GetLevel(), nullptr);
    EXPECT_EQ(first->GetLevelName(), "Eula");
    ASSERT_NE(first->window, nullptr);
    EXPECT_EQ(guiManager.Windows().size(), 1u);
}

TEST_F(ProgramBootTest, StartsRunsTheFirstStateAndQuitsWithEveryThreadJoined) {
    const int status = ProgramMain();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(exits.load(), 0);  // no thread was left running
    EXPECT_EQ(ThreadHandleCount(), 0u);
    EXPECT_GE(gameFrames.load(), 5);
    EXPECT_TRUE(fs::is_directory(home / "Documents/Tavelin/Levels"));
    EXPECT_TRUE(fs::is_directory(home / "KerrowanTemp"));

    // The first state asked for "Eula", which runs without a window too.
    ASSERT_EQ(State::_list.size(), 1u);
    State* first = State::_list.front();
    EXPECT_EQ(first->GetStateName(), "Eula");
    EXPECT_EQ(first->GetLevelName(), "Eula");
    // The game took its two engines; its teardown took their members away.
    ASSERT_NE(GetMyGame(), nullptr);
    std::vector<std::string> engines;
    for (Engine* engine : GetMyGame()->engines) engines.push_back(engine->GetName());
    EXPECT_EQ(engines, (std::vector<std::string>{"GuiManager", "Sound"}));
    EXPECT_EQ(GameQuit, &SetQuitting);
}

TEST_F(ProgramBootTest, TheLastStateClosingEndsTheProgram) {
    Game::hooks.takeInput = &TakeInputThenLeave;

    EXPECT_EQ(ProgramMain(), 0);
    EXPECT_EQ(exits.load(), 0);
    EXPECT_EQ(ThreadHandleCount(), 0u);
    EXPECT_TRUE(State::_list.empty());  // closed and removed, which set Quitting
}

TEST_F(ProgramBootTest, AFailedStartUpEndsWithoutAGameThread) {
    FatalCapture capture;
    startupHooks.graphicsInit = [] { return false; };
    testing::internal::CaptureStderr();
    const int status = ProgramMain();
    testing::internal::GetCapturedStderr();
    EXPECT_NE(status, 0);
    EXPECT_EQ(ThreadHandleCount(), 0u);  // the input thread was joined
    EXPECT_EQ(exits.load(), 0);
    EXPECT_EQ(gameFrames.load(), 0);
    EXPECT_EQ(GetMyGame(), nullptr);
}

namespace {
// A worker that never ends: listed, but nothing can make it stop.
bool StartInputAndAStuckWorker() {
    AddThreadHandle({"Stuck", [] { return false; }, [] {}, [] {}});
    return inputEngine.Init() &&
           (AddThreadHandle({"Input Loop", [] { return inputEngine.ThreadFinished(); },
                             [] { inputEngine.JoinThread(); }, [] { inputEngine.DetachThread(); }}),
            true);
}
}  // namespace

TEST_F(ProgramBootTest, AThreadStillRunningAtTheDeadlineEndsTheProcessWithItsStatus) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            startupHooks.exitProcess = nullptr;     // the real end of the process
            startupHooks.hideAllWindows = nullptr;  // the deadline itself, at once
            startupHooks.inputInit = &StartInputAndAStuckWorker;
            std::exit(ProgramMain() == 0 ? 3 : 4);  // not reached: the process ends first
        },
        testing::ExitedWithCode(0), "\"Stuck\" did not end in time");
}

TEST(TerminateHandlerTest, AnUncaughtExceptionEndsTheProcessWithMinusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::set_terminate(&TerminateHandler);
            std::thread([] { throw 1; }).join();
        },
        testing::ExitedWithCode(255), "not handled");
}

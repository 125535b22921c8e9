// The real program, headless, under a script, as a window appears: the
// system reports the pointer where it really is when a window comes up under
// it (the pointer entered the window). A person moves the pointer only once
// they see the window, so that report comes first; a script's pointer must
// come after it as well, or the report takes the pointer away from where the
// script put it (on a loaded display, a click given a moment too early went
// to the middle of the licence and missed Accept).
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "framework/Time.h"
#include "platform/input/Mouse.h"
#include "platform/window/GuiWindow.h"
#include "support/ScriptedProgram.h"

namespace {

using scripted::ProgramRun;

// The display's side of the first window it shows, on the window thread: as
// a loaded display does, it takes its time to show the window (until the
// script has pointed, or for a stretch of game frames, whichever comes
// first), then reports the pointer entering it where the pointer rests, at
// the window's middle.
struct SlowDisplay {
    static constexpr int kHeldFrames = 60;

    std::atomic<int> frame{0};
    std::atomic<bool> pointed{false};
    std::atomic<bool> shown{false};
    std::atomic<bool> held{false};

    static int Watch(void* data, SDL_Event* event) {
        auto& display = *static_cast<SlowDisplay*>(data);
        if (event->type != SDL_WINDOWEVENT || event->window.event != SDL_WINDOWEVENT_SHOWN ||
            display.shown.exchange(true))
            return 0;
        const int from = display.frame.load();
        // The display's time passes on the injected clock (the window
        // thread's waits advance it); the bound in real time only keeps a
        // broken run from hanging.
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!display.pointed.load() && display.frame.load() < from + kHeldFrames &&
               std::chrono::steady_clock::now() < end)
            SleepMs(1);
        display.held.store(display.frame.load() >= from + kHeldFrames);
        SDL_Window* window = SDL_GetWindowFromID(event->window.windowID);
        int width = 0, height = 0;
        if (window != nullptr) SDL_GetWindowSize(window, &width, &height);
        SDL_Event entered{};
        entered.type = SDL_MOUSEMOTION;
        entered.motion.windowID = event->window.windowID;
        entered.motion.x = width / 2;
        entered.motion.y = height / 2;
        SDL_PeepEvents(&entered, 1, SDL_ADDEVENT, 0, 0);
        return 0;
    }
};

class ScriptedPointerTest : public ProgramRun {};

// The pointer a script puts on the licence's Accept stays there: the script
// waits until the licence is on the screen and the system's report of the
// pointer entering it has been taken, however long the display takes to show it.
TEST_F(ScriptedPointerTest, APointerGivenAsTheLicenceAppearsStaysWhereTheScriptPutIt) {
    SlowDisplay display;
    float pointerX = -9.0f, pointerY = -9.0f;
    const int status =
        Run("level Eula\n"
            "wait 10\n"
            "point 0.45 -0.4\n"  // Accept
            "mark pointed\n"
            "wait 10\n"
            "mark check\n"
            "tap Escape\n",
            {{"pointed", [&] { display.pointed.store(true); }},
             {"check",
              [&] {
                  State* licence = State::_list.empty() ? nullptr : State::_list.back();
                  ASSERT_TRUE(licence != nullptr && licence->window != nullptr);
                  GraphicsEngine::ScreenToGame(licence->window->GetPictureArea(), Mouse.GetScreenX(),
                                               Mouse.GetScreenY(), pointerX, pointerY);
              }}},
            {}, [&](int frame) {
                // Before the licence is first drawn (the first frame builds it),
                // the display starts to watch for its showing.
                if (frame == 1) SDL_AddEventWatch(&SlowDisplay::Watch, &display);
                display.frame.store(frame);
            });
    SDL_DelEventWatch(&SlowDisplay::Watch, &display);
    EXPECT_EQ(runner->Failure(), "");
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(display.shown.load()) << "the licence was shown";
    EXPECT_TRUE(display.held.load()) << "the script waited for the display to show the licence";
    EXPECT_NEAR(pointerX, 0.45f, 0.01f);
    EXPECT_NEAR(pointerY, -0.4f, 0.01f);
}

}  // namespace

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "framework/Quit.h"
#include "framework/State.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/TripleBuffer.h"
#include "platform/input/InputHooks.h"
#include "platform/window/GuiManager.h"
#include "platform/window/GuiWindow.h"
#include "platform/window/StateWindows.h"
#include "support/EntityWorld.h"
#include "support/WaitFor.h"

namespace {
class PipelineTest : public world::EntityWorld {
protected:
    void TearDown() override {
        world::EntityWorld::TearDown();
        ResetInputHooks();
    }
};
}  // namespace

// The three threads together: this one serves window requests, a game
// thread fills frames for a state's window, the render thread draws them and
// shows the window. Nothing deadlocks and the window comes on screen.
TEST_F(PipelineTest, GameAndRenderThreadsDriveAWindowThroughTheWindowThread) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_GL_LoadLibrary(nullptr);
    WindowClass::SetWindowThread();
    InstallStateWindowHooks();
    world::RegisterLevel("Title");

    ASSERT_TRUE(graphicsEngine.ShowInitialWindow());
    ASSERT_TRUE(graphicsEngine.FirstInit());

    State* state = NewState("Title");
    State::_currentState = state;
    State::SetSize(160, 120);
    State::_currentState = nullptr;
    SDL_Window* hwnd = state->window->GetHwnd();

    std::atomic<bool> stop{false}, gameDone{false};
    std::atomic<int> frames{0};
    std::thread game([&] {
        graphicsEngine.ReplaceInitialWindow();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!stop.load() && std::chrono::steady_clock::now() < deadline) {
            State::hooks.beginFrame(state);
            graphicsEngine.AddFrame(0, 0, 0, 0.5f, 0.5f, 0, 0u, -1);
            State::hooks.endFrame(state);
            ++frames;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        gameDone.store(true);
    });
    const bool shown = testsupport::WaitFor(
        [&] {
            WindowClass::PumpOnce();
            return (SDL_GetWindowFlags(hwnd) & SDL_WINDOW_SHOWN) != 0;
        },
        std::chrono::seconds(20));
    EXPECT_TRUE(shown);
    EXPECT_GT(frames.load(), 0);
    stop.store(true);
    // The game thread may wait behind the render thread, which may wait for
    // a request of its own: keep serving until the game thread is done.
    while (!gameDone.load()) WindowClass::PumpOnce();
    game.join();
    Quitting.store(true);
    std::thread joiner([] { graphicsEngine.JoinRenderThread(); });
    std::atomic<bool> joined{false};
    std::thread waiter([&] {
        joiner.join();
        joined.store(true);
    });
    while (!joined.load()) WindowClass::PumpOnce();
    waiter.join();
    Quitting.store(false);
    // The state's destructor (in the fixture) releases its window; the
    // requests it sends are carried out here, on the window thread.
    delete state;
    State::_list.clear();
    SDL_DestroyWindow(graphicsEngine.GetDeviceWindow());
    graphicsEngine.SetDeviceWindow(nullptr);
}

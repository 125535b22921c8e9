#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/graphics/GraphicsEngine.h"
#include "platform/window/WindowClass.h"
#include "support/WaitFor.h"

TEST(StartupWindow, PicturesCycleEveryHalfSecond) {
    const int expected[] = {0, 0, 1, 2, 0, 1};
    const std::uint32_t times[] = {0, 499, 500, 1000, 1500, 2000};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(GraphicsEngine::InitialPictureAt(times[i]), expected[i]) << times[i];
}

// Shown centred by the main thread, closed through the window thread when
// the game thread replaces it; only then may the render thread draw.
TEST(StartupWindow, ShownCentredThenReplacedFromAnotherThread) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_GL_LoadLibrary(nullptr);
    WindowClass::SetWindowThread();
    GraphicsEngine engine;
    ASSERT_TRUE(engine.ShowInitialWindow());
    SDL_Window* window = engine.GetInitialWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_NE(engine.GetDeviceWindow(), nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Tavelin");
    int w = 0, h = 0, x = 0, y = 0;
    SDL_GetWindowSize(window, &w, &h);
    SDL_GetWindowPosition(window, &x, &y);
    SDL_Rect screen;
    ASSERT_EQ(SDL_GetDisplayBounds(0, &screen), 0);
    EXPECT_EQ(w, 400);
    EXPECT_EQ(h, 300);
    EXPECT_EQ(x, (screen.w - 400) / 2);
    EXPECT_EQ(y, (screen.h - 300) / 2);
    engine.HandleInitialWindow();
    const Uint32 id = SDL_GetWindowID(window);

    std::atomic<bool> replaced{false};
    std::thread game([&] {
        engine.ReplaceInitialWindow();
        replaced.store(true);
    });
    testsupport::WaitFor(
        [&] {
            WindowClass::PumpOnce();
            return replaced.load();
        },
        std::chrono::seconds(10), {});
    game.join();
    EXPECT_TRUE(engine.InitialWindowReplaced());
    EXPECT_EQ(engine.GetInitialWindow(), nullptr);
    EXPECT_EQ(SDL_GetWindowFromID(id), nullptr);
    SDL_DestroyWindow(engine.GetDeviceWindow());
}

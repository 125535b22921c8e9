#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/window/WindowClass.h"
#include "support/WaitFor.h"

using testsupport::WaitFor;

// Requests from several threads are carried out in the order they were
// queued, and each requester goes on only once its own request is done.
TEST(WindowRequests, ServedInQueueOrderAndRequestersReleasedAfterwards) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    // Keeps the GL driver loaded between windows (see SanitizerSuppressions.cpp).
    SDL_GL_LoadLibrary(nullptr);
    WindowClass::SetWindowThread();
    constexpr int requesters = 4;
    std::vector<WindowData> requests(requesters);
    std::vector<std::thread> threads;
    std::vector<int> createdSeen(requesters, 0);
    for (int i = 0; i < requesters; ++i) {
        requests[static_cast<std::size_t>(i)].name = "request" + std::to_string(i);
        requests[static_cast<std::size_t>(i)].left = 0;
        requests[static_cast<std::size_t>(i)].right = 10 + i;
        requests[static_cast<std::size_t>(i)].bottom = 10;
        requests[static_cast<std::size_t>(i)].kind = WINDOW_CREATE;
        threads.emplace_back([&, i] {
            WindowData& mine = requests[static_cast<std::size_t>(i)];
            WindowClass::SendWinMessage(&mine);
            // Released only after the window thread carried it out.
            createdSeen[static_cast<std::size_t>(i)] = mine.hwnd != nullptr ? 1 : -1;
        });
        // The next requester queues only after this one is in the queue.
        ASSERT_TRUE(WaitFor([&] { return WindowClass::PendingRequests() == static_cast<std::size_t>(i + 1); }));
    }
    for (const WindowData& r : requests) EXPECT_FALSE(r.done.load());
    WindowClass::ServeWindowRequests();
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(WindowClass::PendingRequests(), 0u);
    Uint32 previous = 0;
    for (int i = 0; i < requesters; ++i) {
        const WindowData& r = requests[static_cast<std::size_t>(i)];
        EXPECT_TRUE(r.done.load());
        EXPECT_EQ(createdSeen[static_cast<std::size_t>(i)], 1);
        ASSERT_NE(r.hwnd, nullptr);
        // SDL numbers windows in the order they are made.
        const Uint32 id = SDL_GetWindowID(r.hwnd);
        EXPECT_GT(id, previous) << i;
        previous = id;
        EXPECT_EQ(SDL_GetWindowTitle(r.hwnd), r.name);
        SDL_DestroyWindow(r.hwnd);
    }
}

// On the window thread itself a request is carried out at once rather than
// waiting for a turn that could never come.
TEST(WindowRequests, WindowThreadCarriesItsOwnRequestAtOnce) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    // Keeps the GL driver loaded between windows (see SanitizerSuppressions.cpp).
    SDL_GL_LoadLibrary(nullptr);
    WindowClass::SetWindowThread();
    WindowClass first(30, 20, 5, 6, false, false, "");
    WindowClass second(30, 20, 5, 6, false, false, "");
    ASSERT_NE(first.GetHwnd(), nullptr);
    EXPECT_EQ(first.GetTitle().rfind("FakeName_", 0), 0u);
    const int a = std::stoi(first.GetTitle().substr(9));
    const int b = std::stoi(second.GetTitle().substr(9));
    EXPECT_EQ(b, a + 1);
    first.Place(40, 50, 60, 70);
    int w = 0, h = 0;
    SDL_GetWindowSize(first.GetHwnd(), &w, &h);
    EXPECT_EQ(w, 60);
    EXPECT_EQ(h, 70);
    EXPECT_EQ(first.GetXpos(), 40);
    first.Activate();
    EXPECT_TRUE(first.GetActive());
    EXPECT_FALSE(second.GetActive());
    EXPECT_TRUE(WindowClass::GetActive(nullptr));
    EXPECT_TRUE(WindowClass::GetActive(first.GetHwnd()));
    second.Activate();
    EXPECT_FALSE(first.GetActive());
}

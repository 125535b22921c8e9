// The three threads that meet in the input layer, run for real: the window
// thread feeding events, the input thread polling, the game thread taking the
// pending blocks. The clock is injected: the input thread's frame sleeps only
// advance it and yield, so nothing waits on real time.
#include <array>
#include <atomic>
#include <chrono>
#include <thread>

#include "InputFixture.h"
#include "framework/Framerate.h"
#include "framework/Quit.h"
#include "support/WaitFor.h"

using namespace inputtest;

namespace {
std::atomic<std::uint32_t> threadClock{0};

class InputThread : public InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        threadClock.store(0);
        oldClock = SetClockFunction([] { return threadClock.load(); });
        oldSleep = SetSleepFunction([](std::uint32_t ms) {
            threadClock.fetch_add(ms);
            std::this_thread::yield();
        });
        Quitting.store(false);
    }
    void TearDown() override {
        StopThread();
        inputEngine.Free();
        SetClockFunction(oldClock);
        SetSleepFunction(oldSleep);
        InputTest::TearDown();
    }
    void StopThread() {
        Quitting.store(true);
        inputEngine.JoinThread();
        Quitting.store(false);
    }
    ClockFunction oldClock = nullptr;
    SleepFunction oldSleep = nullptr;
};
}  // namespace

TEST_F(InputThread, EveryShortPressFromTheWindowThreadReachesTheGame) {
    ASSERT_TRUE(inputEngine.Init());
    ASSERT_TRUE(inputEngine.ThreadRunning());

    // The letters and digits: each pressed and let go once, never held.
    std::vector<SDL_Scancode> keys;
    for (int sc = SDL_SCANCODE_A; sc <= SDL_SCANCODE_0; ++sc) keys.push_back(static_cast<SDL_Scancode>(sc));

    std::atomic<bool> windowDone{false};
    std::thread window([&] {
        for (SDL_Scancode sc : keys) {
            Key(sc, true);
            Motion(static_cast<int>(sc), 0, 1, 1);
            Button(SDL_BUTTON_LEFT, true);
            Key(sc, false);
            Button(SDL_BUTTON_LEFT, false);
            std::this_thread::yield();
        }
        windowDone.store(true);
    });

    std::array<bool, 256> seen{};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::size_t count = 0;
    for (int frame = 0; frame < 2000000 && std::chrono::steady_clock::now() < deadline; ++frame) {
        inputEngine.GameUpdate();
        for (SDL_Scancode sc : keys) {
            unsigned char k = DikFromScancode(sc);
            if (Keyboard.Pressed(k) && !seen[k]) {
                seen[k] = true;
                ++count;
            }
        }
        (void)Mouse.Pressed(0);
        if (windowDone.load() && count == keys.size()) break;
        std::this_thread::yield();
    }
    window.join();
    EXPECT_EQ(count, keys.size());

    StopThread();
    EXPECT_TRUE(inputEngine.ThreadFinished());
    EXPECT_FALSE(inputEngine.ThreadRunning());
}

TEST_F(InputThread, InputLoopPacesItselfAt120AndEndsOnQuit) {
    ASSERT_TRUE(inputEngine.Init());
    // Wait (bounded) for the loop to have run a good number of frames.
    testsupport::WaitFor([&] { return threadClock.load() >= 2000; }, std::chrono::seconds(20), {});
    bool listed = false;
    for (const std::string& name : Framerate::GetNames()) listed = listed || name == "Input Loop";
    EXPECT_TRUE(listed);
    StopThread();
    EXPECT_TRUE(inputEngine.ThreadFinished());
    // The injected clock only moves by the loop's sleeps: 8 ms of each 1/120 s frame.
    EXPECT_GE(threadClock.load(), 2000u);
}

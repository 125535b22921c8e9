// The script runner's wait for a window before it gives input, driven step
// by step on one thread: the test stands for the window thread (requests
// are carried out at once) and for the render thread (it activates and
// shows the windows in the orders a slow first drawing brings), a helper
// thread polls the input as the input thread does.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "framework/Game.h"
#include "framework/State.h"
#include "platform/input/Input.h"
#include "platform/input/InputHooks.h"
#include "platform/input/KeyCodes.h"
#include "platform/input/Keyboard.h"
#include "platform/input/Mouse.h"
#include "platform/window/GuiWindow.h"
#include "platform/window/StateWindows.h"
#include "platform/window/WindowClass.h"
#include "program/ScriptedInput.h"
#include "support/EntityWorld.h"

namespace {

class ScriptedInputWindowsTest : public world::EntityWorld {
protected:
    void SetUp() override {
        world::EntityWorld::SetUp();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        // Keeps the GL driver loaded between windows (see SanitizerSuppressions.cpp).
        SDL_GL_LoadLibrary(nullptr);
        WindowClass::SetWindowThread();
        InstallStateWindowHooks();
        Keyboard.Init();
        Mouse.Init();
        inputEngine.InitDIKMap();
        poller = std::thread([this] {
            while (!stop.load()) {
                inputEngine.InternalUpdate();
                std::this_thread::yield();
            }
        });
    }
    void TearDown() override {
        stop.store(true);
        poller.join();
        Keyboard.Free();
        Mouse.Free();
        world::EntityWorld::TearDown();
        ResetInputHooks();
    }

    // One game frame's input hand-over (the runner's steps), then the window
    // thread's turn at the events.
    static void Frame() {
        Game::hooks.takeInput();
        WindowClass::PumpOnce();
    }

    // The render thread's first turn for a window its state has drawn into:
    // the window shown, made active, and its picture's place published.
    static void Show(GUI::GuiWindow& window) {
        window.GetRenderTarget()->updated = true;
        window.Render();
    }

    std::atomic<bool> stop{false};
    std::thread poller;
};

// The render thread makes a window active as it first shows it, and on a
// busy machine it shows each window any number of frames after its state
// opened, the older window (shown later than it would be) taking the
// activity from the newer one. Input waits until the newest window is on
// the screen as drawn, and active: given before, a key reaches a
// window nobody can see yet, or is lost when the older window's first
// showing takes the activity away in the frame that reads it.
TEST_F(ScriptedInputWindowsTest, InputWaitsUntilTheWindowIsOnTheScreenAndActive) {
    struct Order {
        const char* name;
        // What the render thread does at each stage, before the next frames.
        std::vector<std::string> stages;
    } orders[] = {
        {"the new window activated before it is shown, the old one shown meanwhile",
         {"activate front", "show behind", "show front"}},
        {"the old window shown first, the new one activated before it is shown",
         {"show behind", "activate front", "show front"}},
    };
    world::RegisterLevel("Behind");
    world::RegisterLevel("Front");
    for (const Order& order : orders) {
        SCOPED_TRACE(order.name);
        State* behind = NewState("Behind");
        State* front = NewState("Front");
        ASSERT_NE(front->window, nullptr);
        std::string error;
        auto steps = ScriptedInput::Parse("tap F6\n", error);
        ASSERT_TRUE(steps.has_value()) << error;
        ScriptedInput::Runner runner(std::move(*steps));
        int carriedOut = 0;
        bool reachedTheKeyboard = false;
        runner.EachStep([&](const ScriptedInput::Step& s) {
            if (s.command == "tap") ++carriedOut;
        });
        // At the top of the frame after the tap: the frame before took it.
        runner.EachFrame([&](int) {
            if (carriedOut == 1 && !reachedTheKeyboard) reachedTheKeyboard = Keyboard._Pressed(DIK_F6);
        });
        runner.Install();
        for (const std::string& stage : order.stages) {
            if (stage == "activate front") front->window->Activate();
            if (stage == "show behind") Show(*behind->window);  // shown, then made active
            if (stage == "show front") Show(*front->window);
            for (int i = 0; i < 5; ++i) Frame();
            EXPECT_EQ(carriedOut, stage == order.stages.back() ? 1 : 0) << "after \"" << stage << "\"";
        }
        EXPECT_TRUE(reachedTheKeyboard);
        EXPECT_EQ(runner.Failure(), "");
        for (State* state : State::_list) delete state;
        State::_list.clear();
    }
}

}  // namespace

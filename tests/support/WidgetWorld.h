#pragma once
// Test helper: the real widget types in a clean entity world, on a menu
// level with the engines a screen takes, driven by real key and mouse events
// through the input layer. The window's game area is 1280 by 720 pixels, so
// game units map to pixels at 720 a unit about the window's centre.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Engine.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/input/InputFixture.h"
#include "support/EntityWorld.h"
#include "widgets/WidgetSupport.h"

namespace widgettest {

inline int& Clicks() {
    static int clicks = 0;
    return clicks;
}

inline void BuildMenu(Entity*, const Entity*) {
    Engine::_MakeCopy("Behavior", 5.0);
    Engine::_MakeCopy("GraphicsUpdate", 1.05);
    Engine::_MakeCopy("GraphicsDraw", 1.0);
}

inline GameArea TestArea() { return GameArea{0, 0, 1280, 720, 1280.0f / 720.0f, 720}; }

// Window pixels of a point in game units.
inline int PixelX(float x) { return 640 + static_cast<int>(x * 720.0f); }
inline int PixelY(float y) { return 360 - static_cast<int>(y * 720.0f); }

class WidgetWorld : public world::EntityWorld {
protected:
    void SetUp() override {
        EntityWorld::SetUp();
        inputtest::StartDevices();
        savedArea = GraphicsEngine::currentGameArea;
        GraphicsEngine::currentGameArea = &TestArea;
        Clicks() = 0;
        Widgets::hooks.playSound = [](AudioList sound, float) { Clicks() += sound == BUTTON_CLICK ? 1 : 0; };
        Object::_FirstInit();
        for (const char* name : {"Behavior", "GraphicsUpdate", "GraphicsDraw"}) world::RegisterEngine(name);
        world::RegisterLevel("Menu", &BuildMenu);
        state = NewState("Menu");
        // The pointer starts in the window's top-left corner, away from every widget.
        PointAt(-0.85f, 0.45f);
        inputtest::PollAndFrame();
        inputtest::PollAndFrame();
    }
    void TearDown() override {
        EntityWorld::TearDown();
        Widgets::ResetHooks();
        GraphicsEngine::currentGameArea = savedArea;
        inputtest::StopDevices();
    }

    // The newest window has the input focus, as a new window takes it from
    // the one before: keys and clicks reach only the newest state.
    static void GiveTheNewestStateTheFocus() {
        inputHooks.windowActive = [] {
            return State::_currentState == nullptr || State::_list.empty() ||
                   State::_currentState == State::_list.back();
        };
    }

    // One frame of every state, as the game thread runs them, then the
    // end-of-frame removals.
    static void AllFrame() {
        inputtest::PollAndFrame();
        const std::vector<State*> states(State::_list.begin(), State::_list.end());
        for (State* s : states) s->Update();
        State::EndOfFrame();
    }

    Object* Make(const std::string& type, const char* name = "") { return Object::MakeCopy(state, type, name); }

    // One game frame: the input thread's poll, the game thread's hand-over,
    // the state's frame and the end-of-frame removals.
    void Frame() {
        inputtest::PollAndFrame();
        state->Update();
        State::EndOfFrame();
    }

    // Moves the pointer to game point (x, y) (a real move, with its delta).
    void PointAt(float x, float y) {
        const int px = PixelX(x), py = PixelY(y);
        inputtest::Motion(px, py, px - mouseX, py - mouseY);
        mouseX = px;
        mouseY = py;
    }
    void Key(SDL_Scancode key, bool down) { inputtest::Key(key, down); }
    void LeftButton(bool down) { inputtest::Button(SDL_BUTTON_LEFT, down, mouseX, mouseY); }
    void RightButton(bool down) { inputtest::Button(SDL_BUTTON_RIGHT, down, mouseX, mouseY); }
    // A click at game point (x, y): pressed for one frame, released in the next.
    void Click(float x, float y) {
        PointAt(x, y);
        LeftButton(true);
        Frame();
        LeftButton(false);
        Frame();
    }

    State* state = nullptr;
    int mouseX = 0, mouseY = 0;
    FakeClock clock;
    GameArea (*savedArea)() = nullptr;
};

}  // namespace widgettest

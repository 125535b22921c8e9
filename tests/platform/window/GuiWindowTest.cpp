#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <thread>

#include "framework/Level.h"
#include "framework/Quit.h"
#include "framework/State.h"
#include "platform/graphics/CameraGlobals.h"
#include "platform/graphics/DirectX.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/TripleBuffer.h"
#include "platform/input/InputHooks.h"
#include "platform/input/Mouse.h"
#include "platform/window/GuiManager.h"
#include "platform/window/GuiWindow.h"
#include "platform/window/StateWindows.h"
#include "support/EntityWorld.h"

using GUI::GuiWindow;

namespace {

// A window of 220 by 240 at (100, 100): game area 200 by 200 at (110, 130).
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        // Keeps the GL driver loaded between windows (see SanitizerSuppressions.cpp).
        SDL_GL_LoadLibrary(nullptr);
        WindowClass::SetWindowThread();
        window = new GuiWindow(visible);
        window->SetupGuiWindow(220, 240, 100, 100, false, false, "Test window");
        window->SetRenderTargetSize(200, 200);
    }
    void TearDown() override { delete window; }

    std::atomic<bool> visible{true};
    GuiWindow* window = nullptr;
};

}  // namespace

TEST_F(WindowTest, HitTests) {
    struct Case {
        int x, y;
        bool inside, close, minimise, move;
    } cases[] = {
        {100, 100, true, false, false, false},                                        // the corner pixel
        {320, 340, true, false, false, false},                                        // the opposite corner
        {99, 150, false, false, false, false}, {290, 105, true, true, false, false},  // close: 290..310 by 105..125
        {310, 125, true, true, false, true},  // the buttons lie in the move band
        {311, 115, true, false, false, true},  {289, 115, true, false, false, true},
        {260, 105, true, false, true, false},  // minimise: 260..280
        {280, 125, true, false, true, true},   {281, 104, true, false, false, false},
        {200, 110, true, false, false, true},  // move band: rows 110..130
        {200, 130, true, false, false, true},  {200, 131, true, false, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(window->IsMouseInsideWindow(c.x, c.y), c.inside) << c.x << "," << c.y;
        EXPECT_EQ(window->IsMouseInsideCloseButton(c.x, c.y), c.close) << c.x << "," << c.y;
        EXPECT_EQ(window->IsMouseInsideMinButton(c.x, c.y), c.minimise) << c.x << "," << c.y;
        EXPECT_EQ(window->IsMouseInsideMoveSection(c.x, c.y), c.move) << c.x << "," << c.y;
    }
    EXPECT_TRUE(window->IsMouseInsideGuiWindow(110, 130));
    EXPECT_TRUE(window->IsMouseInsideGuiWindow(310, 330));
    EXPECT_FALSE(window->IsMouseInsideGuiWindow(109, 200));
}

TEST_F(WindowTest, ResizeZones) {
    using namespace GUI;
    struct Case {
        int x, y;
        RESIZE_SIDE side;
    } cases[] = {
        {100, 100, RESIZE_NONE},      // the exact corner pixel
        {101, 101, RESIZE_TOP_LEFT},  // one pixel inside
        {109, 109, RESIZE_TOP_LEFT},  {110, 109, RESIZE_TOP},         {319, 339, RESIZE_BOTTOM_RIGHT},
        {319, 101, RESIZE_TOP_RIGHT}, {101, 339, RESIZE_BOTTOM_LEFT}, {100, 200, RESIZE_LEFT},  // the edge line
        {320, 200, RESIZE_RIGHT},     {200, 100, RESIZE_TOP},         {200, 340, RESIZE_BOTTOM},
        {92, 200, RESIZE_LEFT},  // side zones reach beyond the edge
        {90, 200, RESIZE_NONE},       {200, 200, RESIZE_NONE},
    };
    for (const Case& c : cases) EXPECT_EQ(window->IsMouseResizingLocation(c.x, c.y), c.side) << c.x << "," << c.y;
}

TEST_F(WindowTest, DraggingAnEdgeKeepsItsSideUntilReleased) {
    window->SetResizable(true);
    window->Activate();
    GUI::WindowInput input{320, 200, false, false, false};
    window->UpdateWith(input);
    input = {320, 200, true, true, false};
    window->UpdateWith(input);
    EXPECT_TRUE(window->IsResizing());
    // Far out of the zone, still the right edge: the window grows by 30.
    input = {350, 10, true, false, false};
    window->UpdateWith(input);
    EXPECT_EQ(window->GetWindow()->GetWidth(), 250);
    EXPECT_EQ(window->GetWindow()->GetHeight(), 240);
    EXPECT_EQ(window->GetRenderTarget()->width, 230);
    input = {350, 10, false, false, false};
    window->UpdateWith(input);
    EXPECT_FALSE(window->IsResizing());
}

TEST_F(WindowTest, ZonesOfAFixedWindowMoveIt) {
    window->Activate();
    GUI::WindowInput input{101, 200, false, false, false};
    window->UpdateWith(input);
    input = {101, 200, true, true, false};
    window->UpdateWith(input);
    EXPECT_TRUE(window->IsMoving());
    input = {111, 205, true, false, false};
    window->UpdateWith(input);
    EXPECT_EQ(window->GetWindow()->GetXpos(), 110);
    EXPECT_EQ(window->GetWindow()->GetYpos(), 105);
}

TEST_F(WindowTest, HoverTintsAndCursor) {
    window->Activate();
    window->SetBorderColor(0xFF102030u);
    GUI::WindowInput input{300, 115, false, false, false};
    window->UpdateWith(input);
    EXPECT_EQ(window->GetCloseColor(), 0xFFFFFFFFu);
    EXPECT_EQ(window->GetMinimizeColor(), 0xFF7F7F7Fu);
    EXPECT_EQ(window->GetDrawnBorderColor(), 0xFF424233u);  // active
    EXPECT_EQ(window->GetGuiCursor(), GUI::CURSOR_FRAME);
    input = {200, 200, false, false, false};
    window->UpdateWith(input);
    EXPECT_EQ(window->GetCloseColor(), 0xFF7F7F7Fu);
    EXPECT_EQ(window->GetGuiCursor(), GUI::CURSOR_GAME);
    input = {20, 20, false, false, false};
    window->UpdateWith(input);
    EXPECT_EQ(window->GetGuiCursor(), GUI::CURSOR_OUTSIDE);
    window->DeActivate();
    window->UpdateWith(input);
    EXPECT_EQ(window->GetDrawnBorderColor(), 0xFF102030u);
}

TEST_F(WindowTest, FullScreenIsEnteredAndLeftRestoringTheGeometry) {
    window->SetResolution(1.0f);
    WindowClass& w = *window->GetWindow();
    const int x = w.GetXpos(), y = w.GetYpos(), width = w.GetWidth(), height = w.GetHeight();
    window->ToggleFullScreen();
    window->HandleFullscreen();
    EXPECT_TRUE(window->IsFullScreen());
    SDL_Rect monitor;
    ASSERT_EQ(SDL_GetDisplayUsableBounds(0, &monitor), 0);
    EXPECT_EQ(w.GetXpos(), monitor.x);
    EXPECT_EQ(w.GetWidth(), monitor.w);
    EXPECT_EQ(w.GetHeight(), monitor.h);
    EXPECT_FALSE(window->IsRounded());
    EXPECT_EQ(window->GetRenderWidth(), 200);  // the windowed size while full screen
    // The image is centred on the monitor.
    EXPECT_EQ(window->GetRenderTarget()->offsetX, (monitor.w - 200) / 2);
    window->ToggleFullScreen();
    window->HandleFullscreen();
    EXPECT_FALSE(window->IsFullScreen());
    EXPECT_EQ(w.GetWidth(), width);
    EXPECT_EQ(w.GetHeight(), height);
    // Back centred on the monitor it was on.
    EXPECT_EQ(w.GetXpos(), monitor.x + (monitor.w - width) / 2);
    EXPECT_EQ(w.GetYpos(), monitor.y + (monitor.h - height) / 2);
    (void)x;
    (void)y;
    EXPECT_TRUE(window->IsRounded());
    EXPECT_EQ(window->GetRenderTarget()->offsetX, 10);
    EXPECT_EQ(window->GetRenderTarget()->offsetY, 30);
    EXPECT_EQ(window->GetRenderTarget()->width, 200);
}

// The chrome around the game image, read back from the window.
TEST_F(WindowTest, ChromeIsDrawnWithItsColoursAndTints) {
    SetGLWindowAttributes();
    GraphicsEngine engine;
    engine.SetDeviceWindow(window->GetHwnd());
    ASSERT_TRUE(engine.InitDX(220, 240));
    // The global renderer draws the chrome; it shares this engine's context.
    graphicsEngine.SetDeviceWindow(window->GetHwnd());
    ASSERT_TRUE(graphicsEngine.InitDX(220, 240));
    window->GetRenderTarget()->Refresh();
    window->SetResolution(2.0f);  // a wide image: 200 by 100, top-aligned
    window->SetBorderColor(0xFF203040u);
    window->SetGameAreaColor(0xFF00FF00u);
    ASSERT_TRUE(graphicsEngine.SetRenderTarget(window->GetRenderTarget()));
    graphicsEngine.Clear(0xFFFF0000u, true);  // the game image is red
    GUI::WindowInput away{0, 0, false, false, false};
    window->UpdateWith(away);  // inactive: the chosen border colour

    window->RenderHelper(false, false);
    std::vector<std::uint8_t> image(220 * 240 * 4);
    glReadPixels(0, 0, 220, 240, GL_RGBA, GL_UNSIGNED_BYTE, image.data());
    auto at = [&](int x, int y) {  // y from the top
        const std::size_t i = static_cast<std::size_t>(((239 - y) * 220 + x) * 4);
        return std::array<int, 3>{image[i], image[i + 1], image[i + 2]};
    };
    EXPECT_EQ(at(3, 3), (std::array<int, 3>{0x20, 0x30, 0x40}));  // frame
    EXPECT_EQ(at(5, 200), (std::array<int, 3>{0x20, 0x30, 0x40}));
    EXPECT_EQ(at(110, 80), (std::array<int, 3>{255, 0, 0}));   // image from row 30
    EXPECT_EQ(at(110, 200), (std::array<int, 3>{0, 255, 0}));  // game area below it
    // Buttons (white pictures while no sheets are loaded) in their tints.
    EXPECT_EQ(at(200, 15), (std::array<int, 3>{0x7F, 0x7F, 0x7F}));
    EXPECT_EQ(at(170, 15), (std::array<int, 3>{0x7F, 0x7F, 0x7F}));
    EXPECT_EQ(at(200, 3), (std::array<int, 3>{0x20, 0x30, 0x40}));  // just above the button
    window->Activate();
    GUI::WindowInput hover{100 + 200, 100 + 15, false, false, false};
    window->UpdateWith(hover);
    window->RenderHelper(false, false);
    glReadPixels(0, 0, 220, 240, GL_RGBA, GL_UNSIGNED_BYTE, image.data());
    EXPECT_EQ(at(200, 15), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(at(170, 15), (std::array<int, 3>{0x7F, 0x7F, 0x7F}));
    EXPECT_EQ(at(3, 3), (std::array<int, 3>{0x42, 0x42, 0x33}));
    window->GetRenderTarget()->Release();
    graphicsEngine.ReleaseDevice();
    engine.ReleaseDevice();
}

// A window whose resolution was never set draws nothing.
TEST_F(WindowTest, UnsetResolutionDrawsNothing) {
    SetGLWindowAttributes();
    graphicsEngine.SetDeviceWindow(window->GetHwnd());
    ASSERT_TRUE(graphicsEngine.InitDX(220, 240));
    window->GetRenderTarget()->Refresh();
    window->SetBorderColor(0xFF203040u);
    GUI::WindowInput away{0, 0, false, false, false};
    window->UpdateWith(away);
    auto corner = [] {
        std::array<std::uint8_t, 4> pixel{};
        glReadPixels(3, 236, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
        return std::array<int, 3>{pixel[0], pixel[1], pixel[2]};
    };
    // The window holds a blue picture from before.
    graphicsEngine.SetWindowTarget(window->GetHwnd(), 220, 240);
    graphicsEngine.Clear(0xFF0000FFu, false);
    ASSERT_EQ(corner(), (std::array<int, 3>{0, 0, 255}));

    EXPECT_EQ(window->GetResolution(), -1.0f);
    window->RenderHelper(false, false);
    EXPECT_EQ(corner(), (std::array<int, 3>{0, 0, 255}));
    // Once the resolution is set the same call draws the frame.
    window->SetResolution(2.0f);
    window->RenderHelper(false, false);
    EXPECT_EQ(corner(), (std::array<int, 3>{0x20, 0x30, 0x40}));
    window->GetRenderTarget()->Release();
    graphicsEngine.ReleaseDevice();
}

namespace {

class StateWindowTest : public world::EntityWorld {
protected:
    void SetUp() override {
        world::EntityWorld::SetUp();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        // Keeps the GL driver loaded between windows (see SanitizerSuppressions.cpp).
        SDL_GL_LoadLibrary(nullptr);
        WindowClass::SetWindowThread();
        InstallStateWindowHooks();
    }
    void TearDown() override {
        world::EntityWorld::TearDown();
        ResetInputHooks();
    }
    // Clicks the close button of the state's window.
    void ClickClose(State* state) {
        GUI::GuiWindow& w = *state->window;
        w.Activate();
        WindowClass& os = *w.GetWindow();
        GUI::WindowInput click{os.GetXpos() + os.GetWidth() - 20, os.GetYpos() + 15, true, true, false};
        w.UpdateWith(click);
    }
};

}  // namespace

TEST_F(StateWindowTest, CloseOnTheLicenceWindowOpensTheQuitDialogByName) {
    world::RegisterLevel("Eula");
    State* eula = NewState("Eula");
    ASSERT_NE(eula->window, nullptr);
    ASSERT_NE(eula->renderData, nullptr);
    // While "QuitWindow" is not registered nothing opens.
    ClickClose(eula);
    EXPECT_EQ(State::_list.size(), 1u);
    EXPECT_EQ(eula->nextLevelName, "Eula");
    world::RegisterLevel("QuitWindow");
    ClickClose(eula);
    ASSERT_EQ(State::_list.size(), 2u);
    EXPECT_EQ(State::_list.back()->stateName, "QuitWindow");
    EXPECT_EQ(eula->nextLevelName, "Eula");
    // Elsewhere the close button asks for "Quit".
    ClickClose(State::_list.back());
    EXPECT_EQ(State::_list.back()->nextLevelName, "Quit");
}

// The window manager's close button reaches the window thread as a window
// event; the state's next frame handles it as a click on the drawn close
// button, whether or not the window is active, and once.
TEST_F(StateWindowTest, AWindowManagerCloseActsAsTheDrawnCloseButton) {
    world::RegisterLevel("Eula");
    world::RegisterLevel("QuitWindow");
    world::RegisterLevel("Title");
    State* eula = NewState("Eula");
    State* title = NewState("Title");
    auto closeFromOutside = [](State* state) {
        SDL_Event close{};
        close.type = SDL_WINDOWEVENT;
        close.window.event = SDL_WINDOWEVENT_CLOSE;
        close.window.windowID = SDL_GetWindowID(state->window->GetWindow()->GetHwnd());
        ASSERT_EQ(SDL_PushEvent(&close), 1) << SDL_GetError();
        WindowClass::PumpOnce();
    };
    auto frame = [](State* state) {
        State::hooks.beginFrame(state);
        State::hooks.abandonFrame(state);
    };
    eula->window->GetWindow()->DeActivate();
    closeFromOutside(eula);
    EXPECT_EQ(State::_list.size(), 2u);  // nothing happens off the game thread
    frame(eula);
    ASSERT_EQ(State::_list.size(), 3u);
    EXPECT_EQ(State::_list.back()->stateName, "QuitWindow");
    EXPECT_EQ(eula->nextLevelName, "Eula");
    frame(eula);
    EXPECT_EQ(State::_list.size(), 3u);  // one request, one dialog

    closeFromOutside(title);
    frame(eula);
    EXPECT_EQ(title->nextLevelName, "Title");  // only the window it was meant for
    frame(title);
    EXPECT_EQ(title->nextLevelName, "Quit");
    EXPECT_FALSE(Quitting.load());
}

// A press in a window that lost the keyboard focus (another program's
// message came and went, with no window manager to give the focus back)
// makes that window the active one, so the press itself counts.
TEST_F(StateWindowTest, APressInAnInactiveWindowMakesItActive) {
    world::RegisterLevel("Eula");
    world::RegisterLevel("Title");
    State* eula = NewState("Eula");
    State* title = NewState("Title");
    WindowClass& first = *eula->window->GetWindow();
    WindowClass& second = *title->window->GetWindow();
    second.Activate();
    WindowClass::PumpOnce();
    first.DeActivate();
    second.DeActivate();
    ASSERT_FALSE(first.GetActive());
    SDL_Event press{};
    press.type = SDL_MOUSEBUTTONDOWN;
    press.button.button = SDL_BUTTON_LEFT;
    press.button.state = SDL_PRESSED;
    press.button.windowID = SDL_GetWindowID(first.GetHwnd());
    ASSERT_EQ(SDL_PushEvent(&press), 1) << SDL_GetError();
    WindowClass::PumpOnce();
    EXPECT_TRUE(first.GetActive());
    EXPECT_FALSE(second.GetActive()) << "one window is active at a time";
}

// A dialog stands in front of the window that opened it: it is the active
// window from the moment it opens; a press in the window behind, or the focus
// given to it by the system, leaves the dialog active and the press reaches
// no input; once the dialog is gone, the window behind is active again and
// takes presses.
TEST_F(StateWindowTest, ADialogStandsInFrontOfTheWindowThatOpenedIt) {
    world::RegisterLevel("LevelEditor");
    world::RegisterLevel("LevelEditorCreate");
    State* editor = NewState("LevelEditor");
    State* dialog = NewState("LevelEditorCreate");
    WindowClass& behind = *editor->window->GetWindow();
    WindowClass& front = *dialog->window->GetWindow();
    behind.Activate();
    ASSERT_TRUE(behind.GetActive());

    BlockBehind(dialog, editor);
    EXPECT_TRUE(front.GetActive()) << "keys typed as the dialog opens reach it";
    EXPECT_FALSE(behind.GetActive());
    EXPECT_TRUE(behind.Blocked());
    EXPECT_FALSE(front.Blocked());

    Mouse.Init();
    auto leftDownAfterPoll = [] {
        Mouse.Update();
        Mouse.SendStateToStream();
        Mouse.GetStateFromStream();
        return Mouse._Pressed(0);
    };
    auto push = [](Uint32 type, Uint8 windowEvent, Uint32 windowId) {
        SDL_Event e{};
        e.type = type;
        if (type == SDL_WINDOWEVENT) {
            e.window.event = windowEvent;
            e.window.windowID = windowId;
        } else {
            e.button.button = SDL_BUTTON_LEFT;
            e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
            e.button.windowID = windowId;
        }
        ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
        WindowClass::PumpOnce();
    };
    const Uint32 behindId = SDL_GetWindowID(behind.GetHwnd());
    struct Case {
        const char* what;
        Uint32 type;
        Uint8 windowEvent;
    };
    for (const Case& c : {Case{"a press in the window behind", SDL_MOUSEBUTTONDOWN, 0},
                          Case{"the focus given to the window behind", SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_GAINED},
                          Case{"activating the window behind", 0, 0}}) {
        SCOPED_TRACE(c.what);
        if (c.type == 0)
            behind.Activate();
        else
            push(c.type, c.windowEvent, behindId);
        EXPECT_TRUE(front.GetActive());
        EXPECT_FALSE(behind.GetActive());
        EXPECT_FALSE(leftDownAfterPoll()) << "the press reached the input";
        push(SDL_MOUSEBUTTONUP, 0, behindId);
        leftDownAfterPoll();
    }

    // The dialog closes: the window behind is active again, and a press in it counts.
    delete dialog;
    State::_list.remove(dialog);
    EXPECT_FALSE(behind.Blocked());
    EXPECT_TRUE(behind.GetActive());
    push(SDL_MOUSEBUTTONDOWN, 0, behindId);
    EXPECT_TRUE(leftDownAfterPoll());
    push(SDL_MOUSEBUTTONUP, 0, behindId);
    leftDownAfterPoll();
}

// A quit request from the system (a signal, the session ending) ends the
// program; a close event for a window the program no longer has is ignored.
TEST_F(StateWindowTest, QuitRequestsEndTheProgramAndStrayClosesAreIgnored) {
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = 987654;
    ASSERT_EQ(SDL_PushEvent(&close), 1);
    WindowClass::PumpOnce();
    EXPECT_FALSE(Quitting.load());
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 1);
    WindowClass::PumpOnce();
    EXPECT_TRUE(Quitting.load());
    Quitting.store(false);
}

TEST_F(StateWindowTest, AFrameFillsTheOldestBufferAndKeepsTheCamera) {
    world::RegisterLevel("Title");
    State* state = NewState("Title");
    State::hooks.beginFrame(state);
    ASSERT_NE(state->takenBuffer, nullptr);
    EXPECT_EQ(graphicsEngine.GetCurrentBuffer(), state->takenBuffer);
    CameraGlobals::x = 3.0f;
    CameraGlobals::r = 0.25f;
    Buffer* filled = state->takenBuffer;
    State::hooks.endFrame(state);
    EXPECT_EQ(state->takenBuffer, nullptr);
    EXPECT_EQ(filled->cameraX, 3.0f);
    EXPECT_EQ(filled->cameraScale, 0.25f);
    // The render side now finds this frame.
    EXPECT_EQ(state->renderData->GetNewestBuffer(), filled);
    filled->Ready();
    const std::size_t before = TripleBuffer::tripleBuffers.size();
    delete state;
    State::_list.clear();
    EXPECT_EQ(TripleBuffer::tripleBuffers.size(), before - 1);
    EXPECT_TRUE(guiManager.Windows().empty());
}

TEST_F(StateWindowTest, ForwardersReachTheCurrentStatesWindow) {
    world::RegisterLevel("Options");
    State* state = NewState("Options");
    State::_currentState = state;
    State::SetSize(400, 300);
    EXPECT_FLOAT_EQ(State::GetResolution(), 4.0f / 3.0f);
    EXPECT_EQ(State::GetRenderWidth(), 400);
    EXPECT_EQ(State::GetRenderHeight(), 300);
    EXPECT_EQ(state->window->GetWindow()->GetWidth(), 420);
    EXPECT_EQ(state->window->GetWindow()->GetHeight(), 340);
    EXPECT_EQ(state->renderData->layerRenderTarget[2].width, 400);
    State::SetPos(50, 60);
    EXPECT_EQ(State::GetX(), 50);
    EXPECT_EQ(State::GetY(), 60);
    EXPECT_EQ(state->window->GetWindow()->GetXpos(), 40);
    State::SetX(70);
    EXPECT_EQ(State::GetX(), 70);
    EXPECT_EQ(State::GetY(), 0);
    State::SetTitle("Options");
    EXPECT_EQ(State::GetTitle(), "Options");
    EXPECT_NE(State::GetHwnd(), nullptr);
    State::Activate();
    EXPECT_TRUE(State::Active());
    // With no current state nothing is reached.
    State::_currentState = nullptr;
    EXPECT_EQ(State::GetWidth(), 0);
    EXPECT_FALSE(State::IsFullscreen());
    State::SetSize(10, 10);
}

// Test runs cap the height a level asks for, the width in proportion, the
// draw lists with it; a size under the cap, and any size without it, stay.
TEST_F(StateWindowTest, ACappedHeightShrinksTheAskedSizeInProportion) {
    world::RegisterLevel("Eula");
    State* state = NewState("Eula");
    State::_currentState = state;
    struct Case {
        int cap, width, height, wantWidth, wantHeight;
    };
    for (const Case& c : {Case{144, 853, 480, 255, 144}, Case{144, 400, 100, 400, 100}, Case{0, 853, 480, 853, 480},
                          Case{144, 2000, 1440, 200, 144}}) {
        SCOPED_TRACE(std::to_string(c.cap) + ": " + std::to_string(c.width) + "x" + std::to_string(c.height));
        CapWindowHeight(c.cap);
        State::SetSize(c.width, c.height);
        EXPECT_EQ(State::GetRenderWidth(), c.wantWidth);
        EXPECT_EQ(State::GetRenderHeight(), c.wantHeight);
        EXPECT_EQ(state->renderData->layerRenderTarget[2].height, c.wantHeight);
        EXPECT_FLOAT_EQ(State::GetResolution(), float(c.width) / float(c.height));
    }
    CapWindowHeight(0);
    State::_currentState = nullptr;
}

TEST_F(WindowTest, StretchSwitchResizesTheFullScreenImage) {
    window->SetResolution(16.0f / 9.0f);
    window->ToggleFullScreen();
    window->HandleFullscreen();
    ASSERT_TRUE(window->IsFullScreen());
    GUI::WindowInput input{0, 0, false, false, false, true};
    window->UpdateWith(input);
    EXPECT_TRUE(window->GetStretchPixels());
    const WindowClass& w = *window->GetWindow();
    const int expectedWidth = std::min(853, w.GetWidth());
    EXPECT_LE(window->GetRenderTarget()->width, expectedWidth);
    EXPECT_LE(window->GetRenderTarget()->height, 480);
    EXPECT_EQ(window->GetRenderTarget()->offsetX, (w.GetWidth() - window->GetRenderTarget()->width) / 2);
    input.stretchSwitch = false;
    window->UpdateWith(input);
    EXPECT_FALSE(window->GetStretchPixels());
    // Back to as many pixels as the screen has (fitted to the image's aspect).
    EXPECT_LE(window->GetRenderTarget()->width, w.GetWidth());
    EXPECT_TRUE(window->GetRenderTarget()->width == w.GetWidth() || window->GetRenderTarget()->height == w.GetHeight());
}

// What the game thread does with a window every frame (the update with its
// hit tests and a drag that moves the window, F4, the cursor, the geometry
// the pointer's conversion and the draw lists read) completes while another
// thread holds the locks the render thread holds for its whole turn. The
// holder lets go as soon as anyone waits for them, so a step that would
// wait shows as a counted wait instead of hanging.
TEST_F(WindowTest, TheGameThreadsWindowStepsNeverWaitForARenderTurn) {
    window->SetResolution(1.1f);
    window->Activate();
    guiManager.RegisterGuiWindow(window);
    std::atomic<bool> held{false}, done{false};
    std::thread turn([&] {
        std::lock_guard<WatchedMutex> list(TripleBuffer::ListCritical);
        std::lock_guard<WatchedMutex> free(GUI::GuiManager::FreeCritical);
        held.store(true);
        held.notify_one();
        while (!done.load() && GUI::GuiManager::FreeCritical.Waiting() == 0 &&
               TripleBuffer::ListCritical.Waiting() == 0)
            std::this_thread::yield();
    });
    held.wait(false);
    WatchedMutex::ResetThisThreadWaits();
    int seen = 0;
    const GUI::WindowInput frames[] = {
        {101, 200, false, false, false},  // over the left edge of a fixed window
        {101, 200, true, true, false},    // pressed there: a move begins
        {121, 210, true, false, false},   // dragged
        {200, 200, false, false, true},   // released over the game area, F4
        {200, 200, false, false, true},   // F4 again
    };
    for (const GUI::WindowInput& input : frames) {
        window->UpdateWith(input);
        guiManager.UpdateCursor();
        const GUI::WindowGeometry g = window->Geometry();
        seen += g.areaWidth + window->GetX() + window->GetY() + window->GetWidth() + window->GetHeight() +
                window->GetRenderWidth() + window->GetRenderHeight() + (window->IsRounded() ? 1 : 0) +
                static_cast<int>(window->GetResolution());
    }
    const LockWaits waits = WatchedMutex::ThisThreadWaits();
    done.store(true);
    turn.join();
    guiManager.UnregisterWindow(window);
    window = nullptr;  // deleted with its registration
    EXPECT_EQ(waits.count, 0u) << "the game thread waited for a lock the render turn holds";
    EXPECT_GT(seen, 0);
}

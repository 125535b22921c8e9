#include "platform/window/StateWindows.h"

#include "framework/Level.h"
#include "framework/State.h"
#include "platform/graphics/CameraGlobals.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/TripleBuffer.h"
#include "platform/input/InputHooks.h"
#include "platform/window/GuiManager.h"
#include "platform/window/GuiWindow.h"

State* CreateStateByName(const std::string& name) {
    if (!Level::_IsRegistered(name)) return nullptr;
    State* state = new State(name, true);
    State::_list.push_back(state);
    return state;
}

void CloseClicked(State* state) {
    if (!state) return;
    if (state->currentLevelName == "Eula")
        CreateStateByName("QuitWindow");
    else
        State::SetLevel(state, "Quit");
}

namespace {

void CreateWindow(State* state) {
    auto* window = new GUI::GuiWindow(state->visible);
    window->SetupGuiWindow(200, 200, 0, 0, false, false, state->stateName);
    window->SetOwner(state);
    {
        std::lock_guard<std::recursive_mutex> lock(TripleBuffer::ListCritical);
        TripleBuffer::Position position = TripleBuffer::Add(window->GetRenderTarget(), window->GetResolutionPointer());
        state->renderData = &*position;
    }
    window->SetTripleBuffer(state->renderData);
    guiManager.RegisterGuiWindow(window);
    state->window = window;
}

void DestroyWindow(State* state) {
    {
        std::lock_guard<std::recursive_mutex> lock(TripleBuffer::ListCritical);
        for (auto it = TripleBuffer::tripleBuffers.begin(); it != TripleBuffer::tripleBuffers.end(); ++it)
            if (&*it == state->renderData) {
                TripleBuffer::Remove(it);
                break;
            }
        state->renderData = nullptr;
    }
    if (state->window) guiManager.UnregisterWindow(state->window);
    state->window = nullptr;
}

void BeginFrame(State* state) {
    if (state->window) {
        state->windowActive = state->window->GetActive();
        state->window->Update(0.0f);
    }
    // A state without draw lists draws nowhere, never into another's.
    graphicsEngine.SetCurrentBuffer(nullptr);
    if (!state->renderData) return;
    Buffer* buffer = state->renderData->GetOldestBuffer();
    state->takenBuffer = buffer;
    graphicsEngine.SetCurrentBuffer(buffer);
    if (!buffer) return;
    buffer->Clear();
    CameraGlobals::x = buffer->cameraX;
    CameraGlobals::y = buffer->cameraY;
    CameraGlobals::r = buffer->cameraScale;
}

// The frame's buffer goes back; nothing drawn after the frame may reach it
// (its window may be gone by the next frame).
void EndFrame(State* state) {
    Buffer* buffer = state->takenBuffer;
    graphicsEngine.SetCurrentBuffer(nullptr);
    if (!buffer) return;
    buffer->cameraX = CameraGlobals::x;
    buffer->cameraY = CameraGlobals::y;
    buffer->cameraScale = CameraGlobals::r;
    buffer->Ready();
    state->takenBuffer = nullptr;
}

void AbandonFrame(State* state) {
    graphicsEngine.SetCurrentBuffer(nullptr);
    if (state->takenBuffer) state->takenBuffer->Ready();
    state->takenBuffer = nullptr;
}

int RenderHeight(const State* state) { return state->window ? state->window->GetRenderHeight() : 0; }

bool AnyWindowActive() { return WindowClass::GetActive(nullptr); }

GameArea CurrentGameArea() {
    State* state = State::_currentState;
    if (!state || !state->window) return GameArea{};
    GUI::GuiWindow& w = *state->window;
    // One snapshot: the render thread may resize the window between reads.
    std::lock_guard<std::recursive_mutex> lock(GUI::GuiManager::FreeCritical);
    return GameArea{w.GetX(), w.GetY(), w.GetWidth(), w.GetHeight(), w.GetResolution(), w.GetRenderHeight()};
}

}  // namespace

void InstallStateWindowHooks() {
    State::hooks.createWindow = &CreateWindow;
    State::hooks.destroyWindow = &DestroyWindow;
    State::hooks.beginFrame = &BeginFrame;
    State::hooks.endFrame = &EndFrame;
    State::hooks.abandonFrame = &AbandonFrame;
    State::hooks.renderHeight = &RenderHeight;
    State::hooks.anyWindowActive = &AnyWindowActive;
    GraphicsEngine::currentGameArea = &CurrentGameArea;
    // The input layer asks the windows whether input counts and where the
    // cursor lies in game units.
    inputHooks.windowActive = [] { return State::Active(); };
    inputHooks.windowWasActive = [] { return State::WasActive(); };
    inputHooks.screenToGame = [](int x, int y, float* gx, float* gy) { graphicsEngine.ScreenToGame(x, y, *gx, *gy); };
}

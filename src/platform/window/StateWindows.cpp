#include "platform/window/StateWindows.h"

#include "framework/Level.h"
#include "framework/State.h"
#include "platform/graphics/CameraGlobals.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/TripleBuffer.h"
#include "platform/input/InputHooks.h"
#include "platform/window/GuiManager.h"
#include "platform/window/GuiWindow.h"

namespace {
// The size the next state's window is made at (game thread only); none: the
// window starts at 200 by 200 with no shape, as every dialog's does.
struct FirstSize {
    int width = 0, height = 0;
    float resolution = -1.0f;
};
FirstSize nextWindowSize;
}  // namespace

State* CreateStateByName(const std::string& name) {
    if (!Level::_IsRegistered(name)) return nullptr;
    State* state = new State(name, true);
    State::_list.push_back(state);
    return state;
}

State* CreateStateByName(const std::string& name, int width, int height, float resolution) {
    if (!Level::_IsRegistered(name)) return nullptr;
    nextWindowSize = FirstSize{width, height, resolution};
    State* state = CreateStateByName(name);
    nextWindowSize = FirstSize{};
    return state;
}

void BlockBehind(State* front, State* behind) {
    if (front == nullptr || behind == nullptr || front == behind) return;
    if (front->window == nullptr || behind->window == nullptr) return;
    WindowClass* frontWindow = front->window->GetWindow();
    WindowClass* behindWindow = behind->window->GetWindow();
    if (frontWindow != nullptr && behindWindow != nullptr) behindWindow->BlockBehind(*frontWindow);
}

void CloseClicked(State* state) {
    if (!state) return;
    // A screen that may hold unsaved work answers the close button itself.
    Level* level = state->GetLevel();
    if (level != nullptr && level->GetEvent("WindowClose")) {
        level->DoEvent("WindowClose");
        return;
    }
    if (state->currentLevelName == "Eula")
        CreateStateByName("QuitWindow");
    else
        State::SetLevel(state, "Quit");
}

namespace {

void CreateWindow(State* state) {
    auto* window = new GUI::GuiWindow(state->visible);
    window->SetupGuiWindow(200, 200, 0, 0, false, false, state->stateName);
    const FirstSize size = nextWindowSize;
    nextWindowSize = FirstSize{};
    if (size.width > 0 && size.height > 0) {
        window->SetSize(size.width, size.height, false, false);
        window->SetResolution(size.resolution);
    }
    window->SetOwner(state);
    {
        std::lock_guard<WatchedMutex> lock(TripleBuffer::ListCritical);
        TripleBuffer::Position position = TripleBuffer::Add(window->GetRenderTarget(), window->GetResolutionPointer());
        state->renderData = &*position;
    }
    window->SetTripleBuffer(state->renderData);
    guiManager.RegisterGuiWindow(window);
    state->window = window;
}

void DestroyWindow(State* state) {
    {
        std::lock_guard<WatchedMutex> lock(TripleBuffer::ListCritical);
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
    // One reading: the render thread may resize the window between reads.
    return state->window->GetPictureArea();
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

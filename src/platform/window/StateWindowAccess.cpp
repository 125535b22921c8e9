// The current state's window, reached through State's statics.
#include <algorithm>
#include <atomic>

#include "framework/State.h"
#include "platform/graphics/TripleBuffer.h"
#include "platform/window/GuiManager.h"
#include "platform/window/GuiWindow.h"
#include "platform/window/StateWindows.h"

namespace {

// The test runs' cap on a window's height (0: none).
std::atomic<int> heightCap{0};

GUI::GuiWindow* Current() {
    State* state = State::_currentState;
    return state ? state->window : nullptr;
}

// A new size loses the frames kept for the window; its layer targets take
// the new size.
void ResetDrawLists(int width, int height) {
    State* state = State::_currentState;
    if (!state || !state->renderData) return;
    std::lock_guard<WatchedMutex> lock(TripleBuffer::ListCritical);
    for (RenderTarget& layer : state->renderData->layerRenderTarget) {
        layer.width = width;
        layer.height = height;
        layer.Refresh();
    }
    state->renderData->ClearBuffers();
}

}  // namespace

void CapWindowHeight(int pixels) { heightCap.store(pixels > 0 ? pixels : 0); }

void State::SetSize(int width, int height) {
    GUI::GuiWindow* window = Current();
    if (!window) return;
    // The picture keeps the shape asked for, however small it is drawn.
    const float shape = height > 0 ? static_cast<float>(width) / static_cast<float>(height) : 0.0f;
    const int cap = heightCap.load();
    if (cap > 0 && height > cap) {
        width = std::max(1, static_cast<int>(static_cast<long long>(width) * cap / height));
        height = cap;
    }
    window->SetSize(width, height, false, false);
    if (height > 0) window->SetResolution(shape);
    ResetDrawLists(width, height);
}

void State::SetWidth(int width) { SetSize(width, GetRenderHeight()); }
void State::SetHeight(int height) { SetSize(GetRenderWidth(), height); }

void State::SetPos(int x, int y) {
    if (GUI::GuiWindow* window = Current()) window->SetPos(x, y);
}
void State::SetX(int x) {
    if (GUI::GuiWindow* window = Current()) window->SetX(x);
}
void State::SetY(int y) {
    if (GUI::GuiWindow* window = Current()) window->SetY(y);
}

void State::SetResolution(float resolution) {
    if (GUI::GuiWindow* window = Current()) window->SetResolution(resolution);
}
float State::GetResolution() {
    GUI::GuiWindow* window = Current();
    return window ? window->GetResolution() : 0.0f;
}

D3DXVECTOR2 State::GetSize() { return D3DXVECTOR2(static_cast<float>(GetWidth()), static_cast<float>(GetHeight())); }
int State::GetWidth() {
    GUI::GuiWindow* window = Current();
    return window ? window->GetWidth() : 0;
}
int State::GetHeight() {
    GUI::GuiWindow* window = Current();
    return window ? window->GetHeight() : 0;
}
D3DXVECTOR2 State::GetPos() { return D3DXVECTOR2(static_cast<float>(GetX()), static_cast<float>(GetY())); }
int State::GetX() {
    GUI::GuiWindow* window = Current();
    return window ? window->GetX() : 0;
}
int State::GetY() {
    GUI::GuiWindow* window = Current();
    return window ? window->GetY() : 0;
}
int State::GetRenderWidth() {
    GUI::GuiWindow* window = Current();
    return window ? window->GetRenderWidth() : 0;
}

SDL_Window* State::GetHwnd() {
    GUI::GuiWindow* window = Current();
    return window ? window->GetHwnd() : nullptr;
}
GUI::GuiWindow* State::GetWindow() { return Current(); }

void State::SetRounded(bool rounded) {
    if (GUI::GuiWindow* window = Current()) window->SetRounded(rounded);
}
bool State::IsRounded() {
    GUI::GuiWindow* window = Current();
    return window && window->IsRounded();
}
void State::SetTitle(const std::string& title) {
    if (GUI::GuiWindow* window = Current()) window->SetTitle(title);
}
std::string State::GetTitle() {
    GUI::GuiWindow* window = Current();
    return window ? window->GetTitle() : std::string();
}

void State::ToggleStretchPixels() {
    if (GUI::GuiWindow* window = Current()) window->SetStretchPixels(!window->GetStretchPixels());
}
bool State::IsStretchPixels() {
    GUI::GuiWindow* window = Current();
    return window && window->GetStretchPixels();
}
void State::ToggleFullscreen() {
    if (GUI::GuiWindow* window = Current()) window->ToggleFullScreen();
}
bool State::IsFullscreen() {
    GUI::GuiWindow* window = Current();
    return window && window->IsFullScreen();
}

void State::SetActive(bool active) {
    if (GUI::GuiWindow* window = Current()) window->SetActive(active);
}
void State::Activate() {
    if (GUI::GuiWindow* window = Current()) window->Activate();
}
void State::DeActivate() {
    if (GUI::GuiWindow* window = Current()) window->DeActivate();
}
void State::UpdateActivity() {
    State* state = State::_currentState;
    if (state && state->window) state->windowActive = state->window->GetActive();
}
void State::UpdateAnyActivity() { wasAnyActive = WindowClass::GetActive(nullptr); }
bool State::Active() {
    GUI::GuiWindow* window = Current();
    if (State::_currentState == nullptr) return WindowClass::GetActive(nullptr);
    return window && window->GetActive();
}

#include "platform/window/GuiManager.h"

#include <algorithm>

#include "platform/window/GuiWindow.h"
#include "platform/window/WindowClass.h"

GUI::GuiManager guiManager;

namespace GUI {

WatchedMutex GuiManager::Critical;
WatchedMutex GuiManager::FreeCritical;

void GuiManager::RegisterGuiWindow(GuiWindow* window) {
    std::lock_guard<WatchedMutex> lock(Critical);
    windows.push_back(window);
}

void GuiManager::UnregisterWindow(unsigned index) {
    GuiWindow* window = nullptr;
    {
        std::lock_guard<WatchedMutex> free(FreeCritical);
        std::lock_guard<WatchedMutex> lock(Critical);
        if (index >= windows.size()) return;
        window = windows[index];
        windows.erase(windows.begin() + index);
        window->Free();
    }
    delete window;
}

void GuiManager::UnregisterWindow(GuiWindow* window) {
    {
        std::lock_guard<WatchedMutex> free(FreeCritical);
        std::lock_guard<WatchedMutex> lock(Critical);
        auto found = std::find(windows.begin(), windows.end(), window);
        if (found == windows.end()) return;
        windows.erase(found);
        window->Free();
    }
    delete window;
}

void GuiManager::Free() {
    std::vector<GuiWindow*> all;
    {
        std::lock_guard<WatchedMutex> free(FreeCritical);
        std::lock_guard<WatchedMutex> lock(Critical);
        all.swap(windows);
        for (GuiWindow* window : all) window->Free();
    }
    for (GuiWindow* window : all) delete window;
}

void GuiManager::OnLostDevice() {
    std::lock_guard<WatchedMutex> lock(Critical);
    for (GuiWindow* window : windows) window->OnLostDevice();
}

void GuiManager::OnReset() {
    std::lock_guard<WatchedMutex> lock(Critical);
    for (GuiWindow* window : windows) window->OnReset();
}

// The render thread's steps hold FreeCritical, which a window's removal
// takes before it deletes the window, so the windows of the list copied
// under Critical stay alive; Critical itself is held only for the copy, and
// the game thread's brief uses of it (the cursor, a registration) never wait
// for a whole turn.
void GuiManager::HandleFullscreen() {
    std::lock_guard<WatchedMutex> free(FreeCritical);
    for (GuiWindow* window : Windows()) window->HandleFullscreen();
}

void GuiManager::Update(float) { UpdateCursor(); }

void GuiManager::UpdateCursor() {
    std::lock_guard<WatchedMutex> lock(Critical);
    bool hide = false;
    for (GuiWindow* window : windows)
        if (window->GetActive() && window->GetGuiCursor() == CURSOR_GAME) hide = true;
    WindowClass::showCursor.store(!hide);
}

bool GuiManager::IsCursorVisible() const { return WindowClass::showCursor.load(); }

void GuiManager::Render() {
    std::lock_guard<WatchedMutex> free(FreeCritical);
    for (GuiWindow* window : Windows()) window->Render();
}

std::vector<GuiWindow*> GuiManager::Windows() {
    std::lock_guard<WatchedMutex> lock(Critical);
    return windows;
}

}  // namespace GUI

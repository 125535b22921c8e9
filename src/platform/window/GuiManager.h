#pragma once
#include <mutex>
#include <vector>

#include "framework/WatchedMutex.h"

namespace GUI {

class GuiWindow;

// Every drawn window, in registration order. Critical guards the list and
// is only ever held briefly; FreeCritical guards changes to the window
// geometry and render-target sizes, and the render thread holds it for its
// whole turn (readers use each window's published copy instead). Whoever
// takes both takes FreeCritical first.
class GuiManager {
public:
    bool Init() { return true; }
    void RegisterGuiWindow(GuiWindow* window);
    void UnregisterWindow(unsigned index);
    void UnregisterWindow(GuiWindow* window);
    void Free();
    void OnLostDevice();
    void OnReset();
    void HandleFullscreen();
    void Update(float dt);
    void UpdateCursor();
    bool IsCursorVisible() const;
    void Render();
    std::vector<GuiWindow*> Windows();

    static WatchedMutex Critical;
    static WatchedMutex FreeCritical;

private:
    std::vector<GuiWindow*> windows;
};

}  // namespace GUI

extern GUI::GuiManager guiManager;

#pragma once
#include <mutex>
#include <vector>

namespace GUI {

class GuiWindow;

// Every drawn window, in registration order. Critical guards the list, the
// cursor flag and the full-screen wishes; FreeCritical guards window
// geometry and render-target sizes. Whoever takes both takes FreeCritical
// first.
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

    static std::recursive_mutex Critical;
    static std::recursive_mutex FreeCritical;

private:
    std::vector<GuiWindow*> windows;
};

}  // namespace GUI

extern GUI::GuiManager guiManager;

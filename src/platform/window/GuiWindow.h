#pragma once
#include <atomic>
#include <cstdint>
#include <string>

#include "framework/PublishedValue.h"
#include "platform/graphics/RenderTarget.h"
#include "platform/window/WindowClass.h"
#include "platform/window/WindowGeometry.h"

class State;
class TripleBuffer;

namespace GUI {

enum CURSOR_STATUS { CURSOR_OUTSIDE = 0, CURSOR_FRAME = 1, CURSOR_GAME = 2 };
enum RESIZE_SIDE {
    RESIZE_LEFT = 0,
    RESIZE_RIGHT = 1,
    RESIZE_TOP = 2,
    RESIZE_BOTTOM = 3,
    RESIZE_BOTTOM_RIGHT = 4,
    RESIZE_TOP_RIGHT = 5,
    RESIZE_TOP_LEFT = 6,
    RESIZE_BOTTOM_LEFT = 7,
    RESIZE_NONE = 8,
};

// What one window update reads of the mouse and keyboard.
struct WindowInput {
    int mouseX = 0;
    int mouseY = 0;
    bool leftDown = false;     // the left button is held
    bool leftClicked = false;  // and was pressed this frame
    bool toggleFullScreen = false;
    bool stretchSwitch = false;  // the game-wide switch stretch pixels follows
};

// One borderless window drawn entirely by the renderer: a frame, the game
// area showing its state's render target, a close and a minimise button, a
// move band, optional resize edges, and full screen on its monitor.
class GuiWindow {
public:
    explicit GuiWindow(std::atomic<bool>& visible);
    virtual ~GuiWindow();
    GuiWindow(const GuiWindow&) = delete;
    GuiWindow& operator=(const GuiWindow&) = delete;

    virtual const char* GetTypeId() const { return "GuiWindow"; }
    // Game thread, once per frame: reads the mouse and keyboard.
    virtual void Update(float dt);
    // Render thread: shows the window's newest image with its chrome.
    virtual void Render();

    void SetupGuiWindow(int width, int height, int x, int y, bool active, bool rounded, const std::string& title);
    // The update itself, on given input.
    void UpdateWith(const WindowInput& input);
    // Draws the window; present shows it (tests read the image back first).
    // Where the picture was drawn on the screen.
    GameArea RenderHelper(bool fullScreen, bool present = true);
    void HandleFullscreen();

    void SetSize(int width, int height, bool keepWindow, bool keepRenderTarget);
    // Only the render target's size, nothing re-created or moved.
    void SetRenderTargetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, GetRenderHeight(), false, false); }
    void SetHeight(int height) { SetSize(GetRenderWidth(), height, false, false); }
    void SetPos(int x, int y);
    void SetX(int x) { SetPos(x, 0); }
    void SetY(int y) { SetPos(0, y); }
    // Where the picture lies on the screen (its top-left corner and size), as
    // it is drawn: the one place both the drawing and the pointer use.
    int GetX() const;
    int GetY() const;
    int GetWidth() const;
    int GetHeight() const;
    GameArea GetPictureArea() const { return PictureArea(Geometry()); }
    // One reading of everything that decides where the picture lies. Any
    // thread, without a lock: the geometry is published whole by whoever
    // changes it, so a reader never waits for a render turn.
    WindowGeometry Geometry() const;
    int GetRenderWidth() const;
    int GetRenderHeight() const;
    // The window is on the screen as a person sees it: the system shows it,
    // its picture was presented where the geometry places it now, and the
    // window thread has taken what the system reported of its showing (the
    // pointer entering it, the focus). Any thread, without a lock.
    bool OnScreen() const;

    bool IsMouseInsideWindow(int x, int y) const;
    bool IsMouseInsideGuiWindow(int x, int y) const;
    bool IsMouseInsideMoveSection(int x, int y) const;
    bool IsMouseInsideCloseButton(int x, int y) const;
    bool IsMouseInsideMinButton(int x, int y) const;
    RESIZE_SIDE IsMouseResizingLocation(int x, int y) const;
    void ResolveResizing(RESIZE_SIDE side);

    void ToggleFullScreen();
    bool IsFullScreen() const { return fullScreen.load(); }
    bool IsFullScreenWanted() const;
    static bool IsAnyFullScreen() { return false; }
    void SetResolution(float value);
    float GetResolution() const { return published.Load().resolution; }
    float* GetResolutionPointer() { return &resolution; }
    void SetResizable(bool value) { resizable = value; }
    bool IsResizable() const { return resizable; }
    bool IsMoving() const { return moving; }
    bool IsResizing() const { return resizing; }
    void SetRounded(bool value);
    bool IsRounded() const;
    void SetStretchPixels(bool value) { stretchPixels = value; }
    bool GetStretchPixels() const { return stretchPixels; }
    void SetBorderColor(float r, float g, float b, float a) { SetBorderColor(Pack(r, g, b, a)); }
    void SetBorderColor(std::uint32_t colour) { chosenBorderColor = colour; }
    std::uint32_t GetBorderColor() const { return chosenBorderColor; }
    void SetGameAreaColor(float r, float g, float b, float a) { SetGameAreaColor(Pack(r, g, b, a)); }
    void SetGameAreaColor(std::uint32_t colour) { mGameAreaColor.store(colour); }
    std::uint32_t GetGameAreaColor() const { return mGameAreaColor.load(); }
    std::uint32_t GetDrawnBorderColor() const { return mBorderColor.load(); }
    std::uint32_t GetCloseColor() const { return closeColor.load(); }
    std::uint32_t GetMinimizeColor() const { return minimizeColor.load(); }
    void SetGuiCursor(CURSOR_STATUS status) { cursorStatus.store(status); }
    CURSOR_STATUS GetGuiCursor() const { return cursorStatus.load(); }
    bool GetActive() const { return window && window->GetActive(); }
    void SetActive(bool value) { value ? Activate() : DeActivate(); }
    void Activate() { window->Activate(); }
    void DeActivate() { window->DeActivate(); }
    void ShowWindow();
    void HideWindow();
    void SetTitle(const std::string& title);
    const std::string& GetTitle() const { return window->GetTitle(); }
    const std::string& GetName() const { return name; }
    WindowClass* GetWindow() const { return window; }
    RenderTarget* GetRenderTarget() const { return renderTarget; }
    SDL_Window* GetHwnd() const { return window ? window->GetHwnd() : nullptr; }
    void SetTripleBuffer(TripleBuffer* buffer) { tripleBuffer = buffer; }
    TripleBuffer* GetTripleBuffer() const { return tripleBuffer; }
    void SetOwner(State* state) { owner = state; }
    void DeleteWindow() { window->DeleteWindow(); }
    void Free() { freed.store(true); }
    bool IsFreed() const { return freed.load(); }
    void OnLostDevice();
    void OnReset();
    // Follows the game-wide stretch switch; in full screen the render size
    // changes with it.
    void ApplyStretch(bool stretch);

    static std::uint32_t Pack(float r, float g, float b, float a);

private:
    std::string name = "Undefined";
    RenderTarget* renderTarget = new RenderTarget;
    WindowClass* window = nullptr;
    std::atomic<std::uint32_t> mBorderColor{0xFF000000u};
    std::uint32_t chosenBorderColor = 0xFF000000u;
    std::atomic<std::uint32_t> mGameAreaColor{0xFF000000u};
    std::atomic<std::uint32_t> closeColor{0xFFB20000u};
    std::atomic<std::uint32_t> minimizeColor{0xFFB20000u};
    std::atomic<CURSOR_STATUS> cursorStatus{CURSOR_OUTSIDE};
    bool stretchPixels = false;
    TripleBuffer* tripleBuffer = nullptr;
    float resolution = -1.0f;
    std::atomic<bool> freed{false};
    bool moving = false;
    bool resizing = false;
    bool resizable = false;
    std::atomic<bool> fullScreenWanted{false};
    std::atomic<bool> fullScreen{false};
    int savedWidth = 0, savedHeight = 0, savedX = 0, savedY = 0, savedRenderWidth = 0, savedRenderHeight = 0;
    int resizeMargin = 10;
    int mouseX = 0, mouseY = 0, previousMouseX = 0, previousMouseY = 0;
    RESIZE_SIDE resizeSide = RESIZE_NONE;
    std::atomic<bool>& visible;
    bool shown = false;
    State* owner = nullptr;

    // What other threads read of the geometry guarded by FreeCritical: the
    // game area (the render target's place and size), the render size kept
    // while full screen is wanted, the picture's shape, full screen, the
    // corners. Every change made under FreeCritical ends with Publish.
    struct Published {
        int areaX = 0, areaY = 0, areaWidth = 0, areaHeight = 0;
        int savedRenderWidth = 0, savedRenderHeight = 0;
        float resolution = -1.0f;
        bool fullScreen = false;
        bool rounded = false;
    };
    PublishedValue<Published> published;
    // What the render thread last put on the screen: where it drew the
    // picture, and whether the window is shown with the system's reports of
    // its showing taken. Cleared whenever the window is hidden.
    struct Presented {
        GameArea area;
        bool shown = false;
    };
    PublishedValue<Presented> presented;
    // Under FreeCritical: publishes the geometry as it now stands.
    void Publish();
    // SetSize without publishing, for changes made of several steps.
    void Resize(int width, int height, bool keepWindow, bool keepRenderTarget);
};

}  // namespace GUI

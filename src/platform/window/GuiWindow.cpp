#include "platform/window/GuiWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "framework/Game.h"
#include "framework/GameVariables.h"
#include "framework/Level.h"
#include "framework/StartupTrace.h"
#include "framework/State.h"
#include "platform/graphics/GLTexture.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/input/KeyCodes.h"
#include "platform/input/Keyboard.h"
#include "platform/input/Mouse.h"
#include "platform/window/GuiManager.h"
#include "platform/window/StateWindows.h"

namespace GUI {

namespace {
constexpr std::uint32_t ACTIVE_BORDER = 0xFF424233u;
constexpr std::uint32_t BUTTON_IDLE = 0xFF7F7F7Fu;
constexpr std::uint32_t BUTTON_HOVER = 0xFFFFFFFFu;

SDL_Rect PrimaryScreen() {
    SDL_Rect screen{0, 0, 1280, 720};
    SDL_GetDisplayBounds(0, &screen);
    return screen;
}

// The usable area of the display that holds the point, or of the primary one.
SDL_Rect MonitorAt(int x, int y) {
    const int count = SDL_GetNumVideoDisplays();
    for (int i = 0; i < count; ++i) {
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(i, &bounds) != 0) continue;
        const SDL_Point point{x, y};
        if (SDL_PointInRect(&point, &bounds)) {
            SDL_Rect usable = bounds;
            SDL_GetDisplayUsableBounds(i, &usable);
            return usable;
        }
    }
    SDL_Rect usable = PrimaryScreen();
    SDL_GetDisplayUsableBounds(0, &usable);
    return usable;
}

// Fits a size to an aspect by shrinking the dimension that is too large.
void FitToAspect(int& width, int& height, float aspect) {
    if (aspect <= 0.0f || height <= 0) return;
    const float current = static_cast<float>(width) / static_cast<float>(height);
    if (current > aspect)
        width = static_cast<int>(static_cast<float>(height) * aspect);
    else
        height = static_cast<int>(static_cast<float>(width) / aspect);
}
}  // namespace

GuiWindow::GuiWindow(std::atomic<bool>& isVisible) : visible(isVisible) {}

GuiWindow::~GuiWindow() {
    delete renderTarget;
    renderTarget = nullptr;
    if (window) {
        window->DeleteWindow();
        delete window;
        window = nullptr;
    }
}

std::uint32_t GuiWindow::Pack(float r, float g, float b, float a) {
    auto channel = [](float v) { return static_cast<std::uint32_t>(static_cast<int>(v * 255.0f)) & 0xFFu; };
    return channel(a) << 24 | channel(r) << 16 | channel(g) << 8 | channel(b);
}

void GuiWindow::SetupGuiWindow(int width, int height, int x, int y, bool active, bool rounded,
                               const std::string& title) {
    name = title;
    window = new WindowClass(width, height, x, y, active, rounded, title);
    std::lock_guard<WatchedMutex> lock(GuiManager::FreeCritical);
    renderTarget->offsetX = 10;
    renderTarget->offsetY = 30;
    renderTarget->width = width;
    renderTarget->height = height;
    renderTarget->Refresh();
    Publish();
}

void GuiWindow::Publish() {
    Published p;
    p.areaX = renderTarget->offsetX;
    p.areaY = renderTarget->offsetY;
    p.areaWidth = renderTarget->width;
    p.areaHeight = renderTarget->height;
    p.savedRenderWidth = savedRenderWidth;
    p.savedRenderHeight = savedRenderHeight;
    p.resolution = resolution;
    p.fullScreen = fullScreen.load();
    p.rounded = window != nullptr && window->GetRounded();
    published.Store(p);
}

void GuiWindow::SetSize(int width, int height, bool keepWindow, bool keepRenderTarget) {
    std::lock_guard<WatchedMutex> lock(GuiManager::FreeCritical);
    Resize(width, height, keepWindow, keepRenderTarget);
    Publish();
}

void GuiWindow::SetRenderTargetSize(int width, int height) {
    std::lock_guard<WatchedMutex> lock(GuiManager::FreeCritical);
    renderTarget->width = width;
    renderTarget->height = height;
    Publish();
}

void GuiWindow::Resize(int width, int height, bool keepWindow, bool keepRenderTarget) {
    const int windowWidth = keepWindow ? window->GetWidth() : width + 20;
    const int windowHeight = keepWindow ? window->GetHeight() : height + 40;
    if (!keepRenderTarget) {
        renderTarget->width = width;
        renderTarget->height = height;
    }
    renderTarget->Refresh();
    const SDL_Rect screen = PrimaryScreen();
    window->Place(screen.w / 2 - static_cast<int>(windowWidth * 0.5f),
                  screen.h / 2 - static_cast<int>(windowHeight * 0.5f), windowWidth, windowHeight);
}

// The window's place is the system's (atomics); the game area's offset is
// read as published.
void GuiWindow::SetPos(int x, int y) {
    const Published p = published.Load();
    window->SetPos(x - p.areaX, y - p.areaY);
}

void GuiWindow::SetTitle(const std::string& title) {
    std::lock_guard<WatchedMutex> lock(GuiManager::FreeCritical);
    window->SetTitle(title);
}

// The render thread changes the geometry when it takes a window into or out
// of full screen, holding FreeCritical for its whole turn; the game thread
// reads the published copy and so never waits for that turn.
WindowGeometry GuiWindow::Geometry() const {
    const Published p = published.Load();
    WindowGeometry g;
    g.x = window->GetXpos();
    g.y = window->GetYpos();
    g.width = window->GetWidth();
    g.height = window->GetHeight();
    g.areaX = p.areaX;
    g.areaY = p.areaY;
    g.areaWidth = p.areaWidth;
    g.areaHeight = p.areaHeight;
    g.renderHeight = IsFullScreenWanted() ? p.savedRenderHeight : p.areaHeight;
    g.resolution = p.resolution;
    g.fullScreen = p.fullScreen;
    return g;
}

int GuiWindow::GetX() const { return GetPictureArea().left; }
int GuiWindow::GetY() const { return GetPictureArea().top; }
int GuiWindow::GetWidth() const { return GetPictureArea().width; }
int GuiWindow::GetHeight() const { return GetPictureArea().height; }

// Full screen changes the corners on the render thread.
void GuiWindow::SetRounded(bool value) {
    std::lock_guard<WatchedMutex> lock(GuiManager::FreeCritical);
    window->SetRounded(value);
    Publish();
}

bool GuiWindow::IsRounded() const { return published.Load().rounded; }

bool GuiWindow::IsFullScreenWanted() const { return fullScreenWanted.load(); }

int GuiWindow::GetRenderWidth() const {
    const Published p = published.Load();
    return IsFullScreenWanted() ? p.savedRenderWidth : p.areaWidth;
}

int GuiWindow::GetRenderHeight() const {
    const Published p = published.Load();
    return IsFullScreenWanted() ? p.savedRenderHeight : p.areaHeight;
}

// The hit tests run on the game thread every frame: the window's place from
// its atomics, the game area as published, no lock.
bool GuiWindow::IsMouseInsideWindow(int x, int y) const {
    const int left = window->GetXpos(), top = window->GetYpos();
    return x >= left && x <= left + window->GetWidth() && y >= top && y <= top + window->GetHeight();
}

bool GuiWindow::IsMouseInsideGuiWindow(int x, int y) const {
    const Published p = published.Load();
    const int left = window->GetXpos() + p.areaX, top = window->GetYpos() + p.areaY;
    return x >= left && x <= left + p.areaWidth && y >= top && y <= top + p.areaHeight;
}

bool GuiWindow::IsMouseInsideMoveSection(int, int y) const {
    const int top = window->GetYpos();
    return y >= top + 10 && y <= top + 30;
}

bool GuiWindow::IsMouseInsideCloseButton(int x, int y) const {
    const int right = window->GetXpos() + window->GetWidth(), top = window->GetYpos();
    return x >= right - 30 && x <= right - 10 && y >= top + 5 && y <= top + 25;
}

bool GuiWindow::IsMouseInsideMinButton(int x, int y) const {
    const int right = window->GetXpos() + window->GetWidth(), top = window->GetYpos();
    return x >= right - 60 && x <= right - 40 && y >= top + 5 && y <= top + 25;
}

RESIZE_SIDE GuiWindow::IsMouseResizingLocation(int xi, int yi) const {
    const float x = static_cast<float>(xi), y = static_cast<float>(yi);
    const float L = window->GetXf(), T = window->GetYf();
    const float R = L + window->GetWidthf(), B = T + window->GetHeightf();
    const float m = static_cast<float>(resizeMargin);
    if (R - m < x && x < R && B - m < y && y < B) return RESIZE_BOTTOM_RIGHT;
    if (R - m < x && x < R && T < y && y < T + m) return RESIZE_TOP_RIGHT;
    if (L < x && x < L + m && B - m < y && y < B) return RESIZE_BOTTOM_LEFT;
    if (L < x && x < L + m && T < y && y < T + m) return RESIZE_TOP_LEFT;
    if (L - m < x && x < L + m && T < y && y < B) return RESIZE_LEFT;
    if (R - m < x && x < R + m && T < y && y < B) return RESIZE_RIGHT;
    if (L < x && x < R && T - m < y && y < T + m) return RESIZE_TOP;
    if (L < x && x < R && B - m < y && y < B + m) return RESIZE_BOTTOM;
    return RESIZE_NONE;
}

void GuiWindow::ResolveResizing(RESIZE_SIDE side) {
    const int dx = mouseX - previousMouseX, dy = mouseY - previousMouseY;
    int x = window->GetXpos(), y = window->GetYpos(), w = window->GetWidth(), h = window->GetHeight();
    const bool left = side == RESIZE_LEFT || side == RESIZE_TOP_LEFT || side == RESIZE_BOTTOM_LEFT;
    const bool right = side == RESIZE_RIGHT || side == RESIZE_TOP_RIGHT || side == RESIZE_BOTTOM_RIGHT;
    const bool top = side == RESIZE_TOP || side == RESIZE_TOP_LEFT || side == RESIZE_TOP_RIGHT;
    const bool bottom = side == RESIZE_BOTTOM || side == RESIZE_BOTTOM_LEFT || side == RESIZE_BOTTOM_RIGHT;
    if (left) {
        x += dx;
        w -= dx;
    }
    if (right) w += dx;
    if (top) {
        y += dy;
        h -= dy;
    }
    if (bottom) h += dy;
    window->Place(x, y, w, h);
    SetSize(w - 20, h - 40, false, false);
}

// Only the game thread changes the wish; the render thread carries it out.
void GuiWindow::ToggleFullScreen() { fullScreenWanted.store(!fullScreenWanted.load()); }

void GuiWindow::SetResolution(float value) {
    std::lock_guard<WatchedMutex> lock(GuiManager::FreeCritical);
    resolution = value;
    Publish();
}

void GuiWindow::ShowWindow() {
    window->ShowWindow();
    window->Activate();
    shown = true;
}

void GuiWindow::HideWindow() {
    window->HideWindow();
    shown = false;
    presented.Store(Presented{});
}

void GuiWindow::Update(float) {
    if (freed) return;
    WindowInput input;
    input.mouseX = Mouse.GetScreenX();
    input.mouseY = Mouse.GetScreenY();
    input.leftDown = Mouse.Pressed(0);
    input.leftClicked = Mouse.Triggered(0);
    input.toggleFullScreen = Keyboard.Triggered(DIK_F4);
    input.stretchSwitch = GetMyGame() != nullptr ? GameVars().resolutionAuto : stretchPixels;
    UpdateWith(input);
}

void GuiWindow::UpdateWith(const WindowInput& input) {
    if (freed) return;
    // The window manager's close button counts as a click on our own.
    if (window != nullptr && window->TakeCloseRequest()) CloseClicked(owner);
    closeColor.store(BUTTON_IDLE);
    minimizeColor.store(BUTTON_IDLE);
    mBorderColor.store(GetActive() ? ACTIVE_BORDER : chosenBorderColor);
    previousMouseX = mouseX;
    previousMouseY = mouseY;
    mouseX = input.mouseX;
    mouseY = input.mouseY;
    if (input.toggleFullScreen) ToggleFullScreen();
    if (input.stretchSwitch != stretchPixels) ApplyStretch(!stretchPixels);
    if (!input.leftDown) {
        moving = resizing = false;
        resizeSide = RESIZE_NONE;
    }
    const bool wanted = IsFullScreenWanted();
    const bool click = input.leftClicked;
    if (!wanted && GetActive()) {
        if (IsMouseInsideWindow(mouseX, mouseY)) {
            cursorStatus.store(CURSOR_FRAME);
            bool testMore = true;
            if (IsMouseInsideCloseButton(mouseX, mouseY)) {
                closeColor.store(BUTTON_HOVER);
                if (click) CloseClicked(owner);
            }
            if (IsMouseInsideMinButton(mouseX, mouseY)) {
                minimizeColor.store(BUTTON_HOVER);
                if (click) window->Minimize();
            }
            if (!resizable) {
                if (IsMouseResizingLocation(mouseX, mouseY) != RESIZE_NONE && click) moving = true;
            } else {
                if (!resizing) resizeSide = IsMouseResizingLocation(mouseX, mouseY);
                if (resizeSide != RESIZE_NONE) {
                    if (click) resizing = true;
                    testMore = false;
                }
            }
            if (testMore) {
                if (IsMouseInsideMoveSection(mouseX, mouseY)) {
                    if (click) moving = true;
                } else if (IsMouseInsideGuiWindow(mouseX, mouseY)) {
                    cursorStatus.store(CURSOR_GAME);
                }
            }
        } else {
            cursorStatus.store(CURSOR_OUTSIDE);
        }
    }
    if (wanted) cursorStatus.store(CURSOR_GAME);
    // A resize re-creates the render target the render thread draws into, so
    // it waits for FreeCritical; a move only asks the system to move the
    // window, whose place is atomics.
    if (resizing) {
        std::lock_guard<WatchedMutex> lock(GuiManager::FreeCritical);
        ResolveResizing(resizeSide);
    }
    if (moving && (mouseX != previousMouseX || mouseY != previousMouseY))
        window->SetPos(window->GetXpos() + mouseX - previousMouseX, window->GetYpos() + mouseY - previousMouseY);
    previousMouseX = mouseX;
    previousMouseY = mouseY;
}

void GuiWindow::ApplyStretch(bool stretch) {
    stretchPixels = stretch;
    if (!fullScreen.load()) return;
    std::lock_guard<WatchedMutex> lock(GuiManager::FreeCritical);
    HideWindow();
    DeActivate();
    // Stretched pixels: a small image scaled up to the screen; otherwise
    // as many pixels as the screen has.
    int width = stretch ? 853 : window->GetWidth();
    int height = stretch ? 480 : window->GetHeight();
    if (width < renderTarget->width || height < renderTarget->height) FitToAspect(width, height, resolution);
    renderTarget->width = width;
    renderTarget->height = height;
    renderTarget->offsetX = (window->GetWidth() - width) / 2;
    renderTarget->offsetY = (window->GetHeight() - height) / 2;
    renderTarget->Refresh();
    Publish();
}

void GuiWindow::Render() {
    if (freed) return;
    // A window destroyed from outside is drawn no more.
    if (!window->StillThere()) {
        shown = false;
        presented.Store(Presented{});
        return;
    }
    if (renderTarget->updated && visible.load()) {
        if (!shown) window->Activate();
        const GameArea area = RenderHelper(fullScreen.load());
        if (!shown) {
            window->ShowWindow();
            window->Activate();
        }
        shown = visible.load();
        if (shown && !presented.Load().shown) {
            // The system reports a window's showing (the pointer entering
            // it where the pointer is, the focus) as events the window
            // thread takes on its next turn; a request is carried out at the
            // end of a turn, so once this one is, they have been taken.
            WindowData taken;
            taken.kind = WINDOW_NONE;
            WindowClass::SendWinMessage(&taken);
        }
        presented.Store(Presented{area, shown});
    } else if (shown) {
        // Hidden until its state draws again; the request is sent only when
        // the window is on screen, so a hidden window costs the render turn
        // nothing.
        HideWindow();
    }
}

bool GuiWindow::OnScreen() const {
    const Presented p = presented.Load();
    return p.shown && p.area == GetPictureArea();
}

GameArea GuiWindow::RenderHelper(bool full, bool present) {
    if (!window) return GameArea{};
    WindowGeometry g = Geometry();
    g.fullScreen = full;
    const GameArea drawnAt = PictureArea(g);
    if (resolution < 0.0f || !window->GetHwnd()) return drawnAt;
    GraphicsEngine& engine = graphicsEngine;
    const int W = g.width, H = g.height;
    engine.SetWindowTarget(window->GetHwnd(), W, H);
    // A full-screen picture whose shape is not the screen's has opaque black
    // bars beside it; a framed window has its frame colour around the game area.
    engine.Clear(full ? 0xFF000000u : mBorderColor.load(), false);
    if (!full) {
        engine.SetViewport(g.areaX, g.areaY, g.areaWidth, g.areaHeight);
        engine.Clear(mGameAreaColor.load(), false);
    }
    const PictureRect picture = PlacePicture(g);
    if (picture.width <= 0 || picture.height <= 0) return drawnAt;
    engine.SetViewport(picture.x, picture.y, picture.width, picture.height);
    engine.RenderTexture(renderTarget->GetTexture(), picture.width, picture.height, full);
    if (!IsFullScreenWanted()) {
        engine.SetViewport(W - 30, 5, 20, 20);
        engine.DrawChromePicture("exit", closeColor.load());
        engine.SetViewport(W - 60, 5, 20, 20);
        engine.DrawChromePicture("minimize", minimizeColor.load());
        engine.DrawChromeTitle(window->GetTitle(), 15, 2, 25);
    }
    if (present) {
        SDL_GL_SwapWindow(window->GetHwnd());
        TraceStartup("first screen shown");
    }
    return drawnAt;
}

void GuiWindow::HandleFullscreen() {
    const bool wanted = IsFullScreenWanted();
    if (wanted == fullScreen.load()) return;
    std::lock_guard<WatchedMutex> lock(GuiManager::FreeCritical);
    presented.Store(Presented{});
    if (wanted) {
        window->HideWindow();
        const SDL_Rect monitor =
            MonitorAt(window->GetXpos() + window->GetWidth() / 2, window->GetYpos() + window->GetHeight() / 2);
        savedWidth = window->GetWidth();
        savedHeight = window->GetHeight();
        savedX = monitor.x + (monitor.w - savedWidth) / 2;
        savedY = monitor.y + (monitor.h - savedHeight) / 2;
        savedRenderWidth = renderTarget->width;
        savedRenderHeight = renderTarget->height;
        window->SetRounded(false);
        int renderWidth = renderTarget->width, renderHeight = renderTarget->height;
        if (monitor.w < renderWidth || monitor.h < renderHeight) {
            renderWidth = std::min(renderWidth, monitor.w);
            renderHeight = std::min(renderHeight, monitor.h);
            FitToAspect(renderWidth, renderHeight, resolution);
        }
        Resize(renderWidth, renderHeight, true, false);
        window->Place(monitor.x, monitor.y, monitor.w, monitor.h);
        renderTarget->offsetX = (monitor.w - renderWidth) / 2;
        renderTarget->offsetY = (monitor.h - renderHeight) / 2;
    } else {
        window->HideWindow();
        window->SetRounded(true);
        Resize(savedRenderWidth, savedRenderHeight, true, false);
        window->Place(savedX, savedY, savedWidth, savedHeight);
        renderTarget->offsetX = 10;
        renderTarget->offsetY = 30;
    }
    shown = false;
    fullScreen.store(wanted);
    Publish();
}

void GuiWindow::OnLostDevice() { renderTarget->Release(); }
void GuiWindow::OnReset() { renderTarget->Refresh(); }

}  // namespace GUI

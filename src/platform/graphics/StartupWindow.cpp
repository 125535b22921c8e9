// The start-up window of the renderer: shown by the main thread while the
// program loads, closed by the game thread before its first state.
#include "framework/Fatal.h"
#include "framework/Quit.h"
#include "framework/Resources.h"
#include "framework/Time.h"
#include "platform/graphics/DirectX.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/window/WindowClass.h"

bool GraphicsEngine::InitWindow(int width, int height) {
    SDL_Rect screen{0, 0, width, height};
    SDL_GetDisplayBounds(0, &screen);
    const int left = (screen.w - width) / 2, top = (screen.h - height) / 2;
    initialWindow = SDL_CreateWindow("Tavelin", left, top, width, height, SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
    if (!initialWindow) {
        ShowMessage("Window Creation Error!", "Cannot Create Window");
        return false;
    }
    // The render thread's context lives on a window of its own: the
    // start-up window is painted from pictures, not with GL.
    SetGLWindowAttributes();
    deviceWindow = SDL_CreateWindow("Tavelin device", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!deviceWindow) {
        SDL_DestroyWindow(initialWindow);
        initialWindow = nullptr;
        ShowMessage("DC Creation Error.", "Cannot Create Window");
        return false;
    }
    for (int i = 0; i < 3; ++i) {
        const unsigned short id = static_cast<unsigned short>(102 + i);
        if (!HasInternalResource(id)) continue;
        unsigned long size = 0;
        const void* bytes = LoadInternalResource(id, &size);
        initialPictures[i] = SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes, static_cast<int>(size)), 1);
    }
    return true;
}

bool GraphicsEngine::ShowInitialWindow() {
    if (!InitInitialWindow()) return false;
    SDL_ShowWindow(initialWindow);
    SDL_RaiseWindow(initialWindow);
    return true;
}

void GraphicsEngine::HandleInitialWindow() {
    SDL_Event event;
    while (SDL_PollEvent(&event))
        if (event.type == SDL_QUIT) Quitting.store(true);
    if (!initialWindow) return;
    SDL_Surface* picture = initialPictures[InitialPictureAt(SystemTimeMs())];
    SDL_Surface* surface = SDL_GetWindowSurface(initialWindow);
    if (!picture || !surface) return;
    SDL_Rect at{0, 0, picture->w, picture->h};
    SDL_BlitSurface(picture, nullptr, surface, &at);
    SDL_UpdateWindowSurface(initialWindow);
}

void GraphicsEngine::ReplaceInitialWindow() {
    if (initialWindow) {
        WindowData request;
        request.kind = WINDOW_DESTROY;
        request.hwnd = initialWindow;
        WindowClass::SendWinMessage(&request);
        initialWindow = nullptr;
        for (SDL_Surface*& picture : initialPictures) {
            SDL_FreeSurface(picture);
            picture = nullptr;
        }
    }
    initialWindowReplaced.store(true);
}

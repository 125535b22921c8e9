#pragma once
// A hidden window on SDL's offscreen video driver (EGL on Mesa's software
// GL when there is no display) with a renderer's device made on it: what
// the benchmarks that draw start from and end with.
#include <SDL2/SDL.h>

#include <cstdio>

#include "platform/graphics/DirectX.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/SheetData.h"

class HeadlessGL {
public:
    // Opens the window and the device; with sheets, loads the sprite sheets.
    // Says why on stderr and answers false when either cannot be made.
    bool Open(GraphicsEngine& engine, int width, int height, bool sheets) {
        if (!SDL_getenv("SDL_VIDEODRIVER")) SDL_setenv("SDL_VIDEODRIVER", "offscreen", 1);
        if (SDL_Init(SDL_INIT_VIDEO) != 0) {
            std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
            return false;
        }
        SetGLWindowAttributes();
        window = SDL_CreateWindow("bench", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        engine.SetDeviceWindow(window);
        if (!window || !engine.InitDX(width, height)) {
            std::fprintf(stderr, "no GL device: %s\n", SDL_GetError());
            return false;
        }
        device = &engine;
        loadedSheets = sheets;
        if (sheets) engine.LoadTextures();
        return true;
    }

    void Close() {
        if (device) {
            if (loadedSheets) {
                device->FreeTextures();
                FreeSheetData();
            }
            device->ReleaseDevice();
            device = nullptr;
        }
        if (window) SDL_DestroyWindow(window);
        window = nullptr;
        SDL_Quit();
    }

private:
    SDL_Window* window = nullptr;
    GraphicsEngine* device = nullptr;
    bool loadedSheets = false;
};

// A plain start-up window for builds whose window layer does not bring its
// own: 400 by 300, centred, without a frame, showing the start-up pictures
// in turn, closed by the main thread when the game thread asks.
#include <SDL2/SDL.h>

#include <atomic>

#include "framework/Fatal.h"
#include "framework/Quit.h"
#include "framework/Resources.h"
#include "framework/Time.h"

namespace {

SDL_Window* firstWindow = nullptr;
SDL_Surface* pictures[3] = {};
bool videoStarted = false;
std::atomic<bool> closeAsked{false};

void FreePictures() {
    for (SDL_Surface*& picture : pictures) {
        if (picture != nullptr) SDL_FreeSurface(picture);
        picture = nullptr;
    }
}

void LoadPictures() {
    for (int i = 0; i < 3; ++i) {
        const unsigned short id = static_cast<unsigned short>(102 + i);
        if (!HasInternalResource(id)) continue;
        unsigned long size = 0;
        const void* bytes = LoadInternalResource(id, &size);
        if (bytes == nullptr || size == 0) continue;
        pictures[i] = SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes, static_cast<int>(size)), 1);
    }
}

void DrawPicture() {
    // The picture changes every half second.
    SDL_Surface* picture = pictures[(SystemTimeMs() / 500) % 3];
    if (firstWindow == nullptr || picture == nullptr) return;
    SDL_Surface* surface = SDL_GetWindowSurface(firstWindow);
    if (surface == nullptr) return;
    SDL_BlitSurface(picture, nullptr, surface, nullptr);
    SDL_UpdateWindowSurface(firstWindow);
}

}  // namespace

bool OpenPlainFirstWindow() {
    if (!videoStarted) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            ShowMessage("Window Creation Error!", "Cannot Create Window");
            return false;
        }
        videoStarted = true;
    }
    closeAsked.store(false);
    firstWindow = SDL_CreateWindow("Tavelin", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 400, 300,
                                   SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
    if (firstWindow == nullptr) {
        ShowMessage("Window Creation Error!", "Cannot Create Window");
        return false;
    }
    LoadPictures();
    SDL_ShowWindow(firstWindow);
    SDL_RaiseWindow(firstWindow);
    DrawPicture();
    return true;
}

void PumpPlainFirstWindow() {
    // Nothing reads keys or the mouse before the game runs; only a quit
    // request counts.
    SDL_Event event;
    while (SDL_PollEvent(&event))
        if (event.type == SDL_QUIT) SetQuitting(nullptr);
    DrawPicture();
}

void AskToClosePlainFirstWindow() { closeAsked.store(true); }

bool PlainFirstWindowOpen() { return firstWindow != nullptr; }

// Main thread: closes the window once the game thread has asked (or always,
// at shut-down).
void ClosePlainFirstWindow(bool always) {
    if (firstWindow == nullptr || (!always && !closeAsked.load())) return;
    SDL_DestroyWindow(firstWindow);
    firstWindow = nullptr;
    FreePictures();
}

// Main thread, at the very end, once every other thread has ended and the
// devices are freed: gives the windows and the whole of SDL back.
void StopPlainVideo() {
    ClosePlainFirstWindow(true);
    videoStarted = false;
    SDL_Quit();
}

// Glimmerfall: entry point.
#include <SDL2/SDL.h>

#include "program/Startup.h"

int main() {
    const int status = ProgramMain();
    SDL_Quit();
    return status;
}

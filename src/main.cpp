// Glimmerfall: entry point.
#include <SDL2/SDL.h>

#include <cstdio>
#include <string>

#include "program/CommandLine.h"
#include "program/Startup.h"

int main(int argc, char** argv) {
    CommandLine line;
    std::string error;
    if (!ReadCommandLine(argc, argv, line, error)) {
        std::fprintf(stderr, "glimmerfall: %s\n%s", error.c_str(), CommandLineUsage());
        return 2;
    }
    if (line.help) {
        std::fputs(CommandLineUsage(), stdout);
        return 0;
    }
    SetStartScreen(line.startScreen);
    const int status = ProgramMain();
    SDL_Quit();
    return status;
}

// Glimmerfall: entry point.
#include <SDL2/SDL.h>

#include <cstdio>
#include <string>

#include "platform/window/WindowClass.h"
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
    if (line.testRun.Any() && !StartTestRun(line.testRun, error)) {
        std::fprintf(stderr, "glimmerfall: %s\n", error.c_str());
        return 2;
    }
    int status = ProgramMain();
    if (line.testRun.Any()) {
        const std::string failure = EndTestRun();
        if (!failure.empty()) {
            std::fprintf(stderr, "glimmerfall: the script failed: %s\n", failure.c_str());
            if (status == 0) status = 3;
        }
    }
    WindowClass::EndVideo();
    return status;
}

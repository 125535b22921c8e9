#include "framework/Fatal.h"

#include <SDL.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>

namespace {

std::mutex sinkLock;
FatalSink& CurrentSink() {
    static FatalSink sink;
    return sink;
}

bool DebuggerAttached() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("TracerPid:", 0) == 0) return std::atoi(line.c_str() + 10) != 0;
    }
    return false;
}

bool HaveDisplay() { return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr; }

}  // namespace

void ShowMessage(const char* text, const char* caption) {
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
    if (HaveDisplay()) SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr);
}

void FatalError(const char* text, const char* caption, int status) {
    if (status == 0) status = 1;  // a fatal error never reports success
    FatalSink sink;
    {
        std::lock_guard<std::mutex> hold(sinkLock);
        sink = CurrentSink();
    }
    if (sink) {
        sink(text ? text : "", caption ? caption : "", status);
        // A sink that returns has broken its contract: end anyway.
    } else {
        ShowMessage(text, caption);
        if (DebuggerAttached()) std::raise(SIGTRAP);
    }
    std::fflush(nullptr);
    _exit(status);
}

FatalSink SetFatalSink(FatalSink sink) {
    std::lock_guard<std::mutex> hold(sinkLock);
    FatalSink old = std::move(CurrentSink());
    CurrentSink() = std::move(sink);
    return old;
}

void DebugOutput(const char* text) { std::fputs(text ? text : "", stderr); }

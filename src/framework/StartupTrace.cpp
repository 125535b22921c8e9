#include "framework/StartupTrace.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <string>

void TraceStartup(const char* what) {
    static const bool enabled = [] {
        const char* v = std::getenv("GF_TRACE_STARTUP");
        return v != nullptr && *v != '\0' && std::string(v) != "0";
    }();
    if (!enabled) return;
    static std::mutex lock;
    static std::set<std::string> seen;
    std::lock_guard<std::mutex> hold(lock);
    if (!seen.insert(what).second) return;
    std::fprintf(stderr, "startup: %s\n", what);
    std::fflush(stderr);
}

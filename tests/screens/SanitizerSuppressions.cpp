// SDL keeps a small per-thread record (its error text) for every thread that
// calls it, here the render thread of the pixel tests, and never frees it. The tests keep the
// GL driver loaded, so what the driver keeps stays reachable at exit.
extern "C" const char* __lsan_default_suppressions() { return "leak:libSDL2\n"; }

// The rasteriser's worker threads synchronise inside the uninstrumented
// driver, which the thread checker cannot see.
extern "C" const char* __tsan_default_suppressions() {
    return "race:swrast_dri.so\nrace:libLLVM\ndeadlock:libLLVM\ndeadlock:swrast_dri.so\n";
}

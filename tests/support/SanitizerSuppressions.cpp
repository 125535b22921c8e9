// The sanitizers' suppressions, linked into every test program.
//
// SDL keeps a small per-thread record (its error text) for every thread that
// calls it (the render and input threads) and never frees it. The tests keep
// the GL driver loaded, so what the driver keeps stays reachable at exit.
// The dynamic loader's own bookkeeping of the libraries the driver opens is
// kept for the life of the process; it is found only through thread-local
// roots, which the editor's tests leave out of the scan.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libSDL2\nleak:add_to_global_resize\nleak:_dl_map_object_deps\n";
}

// The rasteriser's worker threads synchronise inside the uninstrumented
// driver, and the audio library hands updates to its mixer thread through
// lock-free queues: neither is visible to the thread checker.
extern "C" const char* __tsan_default_suppressions() {
    return "race:swrast_dri.so\nrace:libLLVM\ndeadlock:libLLVM\ndeadlock:swrast_dri.so\nrace:libopenal.so\n";
}

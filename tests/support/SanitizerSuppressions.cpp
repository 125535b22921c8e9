// The sanitizers' settings and suppressions, linked into every test program.

// The address sanitizer's runtime of this compiler takes a thread's
// dynamic thread-local block (which the C library allocates with malloc) for
// one with an old C library's header in front whenever the block happens to
// begin 16 bytes into a page, and reads a start and a size from before it.
// The leak check at exit then scans that made-up range and dies ("Tracer
// caught signal 11") after every test has passed: seldom, and more often on
// a loaded machine, where the threads' allocations interleave differently.
// Without that tracking the blocks are still found through each thread's
// block list, which the thread's own static storage points to, so no leak
// goes unseen.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }

// SDL keeps a small per-thread record (its error text) for every thread that
// calls it (the render and input threads) and never frees it. The tests keep
// the GL driver loaded, so what the driver keeps stays reachable at exit.
// The dynamic loader's own bookkeeping of the libraries the driver opens is
// kept for the life of the process; it is found through thread-local roots.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libSDL2\nleak:add_to_global_resize\nleak:_dl_map_object_deps\n";
}

// The rasteriser's worker threads synchronise inside the uninstrumented
// driver, and the audio library hands updates to its mixer thread through
// lock-free queues: neither is visible to the thread checker.
extern "C" const char* __tsan_default_suppressions() {
    return "race:swrast_dri.so\nrace:libLLVM\ndeadlock:libLLVM\ndeadlock:swrast_dri.so\nmutex:swrast_dri.so\n"
           "mutex:libLLVM\nrace:libopenal.so\n";
}

// Mesa's software rasteriser keeps a few allocations for the life of the
// process and frees them from code it generated at run time, which the leak
// checker cannot name; they are not the program's. The tests keep the GL
// driver loaded, so that what it keeps is still reachable at exit.
extern "C" const char* __lsan_default_suppressions() { return "leak:libubsan\nleak:realloc\n"; }

// The rasteriser's worker threads synchronise inside the uninstrumented
// driver, which the thread checker cannot see.
extern "C" const char* __tsan_default_suppressions() {
    return "race:swrast_dri.so\nrace:libLLVM\ndeadlock:libLLVM\ndeadlock:swrast_dri.so\n";
}

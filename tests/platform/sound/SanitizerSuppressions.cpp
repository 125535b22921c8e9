// The audio library hands property updates to its mixer thread through its
// own lock-free queues, inside uninstrumented code the thread checker cannot see.
extern "C" const char* __tsan_default_suppressions() { return "race:libopenal.so\n"; }

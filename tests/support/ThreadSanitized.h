#pragma once
// Whether the tests run under ThreadSanitizer, where every step of the
// program takes several times as long: the long runs of the whole program
// draw smaller and more seldom there, so that they finish in their time.
namespace sanitized {

#ifdef GF_THREAD_SANITIZED
inline constexpr bool kThreads = true;
#else
inline constexpr bool kThreads = false;
#endif

}  // namespace sanitized

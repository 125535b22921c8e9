#pragma once
// Frame timing for the drawing benchmarks. The machine may be shared, so a
// figure is the median of several rounds, each the mean of many frames; the
// render thread's own processor time (what it spends handing the frame to
// GL, apart from the rasteriser's threads) is measured beside the wall time.
#include <epoxy/gl.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

#include "platform/graphics/GraphicsEngine.h"

namespace timing {

inline double ClockMs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}
inline double ThreadMs() { return ClockMs(CLOCK_THREAD_CPUTIME_ID); }
inline double ProcessMs() { return ClockMs(CLOCK_PROCESS_CPUTIME_ID); }

struct Figures {
    double wallMs = 0.0;     // median over the rounds of the mean frame
    double wallMinMs = 0.0;  // the best and worst round
    double wallMaxMs = 0.0;
    double threadMs = 0.0;   // the render thread's own time, median
    double processMs = 0.0;  // processor time of every thread (the rasteriser's too), median
    double draws = 0.0;      // draw calls per frame
};

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// Runs `rounds` rounds of `frames` frames after `warmup` frames; queue(f)
// fills the frame, then the whole render turn is timed up to glFinish.
template <class Queue>
Figures Measure(Queue&& queue, int warmup, int rounds, int frames) {
    std::vector<double> wall, own, all;
    double draws = 0.0;
    int f = 0;
    for (; f < warmup; ++f) {
        queue(f);
        graphicsEngine.DrawAll();
        glFinish();
    }
    for (int r = 0; r < rounds; ++r) {
        double w = 0.0, t = 0.0, a = 0.0;
        for (int k = 0; k < frames; ++k, ++f) {
            queue(f);
            graphicsEngine.drawCalls = 0;
            const double a0 = ProcessMs();
            const double t0 = ThreadMs();
            const auto w0 = std::chrono::steady_clock::now();
            graphicsEngine.DrawAll();
            glFinish();
            const auto w1 = std::chrono::steady_clock::now();
            t += ThreadMs() - t0;
            a += ProcessMs() - a0;
            w += std::chrono::duration<double, std::milli>(w1 - w0).count();
            draws += static_cast<double>(graphicsEngine.drawCalls);
        }
        wall.push_back(w / frames);
        own.push_back(t / frames);
        all.push_back(a / frames);
    }
    Figures out;
    out.wallMs = Median(wall);
    out.wallMinMs = *std::min_element(wall.begin(), wall.end());
    out.wallMaxMs = *std::max_element(wall.begin(), wall.end());
    out.threadMs = Median(own);
    out.processMs = Median(all);
    out.draws = draws / (rounds * frames);
    return out;
}

}  // namespace timing

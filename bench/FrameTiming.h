#pragma once
// Frame timing for the drawing benchmarks. The machine may be shared, so a
// figure is the median of several rounds, each the mean of many frames; the
// render thread's own processor time (what it spends handing the frame to
// GL, apart from the rasteriser's threads) is measured beside the wall time.
#include <epoxy/gl.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
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

// One round: `frames` frames from frame `first`, each filled by queue(f)
// and then the whole render turn timed up to glFinish. Adds the round's
// mean frame (wall, render thread, every thread) to the lists.
template <class Queue>
void TimeRound(Queue&& queue, int first, int frames, std::vector<double>& wall, std::vector<double>& own,
               std::vector<double>& all, double& draws) {
    double w = 0.0, t = 0.0, a = 0.0;
    for (int k = 0; k < frames; ++k) {
        queue(first + k);
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

inline Figures Summarise(const std::vector<double>& wall, const std::vector<double>& own,
                         const std::vector<double>& all, double draws, int frames) {
    Figures out;
    out.wallMs = Median(wall);
    out.wallMinMs = *std::min_element(wall.begin(), wall.end());
    out.wallMaxMs = *std::max_element(wall.begin(), wall.end());
    out.threadMs = Median(own);
    out.processMs = Median(all);
    out.draws = draws / static_cast<double>(wall.size() * static_cast<std::size_t>(frames));
    return out;
}

inline void DrawUntimed(int frames, int first, auto&& queue) {
    for (int f = first; f < first + frames; ++f) {
        queue(f);
        graphicsEngine.DrawAll();
        glFinish();
    }
}

// Runs `rounds` rounds of `frames` frames after `warmup` frames; queue(f)
// fills the frame, then the whole render turn is timed up to glFinish.
template <class Queue>
Figures Measure(Queue&& queue, int warmup, int rounds, int frames) {
    std::vector<double> wall, own, all;
    double draws = 0.0;
    DrawUntimed(warmup, 0, queue);
    for (int r = 0; r < rounds; ++r) TimeRound(queue, warmup + r * frames, frames, wall, own, all, draws);
    return Summarise(wall, own, all, draws, frames);
}

// Several settings timed on the same frames: setup(row) puts a setting in
// place, and every round draws frames 0 to frames-1 under each setting in
// turn (after `warmup` untimed frames of its own, which make any target the
// setting sizes differently), so the rows compare like with like and a load
// that comes and goes falls on all of them alike.
template <class Setup, class Queue>
std::vector<Figures> MeasureRows(std::size_t rows, Setup&& setup, Queue&& queue, int warmup, int rounds, int frames) {
    std::vector<std::vector<double>> wall(rows), own(rows), all(rows);
    std::vector<double> draws(rows, 0.0);
    for (int r = 0; r < rounds; ++r)
        for (std::size_t row = 0; row < rows; ++row) {
            setup(row);
            DrawUntimed(warmup, 0, queue);
            TimeRound(queue, 0, frames, wall[row], own[row], all[row], draws[row]);
        }
    std::vector<Figures> out;
    for (std::size_t row = 0; row < rows; ++row)
        out.push_back(Summarise(wall[row], own[row], all[row], draws[row], frames));
    return out;
}

}  // namespace timing

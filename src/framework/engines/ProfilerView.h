#pragma once
// What the profiler viewer draws: the records the "Profiler" level fetches
// (the frame before the chosen one, the chosen frame, the frame after it) and
// the layout the "ProfilerDraw" engine makes of them.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Profiler.h"

// The level's `profiles` and `threadProfile` variables.
using ProfileLists = std::array<std::vector<Profile>, 3>;
using ProfileRecords = std::array<Profile, 3>;

// One bar of a section's share of its frame, in game units of the window.
struct ProfilerBar {
    int list = 0;  // 0 frame before, 1 chosen frame, 2 frame after
    float x = 0.0f, y = 0.0f, z = 0.0f;
    float width = 0.0f, height = 0.0f;
    std::uint32_t colour = 0;  // ARGB
};

// One line of text drawn with the viewer's text object.
struct ProfilerTextLine {
    std::string text;
    float x = 0.0f, y = 0.0f;
    bool hasZ = false;  // the headline keeps the text object's own depth
    float z = 0.0f;
    float width = 0.0f, height = 0.0f, charHeight = 0.0f;
};

struct ProfilerLayout {
    std::vector<ProfilerBar> bars;
    std::vector<ProfilerTextLine> lines;  // the headline first, when there is one
    bool headline = false;
    std::size_t barsBeforeHeadline = 0;  // the frame before's bars are drawn ahead of it
};

// Statistics modes of the viewer.
enum ProfilerViewMode { PROFILER_HISTORY = 0, PROFILER_AVERAGES = 1, PROFILER_MAXIMA = 2 };

// Lays the viewer out: the headline of the chosen frame, up to 20 bars per
// list from the scroll position on, and the chosen frame's section labels.
// A frame of length 0 (or a window of width 0) gives no bars instead of
// dividing by zero; the texts are formatted to their full length.
ProfilerLayout LayOutProfilerView(const ProfileRecords& frames, const ProfileLists& lists, int mode, int stamp,
                                  double scrollValue, int renderWidth, double frequency);

// The scroll position: the slider's value truncated, kept within the chosen
// frame's sections (0 when there are none).
int ProfilerScrollPosition(double sliderValue, std::size_t sectionCount);

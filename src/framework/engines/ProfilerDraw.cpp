// "ProfilerDraw": each frame raises its own "Draw", which draws the profiler
// viewer's records (the "Profiler" level's) as bars and labels. Levels take
// it at 1.00001, just before "GraphicsDraw".
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "framework/Level.h"
#include "framework/State.h"
#include "framework/Time.h"
#include "framework/engines/BuiltInEngines.h"
#include "framework/engines/ProfilerView.h"

namespace {

// printf-style formatting into a string of whatever length the text needs.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, again);
        text.resize(static_cast<std::size_t>(length));
    }
    va_end(again);
    return text;
}

double Seconds(std::int64_t ticks, double frequency) {
    return frequency > 0.0 ? static_cast<double>(ticks) / frequency : 0.0;
}

// A label's or the headline's text: the name, in the maxima mode with the
// stamp of the frame of the maximum, and the milliseconds.
std::string LineText(const Profile& record, int mode, int stamp, double frequency, bool headline) {
    const double ms = Seconds(record.ticks, frequency) * 1000.0;
    if (mode == PROFILER_MAXIMA)
        return Format("%s (%i):  %.3f ms", record.name.c_str(),
                      static_cast<int>(static_cast<std::uint32_t>(record.start)), ms);
    if (headline && mode == PROFILER_HISTORY) return Format("%s (%i):  %.3f ms", record.name.c_str(), stamp, ms);
    return Format("%s:  %.3f ms", record.name.c_str(), ms);
}

std::uint32_t BarColour(int list, int c) {
    int red, green, blue;
    switch (list) {
        case 0:
            red = c / 4 + 144;
            green = 179;
            blue = (255 - c) / 4 + 144;
            break;
        case 1:
            red = c;
            green = 100;
            blue = 255 - c;
            break;
        default: red = green = blue = 140; break;
    }
    auto byte = [](int v) { return static_cast<std::uint32_t>(v) & 0xFFu; };
    return 0xFF000000u | byte(red) << 16 | byte(green) << 8 | byte(blue);
}

}  // namespace

int ProfilerScrollPosition(double sliderValue, std::size_t sectionCount) {
    // The slider's value is clamped before it is truncated, so that a value
    // far outside the int range cannot overflow the conversion.
    const double bound = 1e9;
    const double value = std::isfinite(sliderValue) ? std::fmax(-bound, std::fmin(bound, sliderValue)) : 0.0;
    int position = static_cast<int>(value);
    const int n = static_cast<int>(std::min<std::size_t>(sectionCount, 1u << 30));
    if (position >= n) position = n - 1;
    if (position < 0) position = 0;
    return position;
}

ProfilerLayout LayOutProfilerView(const ProfileRecords& frames, const ProfileLists& lists, int mode, int stamp,
                                  double scrollValue, int renderWidth, double frequency) {
    ProfilerLayout layout;
    const int scroll = ProfilerScrollPosition(scrollValue, lists[1].size());
    const float S = static_cast<float>(renderWidth);
    for (int k = 0; k < 3; ++k) {
        const Profile& frame = frames[static_cast<std::size_t>(k)];
        if (frame.name.empty()) continue;
        const double frameSeconds = Seconds(frame.ticks, frequency);
        if (k == 1) {
            ProfilerTextLine headline;
            headline.text = LineText(frame, mode, stamp, frequency, true);
            headline.x = 0.0f;
            headline.y = 0.42f;
            headline.width = 0.7f;
            headline.height = 0.1f;
            headline.charHeight = 0.04f;
            layout.lines.push_back(std::move(headline));
            layout.headline = true;
            layout.barsBeforeHeadline = layout.bars.size();
        }
        // Bars are shares of the frame's length: a frame of no length, or a
        // window without width, has nothing to scale them by.
        if (!(frameSeconds > 0.0) || renderWidth <= 0) continue;
        const std::vector<Profile>& list = lists[static_cast<std::size_t>(k)];
        for (int j = 0; j < 20 && static_cast<std::size_t>(scroll + j) < list.size(); ++j) {
            const Profile& section = list[static_cast<std::size_t>(scroll + j)];
            double f = Seconds(section.ticks, frequency) / frameSeconds;
            if (!std::isfinite(f)) continue;
            f = std::fmax(-1000.0, std::fmin(1000.0, f));  // keeps the conversions below defined
            const int c = static_cast<int>(255.99 * f);
            const int w = static_cast<int>(408.99 * f);
            const int t = k == 0 ? 9 : k == 1 ? 6 : 2;
            ProfilerBar bar;
            bar.list = k;
            bar.width = static_cast<float>(w) / S;
            bar.height = static_cast<float>(2 * t) / S;
            bar.x = -234.0f / S + static_cast<float>(w) / (2.0f * S);
            bar.y = 190.0f / S - 0.038f * static_cast<float>(j);
            bar.z = 0.5f * static_cast<float>(k);
            bar.colour = BarColour(k, c);
            layout.bars.push_back(bar);
        }
    }
    const std::vector<Profile>& chosen = lists[1];
    for (int j = 0; j < 20 && static_cast<std::size_t>(scroll + j) < chosen.size(); ++j) {
        const Profile& section = chosen[static_cast<std::size_t>(scroll + j)];
        ProfilerTextLine label;
        label.text = LineText(section, mode, stamp, frequency, false);
        label.x = 0.05f * static_cast<float>(section.count) - 0.15f;
        label.y = 0.37f - 0.038f * static_cast<float>(j);
        label.hasZ = true;
        label.z = 5.0f;
        label.width = 0.6f;
        label.height = 0.04f;
        label.charHeight = 0.02f;
        layout.lines.push_back(std::move(label));
    }
    return layout;
}

namespace EngineData::ProfilerDraw {

namespace {
VariableOffsetTable table;

void RaiseDraw(Entity* self, Entity*) { Entity::_DoEvent("Draw", self, self); }

void Draw(Entity* self, Entity*) {
    Level* level = self->GetMyLevel();
    if (level == nullptr) return;
    // The viewer's records are the level's variables; a level that is not the
    // viewer has none of them, and nothing is drawn.
    auto* lists = FindVariable<ProfileLists>(level, enum_profiles);
    auto* frames = FindVariable<ProfileRecords>(level, enum_threadProfile);
    auto* stamp = FindVariable<std::int32_t>(level, enum_stamp);
    auto* mode = FindVariable<std::int32_t>(level, enum_currentStatistics);
    auto* lock = FindVariable<std::recursive_mutex>(level, enum_Critical);
    if (lists == nullptr || frames == nullptr || stamp == nullptr || mode == nullptr || lock == nullptr) return;

    Entity* posSize = self->GetMyObject("PosSize");
    Entity* textDummy = self->GetMyObject("TextDummy");
    Entity* slider = self->GetMyObject("PositionSlider");
    const float* sliderValue = FindVariable<float>(slider, enum_value);

    std::lock_guard<std::recursive_mutex> hold(*lock);
    State* remembered = State::_currentState;
    State::_currentState = self->_state;
    const int width = engineHooks.renderWidth != nullptr ? engineHooks.renderWidth() : 0;
    State::_currentState = remembered;
    const ProfilerLayout layout =
        LayOutProfilerView(*frames, *lists, *mode, *stamp, sliderValue != nullptr ? *sliderValue : 0.0, width,
                           static_cast<double>(PerformanceFrequency));

    auto text = [&](const ProfilerTextLine& line) {
        if (textDummy != nullptr && engineHooks.drawTextLine != nullptr)
            engineHooks.drawTextLine(textDummy, self, line);
    };
    auto bar = [&](const ProfilerBar& quad) {
        if (posSize != nullptr) {
            posSize->SetSize(quad.width, quad.height);
            posSize->SetPosition(quad.x, quad.y);
        }
        if (engineHooks.addBar != nullptr) engineHooks.addBar(quad);
    };
    // In the order of the lists: the frame before's bars, the headline, the
    // other bars, then the chosen frame's labels.
    std::size_t next = 0;
    if (layout.headline) {
        for (; next < layout.barsBeforeHeadline; ++next) bar(layout.bars[next]);
        text(layout.lines[0]);
    }
    for (; next < layout.bars.size(); ++next) bar(layout.bars[next]);
    for (std::size_t line = layout.headline ? 1 : 0; line < layout.lines.size(); ++line) text(layout.lines[line]);
}
}  // namespace

struct _DATA : Engine {
    _DATA() : Engine(sizeof(_DATA)) {
        SetUpPrototype(*this, table);
        _AddEvent("Load", Event());
        _AddEvent("Update", &RaiseDraw);
        _AddEvent("Unload", Event());
        _AddEvent("Draw", &Draw);
    }
};

Engine* _Init() { return new _DATA(); }

}  // namespace EngineData::ProfilerDraw

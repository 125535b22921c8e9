#include "screens/PlayHud.h"

#include <array>
#include <cstdio>
#include <tuple>

#include "framework/BuiltInLevels.h"
#include "framework/LevelCollision.h"
#include "framework/Resources.h"
#include "objects/GameplayHooks.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Text.h"

namespace PlayHud {

namespace {

// The settings that lay the text out centred on (x, y), sizes in the
// frame's units.
TextSettings Settings(const Lettering& look, float x, float y, float r) {
    TextSettings s;
    s.hAlign = 1;
    s.vAlign = 1;
    s.multiLine = false;
    s.fixedWidth = false;
    s.x = x;
    s.y = y;
    s.z = look.z;
    s.charHeight = look.charHeight / r;
    s.width = 8.0f / r;
    s.height = 2.0f * look.charHeight / r;
    s.font = look.font != nullptr ? look.font : "default";
    return s;
}

}  // namespace

std::string Clock(std::int32_t frames, bool hundredths) {
    if (frames < 0) frames = 0;
    const std::int64_t centis = static_cast<std::int64_t>(frames) * 100 / 60;
    const std::int64_t minutes = centis / 6000, seconds = centis / 100 % 60, rest = centis % 100;
    char text[48];
    if (hundredths) {
        std::snprintf(text, sizeof text, "%lld:%02lld.%02lld", static_cast<long long>(minutes),
                      static_cast<long long>(seconds), static_cast<long long>(rest));
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld.%lld", static_cast<long long>(minutes),
                      static_cast<long long>(seconds), static_cast<long long>(rest / 10));
    }
    return text;
}

std::string LevelTitle(int index) {
    if (index < 0 || index >= static_cast<int>(BuiltInLevelNames.size())) return "";
    std::string name = BuiltInLevelNames[static_cast<std::size_t>(index)];
    const std::size_t level = name.find("Level");
    if (level == std::string::npos) return name;
    std::string number = name.substr(level + 5);
    while (number.size() > 1 && number.front() == '0') number.erase(number.begin());
    return name.substr(0, level) + " Level " + number;
}

Totals LevelTotals(int index) {
    constexpr std::size_t kCount = std::tuple_size_v<decltype(BuiltInLevelNames)>;
    static std::array<Totals, kCount> totals{};
    static std::array<bool, kCount> known{};
    if (index < 0 || index >= static_cast<int>(kCount)) return {};
    const auto i = static_cast<std::size_t>(index);
    if (!known[i]) {
        known[i] = true;
        LevelCollision grid;
        if (HasInternalResource(static_cast<unsigned short>(LevelCollision::kFirstResource + index)) &&
            grid.SLoad(index)) {
            for (int c = 0; c < grid.GetWidth() * grid.GetHeight(); ++c) {
                totals[i].shards += grid.GetCell(c) == LevelCellValue::MoonShard ? 1 : 0;
                totals[i].fireflies += grid.GetCell(c) == LevelCellValue::Fireflies ? 1 : 0;
            }
        }
    }
    return totals[i];
}

float Width(const std::string& text, const Lettering& look) {
    if (text.empty()) return 0.0f;
    TextSettings s = Settings(look, 0.0f, 0.0f, 1.0f);
    TextData d;
    CalcText(text, s, d);
    return d.totalWidth * look.charHeight;
}

void Letter(const std::string& text, const Lettering& look) {
    if (text.empty() || graphicsEngine.GetCurrentBuffer() == nullptr) return;
    float cx = 0.0f, cy = 0.0f, r = 1.0f;
    gameplayHooks.camera(cx, cy, r);
    if (r == 0.0f) r = 1.0f;
    TextSettings s = Settings(look, 0.0f, 0.0f, r);
    // One layout serves the outline's eight passes and the letters.
    TextData layout;
    CalcText(text, s, layout);
    s.information = &layout;
    const float width = layout.totalWidth * look.charHeight;
    float x = look.x;
    if (look.hAlign == 0) x += width / 2.0f;
    if (look.hAlign == 2) x -= width / 2.0f;
    s.x = x / r + cx;
    s.y = look.y / r + cy;
    const float step = look.charHeight / 15.0f / r;
    const float offsets[8][2] = {{-1, 0},        {1, 0},        {0, -1},       {0, 1},
                                 {-0.7f, -0.7f}, {0.7f, -0.7f}, {-0.7f, 0.7f}, {0.7f, 0.7f}};
    for (const auto& o : offsets) {
        DrawTextQuads(text, s, [&](float lx, float ly, float, float w, float h, const Frame& frame, std::uint32_t) {
            graphicsEngine.AddFrame(lx + o[0] * step, ly + o[1] * step, look.z - 0.001f, w, h, 0.0f, frame,
                                    static_cast<int>(look.outline));
        });
    }
    DrawTextQuads(text, s, [&](float lx, float ly, float, float w, float h, const Frame& frame, std::uint32_t) {
        graphicsEngine.AddFrame(lx, ly, look.z, w, h, 0.0f, frame, static_cast<int>(look.colour));
    });
}

void Picture(const char* texture, float x, float y, float z, float width, float height, std::uint32_t colour) {
    float cx = 0.0f, cy = 0.0f, r = 1.0f;
    gameplayHooks.camera(cx, cy, r);
    if (r == 0.0f) r = 1.0f;
    gameplayHooks.addFrame(x / r + cx, y / r + cy, z, width / r, height / r, 0.0f, texture, colour);
}

}  // namespace PlayHud

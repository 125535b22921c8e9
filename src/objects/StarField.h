#pragma once
// The twinkling star field shared by "MenuStars" and the HUD moon: 480 stars
// in view units (x from -0.5 to 0.5 across the view, y up from its centre),
// each fading in and out once per turn of its phase and born again elsewhere.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "framework/Variables.h"
#include "framework/Vector.h"
#include "platform/graphics/Texture.h"

namespace StarField {

constexpr int kStars = 480;
constexpr float kTurn = 6.28318f;

inline float Unit() { return static_cast<float>(std::rand() & 0x3FF) / 1024.0f; }

// One star's birth; phase is the start phase, or drawn when negative.
template <class Vars>
void Place(Vars& v, int i, bool drawPhase) {
    const float x = Unit(), y = Unit();
    v.starPosition[i] = D3DXVECTOR2(x - 0.5f, y * 0.5f);
    const float size = 0.005f + Unit() * 0.005f;
    v.starSize[i] = D3DXVECTOR2(size, size);
    const float phase = Unit() * kTurn;
    v.starPhase[i] = drawPhase ? phase : 0.0f;
    v.starAlpha[i] = Unit() * 0.55f + 0.2f;
    v.starSpeed[i] = Unit() * 0.02f + 0.03f;
    if ((std::rand() & 7) == 0) v.starPosition[i].y = v.starPosition[i].y * 0.4f - 0.2f;  // one in eight sits lower
    if ((std::rand() & 0x7F) == 0) v.starAlpha[i] = v.starAlpha[i] * 0.25f + 0.75f;       // one in 128 is bright
}

// Records the star field's variables in a type's offset table.
template <class Vars>
void BindVariables(VariableOffsetTable& table, const Entity& prototype, const Vars& v) {
    BindVariable(table, prototype, enum_currentStar, v.currentStar);
    BindVariable(table, prototype, enum_starPosition, v.starPosition);
    BindVariable(table, prototype, enum_starSize, v.starSize);
    BindVariable(table, prototype, enum_starPhase, v.starPhase);
    BindVariable(table, prototype, enum_starSpeed, v.starSpeed);
    BindVariable(table, prototype, enum_starAlpha, v.starAlpha);
}

template <class Vars>
void Scatter(Vars& v) {
    for (int i = 0; i < kStars; ++i) Place(v, i, true);
}

template <class Vars>
void Twinkle(Vars& v) {
    for (int i = 0; i < kStars; ++i) {
        v.starPhase[i] += v.starSpeed[i];
        if (v.starPhase[i] > kTurn) Place(v, i, false);
    }
}

// The stars' colour: violet-white, invisible at phase 0 and brightest at half a turn.
inline std::uint32_t Colour(float phase, float alpha) {
    const float f = std::cos(phase);
    const auto a = static_cast<std::uint32_t>(static_cast<int>((128.0f - f * 128.0f) * alpha)) & 0xFFu;
    return a << 24 | 0x008080FFu;
}

// Queues the stars into the background list of buffer for a camera at
// (cx, cy) with reciprocal scale r and the view's aspect, at depth z.
template <class Vars, class Buffer>
void Draw(const Vars& v, Buffer& buffer, float cx, float cy, float r, float aspect, float z) {
    const Frame& star = FrameMap("star", 0, 0);
    for (int i = 0; i < kStars; ++i) {
        buffer.AddBackground(v.starPosition[i].x * aspect / r + cx, v.starPosition[i].y / r + cy, z,
                             v.starSize[i].x / r, v.starSize[i].y / r, 0.0f, star,
                             static_cast<int>(Colour(v.starPhase[i], v.starAlpha[i])));
    }
}

}  // namespace StarField

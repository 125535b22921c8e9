#pragma once
#include <cstdint>

struct GLTexture;
struct Texture;

// One queued quad.
struct Plane2D {
    float depth = 0.0f;        // sort key: larger depths are drawn later, on top
    float x = 0.0f, y = 0.0f;  // centre, game units, y up
    float width = 0.0f, height = 0.0f;
    float rotation = 0.0f;         // radians, counter-clockwise
    std::int32_t colour = -1;      // packed ARGB tint
    GLTexture* texture = nullptr;  // null: draw layer render target sourceLayer
    float u = 0.0f, v = 0.0f, du = 1.0f, dv = 1.0f;
    unsigned int sourceLayer = 0xFFFFFFFFu;
    const Texture* picture = nullptr;  // the sheet picture it shows, when queued by frame

    static bool SortPredicate(const Plane2D& a, const Plane2D& b) { return a.depth < b.depth; }
};

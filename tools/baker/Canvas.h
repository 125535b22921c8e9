#pragma once
// A float RGBA canvas (premultiplied alpha) on which the baker draws soft,
// anti-aliased shapes from signed distances, with optional glow.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Color {
    float r = 1, g = 1, b = 1, a = 1;  // straight alpha, 0..1
};

// "#rrggbb" or "#rrggbbaa"; false when malformed.
bool ParseColor(const std::string& text, Color& out);

struct Paint {
    enum Kind { Solid, Vertical, Radial } kind = Solid;
    Color a, b;  // Solid: a. Vertical: a at the top, b at the bottom. Radial: a at the centre, b at the edge.
};

struct Style {
    bool fill = true;
    Paint paint;
    bool stroke = false;
    Color strokeColor;
    float strokeWidth = 2.0f;
    bool glow = false;
    Color glowColor;
    float glowRadius = 4.0f;
    float softness = 1.0f;  // width of the anti-aliased edge in pixels
    float opacity = 1.0f;
};

// Signed distance in pixels from a point to a shape's outline, negative inside.
using Distance = std::function<float(float x, float y)>;

struct Bounds {
    float x0, y0, x1, y1;  // the shape's box, for gradients
};

class Canvas {
public:
    Canvas(int width, int height);
    int Width() const { return width; }
    int Height() const { return height; }

    // Every later shape is drawn scale times the size it is given in:
    // positions, stroke widths, glow radii and soft edges grow with it, while
    // the anti-aliased edge stays at least one pixel wide. Draws one picture
    // at several sizes (the desktop's icons) from one description.
    void SetScale(float s) { scale = s; }
    float Scale() const { return scale; }

    // Draws a shape given by its distance function.
    void Draw(const Distance& distance, const Bounds& bounds, const Style& style);
    // Draws a coverage mask (0..1 per pixel, canvas-sized, already at the
    // scale), as text comes; bounds in unscaled units like a shape's.
    void DrawMask(const std::vector<float>& mask, const Bounds& bounds, const Style& style);

    // Straight-alpha RGBA8; fully transparent pixels take the colour of their
    // neighbours so filtering never darkens an edge.
    std::vector<unsigned char> ToRGBA8() const;

private:
    void Composite(const std::vector<float>& fillMask, const std::vector<float>& strokeMask, const Bounds& bounds,
                   const Style& style);
    Style Scaled(const Style& style) const;
    Bounds Scaled(const Bounds& bounds) const;
    int width, height;
    float scale = 1.0f;
    std::vector<float> px;  // premultiplied r, g, b, a
};

// Distance functions of the shapes.
Distance CircleDistance(float cx, float cy, float r);
Distance EllipseDistance(float cx, float cy, float rx, float ry);
Distance RectDistance(float x, float y, float w, float h, float radius);
Distance LineDistance(float x1, float y1, float x2, float y2, float width);
Distance PolygonDistance(std::vector<float> xy);
std::vector<float> StarPoints(float cx, float cy, float outer, float inner, int points, float rotationDegrees);

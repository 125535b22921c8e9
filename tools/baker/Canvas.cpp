#include "Canvas.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

bool ParseColor(const std::string& text, Color& out) {
    if ((text.size() != 7 && text.size() != 9) || text[0] != '#') return false;
    unsigned v[4] = {0, 0, 0, 255};
    for (size_t i = 0; 1 + 2 * i < text.size(); ++i) {
        const char hi = text[1 + 2 * i], lo = text[2 + 2 * i];
        if (!std::isxdigit(static_cast<unsigned char>(hi)) || !std::isxdigit(static_cast<unsigned char>(lo)))
            return false;
        v[i] = static_cast<unsigned>(std::strtoul(text.substr(1 + 2 * i, 2).c_str(), nullptr, 16));
    }
    out = {v[0] / 255.0f, v[1] / 255.0f, v[2] / 255.0f, v[3] / 255.0f};
    return true;
}

Canvas::Canvas(int w, int h) : width(w), height(h), px(static_cast<size_t>(w) * static_cast<size_t>(h) * 4, 0.0f) {}

namespace {

float Coverage(float d, float softness) {
    if (softness <= 0.0f) return d <= 0.0f ? 1.0f : 0.0f;
    return std::clamp(0.5f - d / softness, 0.0f, 1.0f);
}

// Three box blurs approximate a Gaussian of the given radius.
void Blur(std::vector<float>& m, int w, int h, float radius) {
    const int r = std::max(1, static_cast<int>(radius / 1.7f + 0.5f));
    std::vector<float> tmp(m.size());
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) {
            float sum = 0;
            for (int x = -r; x <= r; ++x) sum += (x >= 0 && x < w) ? m[static_cast<size_t>(y * w + x)] : 0.0f;
            for (int x = 0; x < w; ++x) {
                tmp[static_cast<size_t>(y * w + x)] = sum / static_cast<float>(2 * r + 1);
                const int out = x - r, in = x + r + 1;
                if (out >= 0) sum -= m[static_cast<size_t>(y * w + out)];
                if (in < w) sum += m[static_cast<size_t>(y * w + in)];
            }
        }
        for (int x = 0; x < w; ++x) {
            float sum = 0;
            for (int y = -r; y <= r; ++y) sum += (y >= 0 && y < h) ? tmp[static_cast<size_t>(y * w + x)] : 0.0f;
            for (int y = 0; y < h; ++y) {
                m[static_cast<size_t>(y * w + x)] = sum / static_cast<float>(2 * r + 1);
                const int out = y - r, in = y + r + 1;
                if (out >= 0) sum -= tmp[static_cast<size_t>(out * w + x)];
                if (in < h) sum += tmp[static_cast<size_t>(in * w + x)];
            }
        }
    }
}

Color Mix(const Color& a, const Color& b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

}  // namespace

void Canvas::Composite(const std::vector<float>& fillMask, const std::vector<float>& strokeMask, const Bounds& bounds,
                       const Style& style) {
    auto over = [&](size_t i, const Color& c, float coverage) {
        const float a = c.a * coverage * style.opacity;
        if (a <= 0.0f) return;
        float* p = &px[i * 4];
        p[0] = c.r * a + p[0] * (1 - a);
        p[1] = c.g * a + p[1] * (1 - a);
        p[2] = c.b * a + p[2] * (1 - a);
        p[3] = a + p[3] * (1 - a);
    };
    if (style.glow) {
        std::vector<float> glow(fillMask.size());
        // A faint fill glows faintly: the glow follows what is actually seen.
        const float fillAlpha =
            style.fill ? std::max(style.paint.a.a, style.paint.kind == Paint::Solid ? 0.0f : style.paint.b.a) : 0.0f;
        for (size_t i = 0; i < glow.size(); ++i) {
            glow[i] = std::max(fillMask[i] * fillAlpha, strokeMask.empty() ? 0.0f : strokeMask[i]);
        }
        Blur(glow, width, height, style.glowRadius);
        for (size_t i = 0; i < glow.size(); ++i) over(i, style.glowColor, std::min(1.0f, glow[i] * 1.6f));
    }
    const float cx = (bounds.x0 + bounds.x1) / 2, cy = (bounds.y0 + bounds.y1) / 2;
    const float radius = std::max(1e-3f, std::max(bounds.x1 - bounds.x0, bounds.y1 - bounds.y0) / 2);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const size_t i = static_cast<size_t>(y * width + x);
            if (style.fill && fillMask[i] > 0.0f) {
                Color c = style.paint.a;
                const float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
                if (style.paint.kind == Paint::Vertical) {
                    c = Mix(style.paint.a, style.paint.b, (fy - bounds.y0) / std::max(1e-3f, bounds.y1 - bounds.y0));
                } else if (style.paint.kind == Paint::Radial) {
                    c = Mix(style.paint.a, style.paint.b, std::hypot(fx - cx, fy - cy) / radius);
                }
                over(i, c, fillMask[i]);
            }
            if (!strokeMask.empty()) over(i, style.strokeColor, strokeMask[i]);
        }
    }
}

Style Canvas::Scaled(const Style& style) const {
    Style s = style;
    s.strokeWidth *= scale;
    s.glowRadius *= scale;
    s.softness = std::max(std::min(style.softness, 1.0f), style.softness * scale);
    return s;
}

Bounds Canvas::Scaled(const Bounds& b) const { return {b.x0 * scale, b.y0 * scale, b.x1 * scale, b.y1 * scale}; }

void Canvas::Draw(const Distance& distance, const Bounds& unscaledBounds, const Style& unscaledStyle) {
    const Style style = Scaled(unscaledStyle);
    const Bounds bounds = Scaled(unscaledBounds);
    std::vector<float> fill(static_cast<size_t>(width) * static_cast<size_t>(height), 0.0f);
    std::vector<float> stroke;
    if (style.stroke) stroke.assign(fill.size(), 0.0f);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // The distance in pixels of this canvas.
            const float d =
                distance((static_cast<float>(x) + 0.5f) / scale, (static_cast<float>(y) + 0.5f) / scale) * scale;
            const size_t i = static_cast<size_t>(y * width + x);
            fill[i] = style.fill ? Coverage(d, style.softness) : 0.0f;
            if (style.stroke) stroke[i] = Coverage(std::fabs(d) - style.strokeWidth / 2, style.softness);
        }
    }
    Composite(fill, stroke, bounds, style);
}

void Canvas::DrawMask(const std::vector<float>& mask, const Bounds& bounds, const Style& style) {
    Composite(mask, {}, Scaled(bounds), Scaled(style));
}

std::vector<unsigned char> Canvas::ToRGBA8() const {
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<float> straight(n * 4);
    for (size_t i = 0; i < n; ++i) {
        const float a = px[i * 4 + 3];
        for (int c = 0; c < 3; ++c) straight[i * 4 + c] = a > 1e-6f ? px[i * 4 + c] / a : 0.0f;
        straight[i * 4 + 3] = a;
    }
    // Bleed colour into transparent pixels, a few rings deep.
    std::vector<bool> known(n);
    for (size_t i = 0; i < n; ++i) known[i] = straight[i * 4 + 3] > 0.5f / 255;
    for (int ring = 0; ring < 3; ++ring) {
        std::vector<bool> next = known;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const size_t i = static_cast<size_t>(y * width + x);
                if (known[i]) continue;
                float sum[3] = {0, 0, 0};
                int count = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = x + dx, ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
                        const size_t j = static_cast<size_t>(ny * width + nx);
                        if (!known[j]) continue;
                        for (int c = 0; c < 3; ++c) sum[c] += straight[j * 4 + c];
                        ++count;
                    }
                }
                if (count) {
                    for (int c = 0; c < 3; ++c) straight[i * 4 + c] = sum[c] / static_cast<float>(count);
                    next[i] = true;
                }
            }
        }
        known = next;
    }
    std::vector<unsigned char> out(n * 4);
    for (size_t i = 0; i < n * 4; ++i) {
        out[i] = static_cast<unsigned char>(std::clamp(straight[i] * 255.0f + 0.5f, 0.0f, 255.0f));
    }
    return out;
}

Distance CircleDistance(float cx, float cy, float r) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - r; };
}

Distance EllipseDistance(float cx, float cy, float rx, float ry) {
    return [=](float x, float y) {
        const float px = (x - cx), py = (y - cy);
        const float k0 = std::hypot(px / rx, py / ry);
        const float k1 = std::hypot(px / (rx * rx), py / (ry * ry));
        if (k1 < 1e-6f) return -std::min(rx, ry);
        return k0 * (k0 - 1.0f) / k1;
    };
}

Distance RectDistance(float x, float y, float w, float h, float radius) {
    const float cx = x + w / 2, cy = y + h / 2;
    radius = std::min(radius, std::min(w, h) / 2);
    return [=](float px, float py) {
        const float qx = std::fabs(px - cx) - (w / 2 - radius);
        const float qy = std::fabs(py - cy) - (h / 2 - radius);
        const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
        return outside + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

Distance LineDistance(float x1, float y1, float x2, float y2, float width) {
    return [=](float px, float py) {
        const float bx = x2 - x1, by = y2 - y1;
        const float len2 = bx * bx + by * by;
        float t = len2 > 0 ? ((px - x1) * bx + (py - y1) * by) / len2 : 0.0f;
        t = std::clamp(t, 0.0f, 1.0f);
        return std::hypot(px - x1 - bx * t, py - y1 - by * t) - width / 2;
    };
}

Distance PolygonDistance(std::vector<float> xy) {
    return [xy = std::move(xy)](float px, float py) {
        const size_t n = xy.size() / 2;
        float d = 1e30f;
        bool inside = false;
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            const float ax = xy[2 * i], ay = xy[2 * i + 1], bx = xy[2 * j], by = xy[2 * j + 1];
            const float ex = bx - ax, ey = by - ay, wx = px - ax, wy = py - ay;
            const float len2 = ex * ex + ey * ey;
            const float t = len2 > 0 ? std::clamp((wx * ex + wy * ey) / len2, 0.0f, 1.0f) : 0.0f;
            d = std::min(d, std::hypot(wx - ex * t, wy - ey * t));
            if ((ay > py) != (by > py) && px < (bx - ax) * (py - ay) / (by - ay) + ax) inside = !inside;
        }
        return inside ? -d : d;
    };
}

std::vector<float> StarPoints(float cx, float cy, float outer, float inner, int points, float rotationDegrees) {
    std::vector<float> xy;
    const float start = (rotationDegrees - 90.0f) * 3.14159265f / 180.0f;
    for (int i = 0; i < points * 2; ++i) {
        const float a = start + static_cast<float>(i) * 3.14159265f / static_cast<float>(points);
        const float r = (i % 2 == 0) ? outer : inner;
        xy.push_back(cx + r * std::cos(a));
        xy.push_back(cy + r * std::sin(a));
    }
    return xy;
}

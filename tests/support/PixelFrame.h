#pragma once
// A frame read back from the renderer as RGBA bytes, top row first, looked
// up by game point: the view is one game unit high about its centre and
// width / height units wide, as the drawing tests set their camera.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace testsupport {

struct Rgb {
    int r, g, b;
};

class PixelFrame {
public:
    PixelFrame(const std::vector<std::uint8_t>& rgba, int width, int height)
        : rgba(rgba), width(width), height(height) {}

    // The pixel at game point (x, y); points beyond the frame read its edge.
    Rgb At(float x, float y) const {
        const float aspect = static_cast<float>(width) / static_cast<float>(height);
        const int px = std::clamp(static_cast<int>((x / aspect + 0.5f) * static_cast<float>(width - 1)), 0, width - 1);
        const int py = std::clamp(static_cast<int>((0.5f - y) * static_cast<float>(height - 1)), 0, height - 1);
        const std::size_t i =
            (static_cast<std::size_t>(py) * static_cast<std::size_t>(width) + static_cast<std::size_t>(px)) * 4;
        if (i + 2 >= rgba.size()) return {0, 0, 0};
        return {rgba[i], rgba[i + 1], rgba[i + 2]};
    }

    // The pixels within a game-unit box, a pixel apart, that pass test.
    template <class Test>
    int Count(float left, float top, float right, float bottom, Test test) const {
        const float step = 1.0f / static_cast<float>(height);
        int n = 0;
        for (float y = bottom; y <= top; y += step)
            for (float x = left; x <= right; x += step) n += test(At(x, y)) ? 1 : 0;
        return n;
    }

    // The relative luminance of a colour, 0 (black) to 1 (white).
    static double Luminance(const Rgb& c) {
        auto linear = [](int v) {
            const double x = v / 255.0;
            return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
    }

    // How the darkest strokes within a game-unit box stand out from the
    // lightest ground there: the contrast ratio (1 to 21) of the mean
    // luminance of the box's darkest and of its lightest `share` of pixels.
    double Contrast(float left, float top, float right, float bottom, double share = 0.02) const {
        const float step = 1.0f / static_cast<float>(height);
        std::vector<double> l;
        for (float y = bottom; y <= top; y += step)
            for (float x = left; x <= right; x += step) l.push_back(Luminance(At(x, y)));
        if (l.empty()) return 1.0;
        std::sort(l.begin(), l.end());
        const std::size_t n = std::max<std::size_t>(static_cast<std::size_t>(static_cast<double>(l.size()) * share), 1);
        double dark = 0.0, light = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            dark += l[i];
            light += l[l.size() - 1 - i];
        }
        return (light / static_cast<double>(n) + 0.05) / (dark / static_cast<double>(n) + 0.05);
    }

    // The rows of pixels within a box holding a pixel darker than luminance:
    // how tall the dark letters in it stand.
    int RowsDarkerThan(float left, float top, float right, float bottom, double luminance) const {
        const float step = 1.0f / static_cast<float>(height);
        int rows = 0;
        for (float y = bottom; y <= top; y += step) {
            bool dark = false;
            for (float x = left; x <= right && !dark; x += step) dark = Luminance(At(x, y)) < luminance;
            rows += dark ? 1 : 0;
        }
        return rows;
    }

private:
    const std::vector<std::uint8_t>& rgba;
    int width, height;
};

}  // namespace testsupport

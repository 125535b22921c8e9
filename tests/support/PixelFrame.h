#pragma once
// A frame read back from the renderer as RGBA bytes, top row first, looked
// up by game point: the view is one game unit high about its centre and
// width / height units wide, as the drawing tests set their camera.
#include <algorithm>
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
        const std::size_t i = (static_cast<std::size_t>(py) * static_cast<std::size_t>(width) + static_cast<std::size_t>(px)) * 4;
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

private:
    const std::vector<std::uint8_t>& rgba;
    int width, height;
};

}  // namespace testsupport

#include "support/ScreenPicture.h"

#include <algorithm>
#include <cstdlib>
#include <deque>

#include "support/PngFile.h"

namespace desktop {

Box Box::Within(double x0, double y0, double x1, double y1) const {
    const int l = AtX(x0), t = AtY(y0);
    return Box{l, t, AtX(x1) - l, AtY(y1) - t};
}

Box Box::Intersect(const Box& other) const {
    const int l = std::max(left, other.left), t = std::max(top, other.top);
    const int r = std::min(Right(), other.Right()), b = std::min(Bottom(), other.Bottom());
    if (r <= l || b <= t) return Box{};
    return Box{l, t, r - l, b - t};
}

std::string Describe(const Box& box) {
    return std::to_string(box.width) + "x" + std::to_string(box.height) + " at (" + std::to_string(box.left) + ", " +
           std::to_string(box.top) + ")";
}

PixelTest ExactColour(Rgb colour) {
    return [colour](Rgb p) { return p == colour; };
}

PixelTest NearColour(Rgb colour, int tolerance) {
    return [colour, tolerance](Rgb p) {
        return std::abs(p.r - colour.r) <= tolerance && std::abs(p.g - colour.g) <= tolerance &&
               std::abs(p.b - colour.b) <= tolerance;
    };
}

PixelTest NotTest(PixelTest test) {
    return [test = std::move(test)](Rgb p) { return !test(p); };
}

PixelTest PaleAtLeast(int least) {
    return [least](Rgb p) { return p.r >= least && p.g >= least && p.b >= least; };
}

Picture::Picture(int w, int h, std::vector<std::uint32_t> data) : width(w), height(h), pixels(std::move(data)) {
    if (static_cast<long long>(pixels.size()) != static_cast<long long>(w) * h) width = height = 0;
}

Rgb Picture::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return Rgb{};
    const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
    return Rgb{static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8), static_cast<std::uint8_t>(p)};
}

Box Picture::Bounds(const PixelTest& test, const Box& within) const {
    const Box area = within.Intersect(Whole());
    int l = area.Right(), t = area.Bottom(), r = area.left - 1, b = area.top - 1;
    for (int y = area.top; y < area.Bottom(); ++y)
        for (int x = area.left; x < area.Right(); ++x)
            if (test(At(x, y))) {
                l = std::min(l, x);
                r = std::max(r, x);
                t = std::min(t, y);
                b = std::max(b, y);
            }
    if (r < l) return Box{};
    return Box{l, t, r - l + 1, b - t + 1};
}

std::vector<Picture::Region> Picture::Regions(const PixelTest& test, const Box& within, int minPixels) const {
    const Box area = within.Intersect(Whole());
    std::vector<Region> found;
    if (area.Empty()) return found;
    const int w = area.width, h = area.height;
    std::vector<std::uint8_t> state(static_cast<std::size_t>(w) * h, 0);  // 0 unseen, 1 no, 2 taken
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            state[static_cast<std::size_t>(y) * w + x] = test(At(area.left + x, area.top + y)) ? 0 : 1;
    std::deque<std::pair<int, int>> queue;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (state[static_cast<std::size_t>(y) * w + x] != 0) continue;
            Region region;
            int l = x, r = x, t = y, b = y;
            state[static_cast<std::size_t>(y) * w + x] = 2;
            queue.emplace_back(x, y);
            while (!queue.empty()) {
                auto [cx, cy] = queue.front();
                queue.pop_front();
                ++region.pixels;
                l = std::min(l, cx);
                r = std::max(r, cx);
                t = std::min(t, cy);
                b = std::max(b, cy);
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = cx + dx, ny = cy + dy;
                        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                        std::uint8_t& s = state[static_cast<std::size_t>(ny) * w + nx];
                        if (s != 0) continue;
                        s = 2;
                        queue.emplace_back(nx, ny);
                    }
            }
            if (region.pixels < minPixels) continue;
            region.box = Box{area.left + l, area.top + t, r - l + 1, b - t + 1};
            found.push_back(region);
        }
    std::sort(found.begin(), found.end(), [](const Region& a, const Region& b) { return a.pixels > b.pixels; });
    return found;
}

int Picture::Count(const PixelTest& test, const Box& within) const {
    const Box area = within.Intersect(Whole());
    int count = 0;
    for (int y = area.top; y < area.Bottom(); ++y)
        for (int x = area.left; x < area.Right(); ++x)
            if (test(At(x, y))) ++count;
    return count;
}

double Picture::Share(const PixelTest& test, const Box& within) const {
    const Box area = within.Intersect(Whole());
    if (area.Empty()) return 0.0;
    return static_cast<double>(Count(test, area)) / (static_cast<double>(area.width) * area.height);
}

double Picture::Difference(const Picture& other, const Box& within) const {
    if (other.width != width || other.height != height) return 255.0;
    const Box area = within.Intersect(Whole());
    if (area.Empty()) return 0.0;
    double sum = 0.0;
    for (int y = area.top; y < area.Bottom(); ++y)
        for (int x = area.left; x < area.Right(); ++x) {
            const Rgb a = At(x, y), b = other.At(x, y);
            sum += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
        }
    return sum / (3.0 * area.width * area.height);
}

bool Picture::WritePng(const std::string& path) const {
    if (Empty()) return false;
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgb p = At(x, y);
            std::uint8_t* out = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            out[0] = p.r;
            out[1] = p.g;
            out[2] = p.b;
        }
    return testsupport::WritePng(path, width, height, 3, rgb.data());
}

Box PictureInside(const Picture& screen, const Box& window, const std::vector<Rgb>& frame) {
    const Box area = window.Intersect(screen.Whole());
    if (area.Empty()) return Box{};
    auto isPicture = [&](int x, int y) {
        const Rgb p = screen.At(x, y);
        return std::find(frame.begin(), frame.end(), p) == frame.end();
    };
    // Columns across the middle half of the rows, where no title lies.
    const int rowFrom = area.AtY(0.25), rowTo = area.AtY(0.75);
    auto columnIsPicture = [&](int x) {
        int count = 0;
        for (int y = rowFrom; y < rowTo; ++y) count += isPicture(x, y) ? 1 : 0;
        return count * 10 > (rowTo - rowFrom) * 6;
    };
    int left = area.left, right = area.Right() - 1;
    while (left <= right && !columnIsPicture(left)) ++left;
    while (right >= left && !columnIsPicture(right)) --right;
    if (right < left) return Box{};
    auto rowIsPicture = [&](int y) {
        int count = 0;
        for (int x = left; x <= right; ++x) count += isPicture(x, y) ? 1 : 0;
        return count * 10 > (right - left + 1) * 6;
    };
    int top = area.top, bottom = area.Bottom() - 1;
    while (top <= bottom && !rowIsPicture(top)) ++top;
    while (bottom >= top && !rowIsPicture(bottom)) --bottom;
    if (bottom < top) return Box{};
    return Box{left, top, right - left + 1, bottom - top + 1};
}

}  // namespace desktop

#pragma once
// Test helper: a picture of an X screen read back as pixels, and the ways of
// finding drawn things in it (colour regions, a window's picture inside its
// frame or between black bars). The desktop cases find every click target
// from what the screen shows, never from the program's own figures.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace desktop {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// A rectangle of screen pixels: left and top inclusive, width by height.
struct Box {
    int left = 0, top = 0, width = 0, height = 0;

    int Right() const { return left + width; }   // one past the last column
    int Bottom() const { return top + height; }  // one past the last row
    int CentreX() const { return left + width / 2; }
    int CentreY() const { return top + height / 2; }
    bool Empty() const { return width <= 0 || height <= 0; }
    bool Contains(int x, int y) const { return x >= left && x < Right() && y >= top && y < Bottom(); }
    // The box between the fractions of the width and height (0 to 1).
    Box Within(double x0, double y0, double x1, double y1) const;
    // The point at the fractions of the width and height.
    int AtX(double fraction) const { return left + static_cast<int>(fraction * width); }
    int AtY(double fraction) const { return top + static_cast<int>(fraction * height); }
    Box Intersect(const Box& other) const;
    bool operator==(const Box&) const = default;
};

std::string Describe(const Box& box);

using PixelTest = std::function<bool(Rgb)>;

// Common pixel tests.
PixelTest ExactColour(Rgb colour);
PixelTest NearColour(Rgb colour, int tolerance);
PixelTest NotTest(PixelTest test);
// Every channel at least `least` (a pale lavender button counts).
PixelTest PaleAtLeast(int least);

class Picture {
public:
    Picture() = default;
    Picture(int width, int height, std::vector<std::uint32_t> pixels);

    int Width() const { return width; }
    int Height() const { return height; }
    Box Whole() const { return Box{0, 0, width, height}; }
    bool Empty() const { return width <= 0 || height <= 0; }
    Rgb At(int x, int y) const;

    // The smallest box holding every matching pixel of `within` (empty when none).
    Box Bounds(const PixelTest& test, const Box& within) const;
    // The connected (8-neighbour) regions of matching pixels of `within`,
    // each as its bounding box with its pixel count, largest first; regions
    // of fewer than minPixels pixels are left out.
    struct Region {
        Box box;
        int pixels = 0;
    };
    std::vector<Region> Regions(const PixelTest& test, const Box& within, int minPixels) const;
    int Count(const PixelTest& test, const Box& within) const;
    // The share (0 to 1) of the pixels of `within` that match.
    double Share(const PixelTest& test, const Box& within) const;
    // The mean absolute channel difference with another picture of the same
    // size over a box (0 to 255); 255 when the sizes differ.
    double Difference(const Picture& other, const Box& within) const;

    bool WritePng(const std::string& path) const;

private:
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, row by row
};

// Where a window's picture lies inside the box the window covers on the
// screen: what is left when the frame around it (the colours `frame`: a
// window's drawn frame, or the black bars beside a full-screen picture) is
// taken away. A column or row belongs to the picture when most of its pixels
// are not frame-coloured, so a title's letters on the frame, or dark spots
// in the picture itself, do not move the edges. Empty when nothing in the
// box is picture.
Box PictureInside(const Picture& screen, const Box& window, const std::vector<Rgb>& frame);

}  // namespace desktop

#include "platform/window/WindowGeometry.h"

#include <cstdlib>

namespace GUI {

PictureRect PlacePicture(const WindowGeometry& g) {
    const int boxWidth = g.fullScreen ? g.width : g.areaWidth;
    const int boxHeight = g.fullScreen ? g.height : g.areaHeight;
    int w = boxWidth, h = boxHeight;
    if (boxWidth > 0 && boxHeight > 0 && g.resolution > 0.0f) {
        const float A = static_cast<float>(boxWidth) / static_cast<float>(boxHeight);
        const float r = g.resolution;
        if (r < A)
            w = static_cast<int>(static_cast<float>(boxWidth) * r / A);
        else
            h = static_cast<int>(static_cast<float>(boxHeight) * A / r);
    }
    if (g.fullScreen) return PictureRect{(g.width - w) / 2, (g.height - h) / 2, w, h};
    return PictureRect{std::abs(g.width - w) / 2, g.areaY, w, h};
}

GameArea PictureArea(const WindowGeometry& g) {
    const PictureRect rect = PlacePicture(g);
    GameArea area;
    area.left = g.x + rect.x;
    area.top = g.y + rect.y;
    area.width = rect.width;
    area.height = rect.height;
    area.aspect = g.resolution;
    area.renderHeight = g.renderHeight;
    return area;
}

}  // namespace GUI

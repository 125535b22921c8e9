// Text meets the renderer: letters go into the current buffer's general list.
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Text.h"

void DrawTextA(const std::string& text, TextSettings& s) {
    if (!graphicsEngine.GetCurrentBuffer()) return;
    DrawTextQuads(text, s, [](float x, float y, float z, float w, float h, const Frame& frame, std::uint32_t colour) {
        graphicsEngine.AddFrame(x, y, z, w, h, 0.0f, frame, static_cast<int>(colour));
    });
}

#include <algorithm>

#include "platform/graphics/Frame.h"
#include "platform/graphics/Text.h"
#include "platform/graphics/Texture.h"

void DrawTextQuads(const std::string& text, TextSettings& s, const TextQuadSink& queue) {
    if (s.width == 0.0f || s.height == 0.0f || text.empty()) return;
    TextData temp;
    TextData* d = s.information;
    if (!d) {
        CalcText(text, s, temp);
        d = &temp;
    }
    const int n = static_cast<int>(std::min<size_t>(text.size(), d->letterPlaces.size() - 1));
    const int lines = std::min(d->lineCount, static_cast<int>(d->lineStarts.size()) - 1);
    auto lineStart = [&](int line) { return d->lineStarts[static_cast<size_t>(line)]; };
    const int column = std::max(0, s.startCharacter);

    // The first letter shown: the scroll's first line and column, or the
    // first line below it that reaches that far.
    int index = column;
    if (s.multiLine) {
        int line = std::max(0, s.startLine);
        if (line >= lines) return;
        index = lineStart(line) + column;
        while (line + 1 < lines && index >= lineStart(line + 1)) {
            ++line;
            index = lineStart(line) + column;
        }
    }
    if (index >= n) return;

    const bool textBox = s.hAlign == 3;
    const int selFirst = std::min(s.cursorLoc, s.selectedStart), selEnd = std::max(s.cursorLoc, s.selectedStart);
    const Frame& white = FrameMap("white", 0, 0);
    const float scale = s.charHeight;

    for (int i = index; i < n;) {
        const LetterPlace& p = d->letterPlaces[static_cast<size_t>(i)];
        const int code = static_cast<unsigned char>(text[static_cast<size_t>(i)]);
        if (textBox) {
            // A text box draws only what lies inside it.
            const bool below = s.multiLine && p.y * scale < -s.height / 2;
            if (below) break;
            // The layout hides a single line's letters past the right edge;
            // their backgrounds would stick out of the box.
            if (!s.multiLine && p.width == 0.0f && d->letterWidths[static_cast<size_t>(i)] > 0.0f) break;
            if (p.x * scale > s.width / 2 || code == '\n') {
                if (!s.multiLine) break;
                int next = TextGetLine(i, d) + 1;
                while (next + 1 < lines && lineStart(next) + column >= lineStart(next + 1)) ++next;  // too short
                if (next >= lines) break;
                i = lineStart(next) + column;
                continue;
            }
        }
        std::uint32_t colour = d->hasColors ? d->letterColors[static_cast<size_t>(i)] : 0xFF000000u;
        const float x = p.x * scale + s.x, y = p.y * scale + s.y;
        if (textBox) {
            const bool selected = i >= selFirst && i < selEnd;
            colour = selected ? s.secondaryColor : s.primaryColor;
            queue(x, y, s.z - 0.0001f, d->letterWidths[static_cast<size_t>(i)] * scale + scale * 0.05f, scale, white,
                  selected ? s.secondaryColorBack : s.primaryColorBack);
        }
        if ((code & 0x7F) != ' ' && p.width > 0.0f) {
            queue(x, y, s.z, p.width * scale, scale, FrameMap(s.font, code & 0x7F, 0), colour);
        }
        ++i;
    }
}

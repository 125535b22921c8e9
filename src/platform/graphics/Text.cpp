#include "platform/graphics/Text.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/graphics/Font.h"

namespace {

// A letter that ends on the box's right edge is inside it: a right-aligned
// line ends exactly there, give or take the rounding of its widths.
constexpr float kEdgeSlack = 1e-4f;

const FontInfo& FontFor(const std::string& name) {
    static const FontInfo empty;  // an unknown font: every width 0
    auto it = FontMap.find(name);
    return it == FontMap.end() ? empty : it->second;
}

int Length(const std::string& text) {
    return static_cast<int>(std::min<size_t>(text.size(), std::numeric_limits<int>::max() - 2));
}

// The character code at i; the terminating position reads as 0.
int Code(const std::string& text, int i) {
    return (i >= 0 && i < Length(text)) ? static_cast<unsigned char>(text[static_cast<size_t>(i)]) : 0;
}

// A division that answers 0 where the divisor is 0 (an unknown font, a box
// without a letter height) instead of an infinity that no integer holds.
float Quotient(float a, float b) {
    if (b == 0.0f) return 0.0f;
    const float q = a / b;
    return std::isfinite(q) ? q : 0.0f;
}

int Trunc(float f) {
    if (!(f > -2.0e9f && f < 2.0e9f)) return f > 0 ? 2000000000 : (f < 0 ? -2000000000 : 0);
    return static_cast<int>(f);
}

// The layout a query works on: the widget's cached one, or a fresh one.
TextData& LayoutFor(const std::string& text, TextSettings& s, TextData& temp) {
    if (s.information) return *s.information;
    CalcText(text, s, temp);
    return temp;
}

// Centre y of the first line shown (multi-line) or of the line (single-line).
float FirstLineY(const TextSettings& s, const TextData& d) {
    const float H = Quotient(s.height, s.charHeight);
    if (s.multiLine) {
        float top = H / 2;
        if (s.vAlign == 1) top = static_cast<float>(d.lineCount) / 2;
        if (s.vAlign == 2) top = static_cast<float>(d.lineCount) - H / 2;
        return top - 0.5f;
    }
    if (s.vAlign == 0) return H / 2 - 0.5f;
    if (s.vAlign == 2) return 0.5f - H / 2;
    return 0.0f;
}

int LineStart(const TextData& d, int line) {
    if (line < 0 || static_cast<size_t>(line) >= d.lineStarts.size()) return 0;
    return d.lineStarts[static_cast<size_t>(line)];
}

float LetterWidth(const TextData& d, int i) {
    return (i >= 0 && static_cast<size_t>(i) < d.letterWidths.size()) ? d.letterWidths[static_cast<size_t>(i)] : 0.0f;
}

}  // namespace

int HexToDecimal(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool TextCheckColor(const char* p, int remaining, TextData&, std::uint32_t& colour, int& length) {
    length = 0;
    if (remaining < 10 || p[0] != '#' || p[1] != '0' || (p[2] != 'x' && p[2] != 'X')) return false;
    auto pairs = [&](int count, std::uint32_t* out) {
        for (int i = 0; i < count; ++i) {
            const int hi = HexToDecimal(p[3 + 2 * i]), lo = HexToDecimal(p[4 + 2 * i]);
            if (hi < 0 || lo < 0) return false;
            out[i] = static_cast<std::uint32_t>(hi * 16 + lo);
        }
        return true;
    };
    std::uint32_t v[4];
    if (p[9] == '#') {
        if (!pairs(3, v)) return false;
        colour = 0xFF000000u | v[0] << 16 | v[1] << 8 | v[2];
        length = 10;
        return true;
    }
    if (remaining >= 12 && p[11] == '#') {
        if (!pairs(4, v)) return false;
        colour = v[3] << 24 | v[0] << 16 | v[1] << 8 | v[2];  // the alpha pair comes last in the mark
        length = 12;
        return true;
    }
    return false;
}

void CalcCharacterWidths(const std::string& text, TextSettings& s, TextData& d) {
    const int n = Length(text);
    const FontInfo& font = FontFor(s.font);
    d.hasColors = s.colorize;
    d.letterWidths.assign(static_cast<size_t>(n) + 1, 0.0f);
    d.letterPlaces.resize(static_cast<size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) {
        const int c = Code(text, i);
        // Codes past 127 have no letter in the fonts: they take no room and are not drawn.
        const bool known = c < FontInfo::CHAR_COUNT;
        d.letterWidths[static_cast<size_t>(i)] = known ? (s.fixedWidth ? font.fixedWidth[c] : font.width[c]) : 0.0f;
        d.letterPlaces[static_cast<size_t>(i)].width = known ? font.width[c] : 0.0f;
    }
    if (!d.hasColors) {
        d.letterColors.clear();
        return;
    }
    d.letterColors.assign(static_cast<size_t>(n) + 1, s.primaryColor);
    std::uint32_t running = s.primaryColor;
    for (int i = 0; i <= n;) {
        std::uint32_t colour = 0;
        int length = 0;
        if (i < n && TextCheckColor(text.data() + i, n - i, d, colour, length)) {
            for (int k = i; k < i + length; ++k) {
                d.letterWidths[static_cast<size_t>(k)] = 0.0f;
                d.letterPlaces[static_cast<size_t>(k)].width = 0.0f;
                d.letterColors[static_cast<size_t>(k)] = colour;
            }
            running = colour;
            i += length;
        } else {
            d.letterColors[static_cast<size_t>(i)] = running;
            ++i;
        }
    }
}

float CalcWidth(const std::string& text, int from, int to, bool, TextData* d) {
    if (!d) return 0.0f;
    from = std::max(from, 0);
    to = std::min(to, static_cast<int>(d->letterWidths.size()));
    float w = 0.0f;
    for (int i = from; i < to; ++i) {
        if (Code(text, i) == '\t') {
            w = 4.0f * std::trunc((w + 4.99f) * 0.25f);
        } else {
            w += d->letterWidths[static_cast<size_t>(i)];
        }
    }
    return w;
}

void CalcWidths(const std::string& text, TextData* d, bool fixed) {
    if (!d) return;
    d->lineWidths.assign(static_cast<size_t>(std::max(d->lineCount, 0)), 0.0f);
    for (int k = 0; k < d->lineCount && static_cast<size_t>(k) + 1 < d->lineStarts.size(); ++k) {
        d->lineWidths[static_cast<size_t>(k)] =
            CalcWidth(text, d->lineStarts[static_cast<size_t>(k)], d->lineStarts[static_cast<size_t>(k) + 1], fixed, d);
    }
}

float CalcLetterSpan(const TextData& d, int to, int from) {
    if (to == -1) return 0.0f;
    if (from > to) return -1.0f;
    float sum = 0.0f;
    for (int i = std::max(from, 0); i < to; ++i) sum += LetterWidth(d, i);
    return sum;
}

void CalcCharacters(const std::string& text, TextSettings& s, TextData& d) {
    const int n = Length(text);
    const float W = Quotient(s.width, s.charHeight);
    const float y0 = FirstLineY(s, d);
    auto place = [&](int i) -> LetterPlace& { return d.letterPlaces[static_cast<size_t>(i)]; };

    if (s.multiLine) {
        CalcWidths(text, &d, s.fixedWidth);
        const float m = FontFor(s.font).maxWidth;
        const int first = std::max(0, s.startLine);
        float y = y0 - static_cast<float>(first - s.startLine);
        for (int k = first; k < d.lineCount && static_cast<size_t>(k) + 1 < d.lineStarts.size(); ++k, y -= 1.0f) {
            const float lw = d.lineWidths[static_cast<size_t>(k)];
            float left = -W / 2;
            if (s.hAlign == 1) left = -lw / 2;
            if (s.hAlign == 2) left = W / 2 - lw;
            float x = left;
            const int to = std::min(d.lineStarts[static_cast<size_t>(k) + 1], n + 1);
            for (int j = d.lineStarts[static_cast<size_t>(k)] + std::max(0, s.startCharacter); j < to; ++j) {
                if (Code(text, j) == '\t') {
                    const float stop = left + 4.0f * std::trunc((x - left + 4.99f) * 0.25f) * m;
                    place(j).x = (x + stop) / 2;
                    place(j).y = y;
                    x = stop;
                } else {
                    const float w = d.letterWidths[static_cast<size_t>(j)];
                    place(j).x = x + w / 2;
                    place(j).y = y;
                    x += w;
                }
            }
        }
        return;
    }

    const float total = CalcWidth(text, 0, n, s.fixedWidth, &d);
    float x = -W / 2;
    if (s.hAlign == 1) x = -total / 2;
    if (s.hAlign == 2) x = W / 2 - total;
    if (s.hAlign == 3) {
        // Scroll so that the caret shows, and so that a short rest of the text
        // ends at the right edge instead of leaving the box half empty.
        // The first letter from which the letters up to end fit in the box.
        auto fitLettersBefore = [&](int end) {
            int j = end - 1;
            float sum = 0.0f;
            if (W > 0.0f) {
                while (j >= 0 && sum + LetterWidth(d, j) <= W + kEdgeSlack) {
                    sum += LetterWidth(d, j);
                    --j;
                }
            }
            return j + 1;
        };
        const float span = CalcLetterSpan(d, s.cursorLoc, s.startCharacter);
        if (span > W) {
            s.startCharacter = fitLettersBefore(s.cursorLoc);
        } else if (span < 0.0f) {
            s.startCharacter = s.cursorLoc;
        } else if (CalcLetterSpan(d, n, s.startCharacter) < W) {
            s.startCharacter = fitLettersBefore(n);
        }
    }
    for (int j = std::max(0, s.startCharacter); j <= n; ++j) {
        const float w = d.letterWidths[static_cast<size_t>(j)];
        if (Code(text, j) == '\t') {
            place(j).width = 0.0f;
        } else if (x + w <= W / 2 + kEdgeSlack) {
            place(j).x = x + w / 2;
            place(j).y = y0;
            x += w;
        } else {
            place(j).x = x;
            place(j).y = y0;
            place(j).width = 0.0f;  // past the right edge: hidden
        }
    }
}

void CalcText(const std::string& text, TextSettings& s, TextData& d) {
    CalcCharacterWidths(text, s, d);
    const int n = Length(text);
    if (!s.multiLine) {
        float total = 0.0f;
        for (float w : d.letterWidths) total += w;
        d.totalWidth = total;
        d.lineCount = 1;
        d.lineStarts = {0, n + 1};
        d.lineWidths = {total};
        CalcCharacters(text, s, d);
        return;
    }
    const float limit = std::trunc(Quotient(s.width, s.charHeight));
    float room = limit;
    int lines = 0;
    // No break point yet: a first line without a blank breaks before the
    // letter that overflows, as every later line does.
    int breakPoint = -1;
    d.lineStarts.assign(1, 0);
    for (int i = 0; i <= n;) {
        const int c = Code(text, i);
        if (c == '\n' && i < n) {
            ++lines;
            room = limit;
            d.lineStarts.push_back(i + 1);
            breakPoint = i;
            ++i;
            continue;
        }
        const float w = d.letterWidths[static_cast<size_t>(i)];
        if (s.hAlign == 3 || w <= room) {
            if (c == '\t' && i < n) {
                breakPoint = i + 1;
                room = 4.0f * std::trunc((room - 0.99f) * 0.25f);
            } else if (c == ' ') {
                breakPoint = i;
                room -= w;
            } else {
                room -= w;
            }
            ++i;
            continue;
        }
        if (d.lineStarts.back() == i) {
            // The letter is wider than the whole line: it stays, alone, on the
            // line it begins (pushing it on to the next line would never end),
            // and the line breaks after it.
            breakPoint = i;
            room = 0.0f;
            ++i;
            continue;
        }
        ++lines;
        room = limit;
        if (d.lineStarts.back() == breakPoint + 1) breakPoint = i - 1;  // no break point since the line began
        d.lineStarts.push_back(breakPoint + 1);
        i = breakPoint + 1;
    }
    d.lineStarts.push_back(n + 1);
    d.lineCount = lines + 1;
    d.totalWidth = 0.0f;
    CalcCharacters(text, s, d);
}

int TextGetLine(int index, const TextData* d) {
    if (!d || d->lineStarts.size() < 2) return 0;
    int line = 0;
    for (size_t k = 0; k + 1 < d->lineStarts.size(); ++k) {
        if (d->lineStarts[k] <= index) line = static_cast<int>(k);
    }
    return line;
}

void TextUpLine(TextSettings& s) {
    const TextData* d = s.information;
    if (!d || s.cursorLoc < 0) return;
    const int line = TextGetLine(s.cursorLoc, d);
    if (line <= 0) return;
    const int column = s.cursorLoc - LineStart(*d, line);
    s.cursorLoc = std::min(LineStart(*d, line - 1) + column, LineStart(*d, line) - 1);
}

void TextDownLine(TextSettings& s) {
    const TextData* d = s.information;
    if (!d || s.cursorLoc < 0) return;
    const int line = TextGetLine(s.cursorLoc, d);
    if (line >= d->lineCount - 1 || static_cast<size_t>(line) + 2 >= d->lineStarts.size()) return;
    const int column = s.cursorLoc - LineStart(*d, line);
    s.cursorLoc = std::min(LineStart(*d, line + 1) + column, LineStart(*d, line + 2) - 1);
}

int TextGetVertScroll(TextSettings& s) {
    if (!s.information) return 1;
    return std::max(1, s.information->lineCount - Trunc(Quotient(s.height, s.charHeight)) + 1);
}

int TextGetHorizScroll(TextSettings& s) {
    const TextData* d = s.information;
    if (!d || d->letterWidths.size() <= 1) return 1;
    const float m = FontFor(s.font).maxWidth;
    int longest = 0;
    for (float w : d->lineWidths) longest = std::max(longest, Trunc(Quotient(w, m)));
    const int visible = Trunc(Quotient(Quotient(s.width, m), s.charHeight));
    return std::max(1, longest + 10 - visible);
}

bool TextReadjustVertical(TextSettings& s) {
    if (!s.information || s.cursorLoc == -1) return false;
    const int before = s.startLine;
    const int line = TextGetLine(s.cursorLoc, s.information);
    if (line < s.startLine) s.startLine = line;
    const int visible = Trunc(Quotient(s.height, s.charHeight));
    if (line > s.startLine + visible - 1) s.startLine = line - visible + 1;
    return s.startLine != before;
}

bool TextReadjustHorizontal(TextSettings& s) {
    const TextData* d = s.information;
    if (!d || s.cursorLoc == -1 || d->letterWidths.size() <= 1) return false;
    const int before = s.startCharacter;
    const int column = s.cursorLoc - LineStart(*d, TextGetLine(s.cursorLoc, d));
    if (column < s.startCharacter) s.startCharacter = column;
    const int visible = Trunc(Quotient(Quotient(s.width, FontFor(s.font).maxWidth), s.charHeight));
    if (column > s.startCharacter + visible - 1) s.startCharacter = column - visible + 1;
    return s.startCharacter != before;
}

int PinpointLetter(const std::string& text, float x, float y, TextSettings& s) {
    if (x < s.x - s.width / 2 || x > s.x + s.width / 2 || y < s.y - s.height / 2 || y > s.y + s.height / 2) return -1;
    TextData temp;
    const TextData& d = LayoutFor(text, s, temp);
    if (d.letterPlaces.empty()) return -1;
    const int last = static_cast<int>(d.letterPlaces.size()) - 1;
    const float lx = Quotient(x - s.x, s.charHeight);
    const float ly = Quotient(y - s.y, s.charHeight);
    int from = std::max(0, s.startCharacter), to = last;
    if (s.multiLine) {
        // Both truncations may be at their bounds (a box far taller than its
        // letters): the difference is taken wide, then clamped to a line.
        const long long wide =
            static_cast<long long>(Trunc(FirstLineY(s, d) + 10000.0f)) - Trunc(ly + 10000.0f) + s.startLine;
        const int line = static_cast<int>(std::clamp<long long>(wide, 0, std::max(0, d.lineCount - 1)));
        const int start = LineStart(d, line);
        to = std::min(last, LineStart(d, line + 1) - 1);
        if (static_cast<size_t>(line) + 1 >= d.lineStarts.size()) to = last;
        from = std::min(start + std::max(0, s.startCharacter), to);
    }
    from = std::min(from, to);
    for (int i = from; i <= to; ++i) {
        const LetterPlace& p = d.letterPlaces[static_cast<size_t>(i)];
        if (p.x + p.width / 2 > lx) return i;
    }
    return to;
}

int PinpointLetter(const std::string& text, D3DXVECTOR2 point, TextSettings& s) {
    return PinpointLetter(text, point.x, point.y, s);
}

void LocateLetter(const std::string& text, int index, TextSettings& s, D3DXVECTOR3& out) {
    TextData temp;
    const TextData& d = LayoutFor(text, s, temp);
    if (d.letterPlaces.empty()) {
        out = D3DXVECTOR3(s.x, s.y, 0.0f);
        return;
    }
    index = std::clamp(index, 0, static_cast<int>(d.letterPlaces.size()) - 1);
    const LetterPlace& p = d.letterPlaces[static_cast<size_t>(index)];
    out = D3DXVECTOR3(p.x * s.charHeight + s.x, p.y * s.charHeight + s.y, LetterWidth(d, index) * s.charHeight);
}

int PinpointCursorLetter(const std::string& text, float x, float y, TextSettings& s, D3DXVECTOR2& caretPlace) {
    const int i = PinpointLetter(text, x, y, s);
    if (i == -1) {
        caretPlace = D3DXVECTOR2(-1e9f, -1e9f);
        return -1;
    }
    D3DXVECTOR3 letter;
    LocateLetter(text, i, s, letter);
    caretPlace.y = letter.y;
    // After the letter when the point lies on its right half; the caret
    // never goes past the end of the text.
    if (x > letter.x && Code(text, i) != '\n' && i < Length(text)) {
        caretPlace.x = letter.x + letter.z / 2;
        return i + 1;
    }
    caretPlace.x = letter.x - letter.z / 2;
    return i;
}

int PinpointCursorLetter(const std::string& text, D3DXVECTOR2 point, TextSettings& s, D3DXVECTOR2& caretPlace) {
    return PinpointCursorLetter(text, point.x, point.y, s, caretPlace);
}

int LocateLine(const std::string& text, int index, TextSettings& s) {
    TextData temp;
    const TextData& d = LayoutFor(text, s, temp);
    if (d.letterPlaces.empty()) return 0;
    index = std::clamp(index, 0, static_cast<int>(d.letterPlaces.size()) - 1);
    return Trunc(FirstLineY(s, d) - d.letterPlaces[static_cast<size_t>(index)].y);
}

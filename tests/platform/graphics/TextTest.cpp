#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/graphics/Font.h"
#include "platform/graphics/Frame.h"
#include "platform/graphics/SheetData.h"
#include "platform/graphics/Text.h"
#include "platform/graphics/Texture.h"
#include "support/SheetDataBuilder.h"

namespace {

// Fonts with known widths: "unit" has every printable letter 1 wide and 'W'
// 3 wide; the terminating zero, the line feed and the tab are 0 wide.
class TextTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<float> widths(128, 0.0f);
        for (int c = 32; c < 127; ++c) widths[static_cast<size_t>(c)] = 1.0f;
        widths['W'] = 3.0f;
        SheetDataBuilder b;
        b.Header(256, 256, 1, 1).TextureRecord("white", 0, 2, 2, 4, 4).Int(1).Set("white", 1, 1, 1, 0);
        b.Int(0).Int(0).Int(512).Int(512).Int(1).FontWithWidths("unit", 0, widths);
        LoadSheetData(b.bytes.data(), b.bytes.size(), nullptr);
    }
    void TearDown() override { FreeSheetData(); }

    static TextSettings Box(float width, float height, bool multiLine = true, int hAlign = 0) {
        TextSettings s;
        s.font = "unit";
        s.width = width;
        s.height = height;
        s.charHeight = 1.0f;
        s.multiLine = multiLine;
        s.hAlign = hAlign;
        return s;
    }
};

TEST_F(TextTest, ColourMarks) {
    struct Case {
        const char* text;
        bool mark;
        std::uint32_t colour;
        int length;
    };
    const Case cases[] = {
        {"#0x444434#How To Play", true, 0xFF444434, 10},
        {"#0x11223344#A", true, 0x44112233, 12},
        {"#0XaBcDeF#", true, 0xFFABCDEF, 10},
        {"#0x12345#", false, 0, 0},
        {"#0xGG0000#", false, 0, 0},
        {"#0x1122334#", false, 0, 0},
        {"#0y112233#", false, 0, 0},
        {"#0x112233", false, 0, 0},
    };
    TextData d;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::uint32_t colour = 0;
        int length = -1;
        const std::string text = c.text;
        EXPECT_EQ(TextCheckColor(text.c_str(), static_cast<int>(text.size()), d, colour, length), c.mark);
        EXPECT_EQ(length, c.length);
        if (c.mark) {
            EXPECT_EQ(colour, c.colour);
        }
    }
    EXPECT_EQ(HexToDecimal('f'), 15);
    EXPECT_EQ(HexToDecimal('G'), -1);
}

TEST_F(TextTest, MarksColourTheFollowingLettersAndTakeNoRoom) {
    TextSettings s = Box(40, 1, false);
    s.colorize = true;
    s.primaryColor = 0xFF010203;
    TextData d;
    CalcText("#0x444434#How To Play", s, d);
    EXPECT_FLOAT_EQ(d.totalWidth, 11.0f);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(d.letterPlaces[static_cast<size_t>(i)].width, 0.0f);
    EXPECT_EQ(d.letterColors[10], 0xFF444434u);
    EXPECT_EQ(d.letterColors[20], 0xFF444434u);

    CalcText("a#0x11223344#A", s, d);
    EXPECT_EQ(d.letterColors[0], 0xFF010203u);
    EXPECT_EQ(d.letterColors[13], 0x44112233u);

    // A malformed mark is ordinary text, in the starting colour.
    CalcText("#0x12345#", s, d);
    EXPECT_FLOAT_EQ(d.totalWidth, 9.0f);
    EXPECT_EQ(d.letterColors[0], 0xFF010203u);
}

TEST_F(TextTest, LineBreaks) {
    struct Case {
        const char* text;
        float boxWidth;
        int hAlign;
        std::vector<int> starts;
    };
    const Case cases[] = {
        {"aaa bbb", 5, 0, {0, 4, 8}},         // after the blank
        {"aaaaaaa", 5, 0, {0, 5, 8}},         // a long word: before the overflowing letter
        {"aa aaaaaaa", 5, 0, {0, 3, 8, 11}},  // the long word starts a line and still breaks
        {"ab\ncd", 10, 0, {0, 3, 6}},         // line feeds break
        {"aaaaaaaaaa", 5, 3, {0, 11}},        // a text box never wraps
        {"ab\ncdefgh", 3, 3, {0, 3, 10}},     // ... but breaks at line feeds
        {"Wab", 2, 0, {0, 1, 4}},             // a letter wider than the box takes a line alone
        {"ab", 0.5f, 0, {0, 1, 3}},           // a box narrower than any letter ends too
        {"WWW", 1, 0, {0, 1, 2, 4}},
        {"", 5, 0, {0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TextSettings s = Box(c.boxWidth, 10, true, c.hAlign);
        TextData d;
        CalcText(c.text, s, d);
        EXPECT_EQ(d.lineStarts, c.starts);
        EXPECT_EQ(d.lineCount, static_cast<int>(c.starts.size()) - 1);
    }
}

TEST_F(TextTest, PlacesLettersByAlignment) {
    struct Case {
        int hAlign, vAlign;
        float firstX, y;
    };
    // "ab" in a box 4 wide and 3 high: left edge -2, top line centre 1.
    const Case cases[] = {{0, 0, -1.5f, 1.0f}, {1, 1, -0.5f, 0.0f}, {2, 2, 0.5f, -1.0f}, {3, 3, -1.5f, 0.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hAlign);
        TextSettings s = Box(4, 3, false, c.hAlign);
        s.vAlign = c.vAlign;
        TextData d;
        CalcText("ab", s, d);
        EXPECT_FLOAT_EQ(d.letterPlaces[0].x, c.firstX);
        EXPECT_FLOAT_EQ(d.letterPlaces[1].x, c.firstX + 1);
        EXPECT_FLOAT_EQ(d.letterPlaces[0].y, c.y);
    }
    // Several lines: one line apart, downward from the top; the scale turns
    // game units into letter units.
    TextSettings s = Box(2.5f, 2, true, 1);
    s.charHeight = 0.5f;  // 5 by 4 letters
    TextData d;
    CalcText("aaa bbb", s, d);
    EXPECT_FLOAT_EQ(d.letterPlaces[0].y, 1.5f);
    EXPECT_FLOAT_EQ(d.letterPlaces[4].y, 0.5f);
    EXPECT_FLOAT_EQ(d.lineWidths[0], 4.0f);
    EXPECT_FLOAT_EQ(d.letterPlaces[0].x, -1.5f);
    D3DXVECTOR3 where;
    s.x = 10;
    LocateLetter("aaa bbb", 4, s, where);
    EXPECT_FLOAT_EQ(where.x, 10 + (-1.5f + 0.5f) * 0.5f);
    EXPECT_FLOAT_EQ(where.y, 0.25f);
    EXPECT_FLOAT_EQ(where.z, 0.5f);
    EXPECT_EQ(LocateLine("aaa bbb", 4, s), 1);
}

TEST_F(TextTest, SingleLineHidesWhatPassesTheRightEdge) {
    TextSettings s = Box(3.5f, 1, false);
    TextData d;
    CalcText("abcde", s, d);
    EXPECT_GT(d.letterPlaces[2].width, 0.0f);
    EXPECT_EQ(d.letterPlaces[3].width, 0.0f);  // would end past the edge
    EXPECT_EQ(d.letterPlaces[4].width, 0.0f);  // and so would the next
    s.hAlign = 2;                              // right-aligned text ends on the edge and keeps its last letter
    s.width = 3.0f;
    CalcText("abc", s, d);
    EXPECT_GT(d.letterPlaces[2].width, 0.0f);
}

TEST_F(TextTest, TextBoxKeepsTheCaretInView) {
    TextSettings s = Box(5.5f, 1, false, 3);
    TextData d;
    const std::string text = "abcdefgh";
    s.cursorLoc = 8;
    CalcText(text, s, d);
    EXPECT_EQ(s.startCharacter, 3);  // "defgh" and the caret fit
    EXPECT_GT(d.letterPlaces[7].width, 0.0f);
    EXPECT_FLOAT_EQ(d.letterPlaces[3].x, -2.25f);

    s.cursorLoc = 1;  // caret moved left of the first column
    CalcText(text, s, d);
    EXPECT_EQ(s.startCharacter, 1);

    s.startCharacter = 3;  // text deleted back to a short one
    s.cursorLoc = 3;
    CalcText("abc", s, d);
    EXPECT_EQ(s.startCharacter, 0);
}

TEST_F(TextTest, CaretMovesBetweenLines) {
    TextSettings s = Box(10, 10, true);
    TextData d;
    s.information = &d;
    const std::string text = "aaaaa\nbb\nccccc";
    CalcText(text, s, d);
    ASSERT_EQ(d.lineStarts, (std::vector<int>{0, 6, 9, 15}));
    EXPECT_EQ(TextGetLine(7, &d), 1);
    EXPECT_EQ(TextGetLine(0, nullptr), 0);
    s.cursorLoc = 4;
    TextDownLine(s);
    EXPECT_EQ(s.cursorLoc, 8);  // at most the shorter line's last letter
    TextDownLine(s);
    EXPECT_EQ(s.cursorLoc, 11);
    TextDownLine(s);
    EXPECT_EQ(s.cursorLoc, 11);  // already on the last line
    TextUpLine(s);
    EXPECT_EQ(s.cursorLoc, 8);
    TextUpLine(s);
    EXPECT_EQ(s.cursorLoc, 2);
    TextUpLine(s);
    EXPECT_EQ(s.cursorLoc, 2);
}

TEST_F(TextTest, ScrollQueries) {
    TextSettings s = Box(5, 5, true);
    TextData d;
    s.information = &d;
    CalcText("a\nb\nc", s, d);
    EXPECT_EQ(TextGetVertScroll(s), 1);
    std::string twelve;
    for (int i = 0; i < 12; ++i) twelve += i ? "\na" : "a";
    CalcText(twelve, s, d);
    EXPECT_EQ(TextGetVertScroll(s), 8);

    s.cursorLoc = 2 * 7;  // line 7
    EXPECT_TRUE(TextReadjustVertical(s));
    EXPECT_EQ(s.startLine, 3);
    EXPECT_FALSE(TextReadjustVertical(s));
    s.cursorLoc = 2;
    EXPECT_TRUE(TextReadjustVertical(s));
    EXPECT_EQ(s.startLine, 1);
    s.cursorLoc = -1;
    EXPECT_FALSE(TextReadjustVertical(s));

    // A line 20 letters long in a box 5 wide.
    s.startLine = 0;
    CalcText("aaaaaaaaaaaaaaaaaaaa", s = Box(5, 5, true, 3), d);
    s.information = &d;
    EXPECT_EQ(TextGetHorizScroll(s), 15);  // columns of the widest letter ('W', 3): 6 + 10 - 1
    s.cursorLoc = 12;
    EXPECT_TRUE(TextReadjustHorizontal(s));
    EXPECT_EQ(s.startCharacter, 12);
    s.cursorLoc = 2;
    EXPECT_TRUE(TextReadjustHorizontal(s));
    EXPECT_EQ(s.startCharacter, 2);
}

TEST_F(TextTest, UnknownFontScrollsWithoutDividingByZero) {
    TextSettings s = Box(5, 5, true, 3);
    s.font = "nothing";
    TextData d;
    s.information = &d;
    CalcText("hello\nworld", s, d);
    EXPECT_EQ(d.letterWidths[0], 0.0f);
    EXPECT_EQ(TextGetHorizScroll(s), 10);  // no columns either way
    s.cursorLoc = 3;
    TextReadjustHorizontal(s);
    EXPECT_GE(s.startCharacter, 0);
    EXPECT_LE(s.startCharacter, 4);
}

TEST_F(TextTest, PinpointsLettersAndTheCaret) {
    TextSettings s = Box(4, 1, false);  // letters a..d centred at -1.5 .. 1.5
    s.x = 100;
    const std::string text = "abcd";
    EXPECT_EQ(PinpointLetter(text, 98.0f, 0.0f, s), 0);  // exactly on the left edge
    EXPECT_EQ(PinpointLetter(text, 97.9f, 0.0f, s), -1);
    EXPECT_EQ(PinpointLetter(text, 100.0f, 0.6f, s), -1);
    EXPECT_EQ(PinpointLetter(text, 100.2f, 0.0f, s), 2);
    D3DXVECTOR2 caret;
    EXPECT_EQ(PinpointCursorLetter(text, 100.7f, 0.0f, s, caret), 3);  // right half of 'c'
    EXPECT_FLOAT_EQ(caret.x, 101.0f);
    EXPECT_EQ(PinpointCursorLetter(text, 100.2f, 0.0f, s, caret), 2);  // left half of 'c'
    EXPECT_FLOAT_EQ(caret.x, 100.0f);
    EXPECT_EQ(PinpointCursorLetter(text, 50.0f, 0.0f, s, caret), -1);
    EXPECT_FLOAT_EQ(caret.x, -1e9f);

    TextSettings m = Box(10, 4, true);  // lines at y 1.5, 0.5, -0.5
    const std::string lines = "abc\ndef\nghi";
    EXPECT_EQ(PinpointLetter(lines, -4.2f, 0.4f, m), 4);
    EXPECT_EQ(PinpointLetter(lines, 4.9f, -0.4f, m), 11);             // right of the last line: its last entry
    EXPECT_EQ(PinpointCursorLetter(lines, 4.9f, 1.4f, m, caret), 3);  // never past a line feed
}

// Found by fuzzing: a box far taller than its letters puts the first line and
// the pointed-at row at opposite ends of the integer range.
TEST_F(TextTest, PinpointInAVastBoxStaysOnALine) {
    TextSettings s = Box(10, 1e30f, true);
    s.charHeight = 1e-6f;
    const std::string lines = "abc\ndef";
    EXPECT_EQ(PinpointLetter(lines, 0.0f, -1e29f, s), 7);  // below every line: the last line's end
    EXPECT_EQ(PinpointLetter(lines, 0.0f, 1e29f, s), 3);   // above: the first line's end
}

struct Quad {
    float x, y, z, w, h;
    const Frame* frame;
    std::uint32_t colour;
};

std::vector<Quad> Draw(const std::string& text, TextSettings& s) {
    std::vector<Quad> quads;
    DrawTextQuads(text, s, [&](float x, float y, float z, float w, float h, const Frame& f, std::uint32_t c) {
        quads.push_back({x, y, z, w, h, &f, c});
    });
    return quads;
}

TEST_F(TextTest, DrawsColouredLettersButNotMarksOrBlanks) {
    TextSettings s = Box(40, 1, false);
    s.colorize = true;
    s.z = 2.0f;
    const std::vector<Quad> quads = Draw("#0x444434#How To Play", s);
    ASSERT_EQ(quads.size(), 9u);
    for (const Quad& q : quads) {
        EXPECT_EQ(q.colour, 0xFF444434u);
        EXPECT_EQ(q.z, 2.0f);
        EXPECT_EQ(q.h, 1.0f);
    }
    EXPECT_EQ(quads[0].frame, &FrameMap("unit", 'H', 0));
    EXPECT_FLOAT_EQ(quads[0].x, -20 + 0.5f);
    s.colorize = false;
    EXPECT_EQ(Draw("ab", s)[0].colour, 0xFF000000u);  // plain text is black
    EXPECT_TRUE(Draw("", s).empty());
    s.width = 0;
    EXPECT_TRUE(Draw("ab", s).empty());
}

TEST_F(TextTest, TextBoxDrawsSelectionAndBackgrounds) {
    TextSettings s = Box(10, 1, false, 3);
    s.z = 1.0f;
    s.charHeight = 0.5f;
    s.cursorLoc = 3;
    s.selectedStart = 1;
    s.primaryColor = 0xFF111111;
    s.secondaryColor = 0xFF222222;
    s.primaryColorBack = 0x10101010;
    s.secondaryColorBack = 0x20202020;
    const std::vector<Quad> quads = Draw("abcd", s);
    ASSERT_EQ(quads.size(), 8u);  // a background and a letter each
    for (int i = 0; i < 4; ++i) {
        const Quad& back = quads[static_cast<size_t>(2 * i)];
        const Quad& letter = quads[static_cast<size_t>(2 * i + 1)];
        const bool selected = i == 1 || i == 2;
        EXPECT_EQ(back.frame, &FrameMap("white", 0, 0));
        EXPECT_EQ(back.colour, selected ? 0x20202020u : 0x10101010u) << i;
        EXPECT_EQ(letter.colour, selected ? 0xFF222222u : 0xFF111111u) << i;
        EXPECT_FLOAT_EQ(back.z, 1.0f - 0.0001f);
        EXPECT_FLOAT_EQ(back.w, 0.5f + 0.5f * 0.05f);
        EXPECT_FLOAT_EQ(back.x, letter.x);
    }
}

TEST_F(TextTest, TextBoxDrawsOnlyWhatLiesInside) {
    TextSettings s = Box(3, 1, false, 3);
    s.cursorLoc = 0;
    EXPECT_EQ(Draw("abcdefgh", s).size(), 2u * 3);  // three letters fit

    // Several lines: each line stops at the right edge, and nothing below the box.
    TextSettings m = Box(3, 2, true, 3);
    std::vector<Quad> quads = Draw("abcdef\ngh\nij\nkl", m);
    ASSERT_EQ(quads.size(), 2u * 5);  // "abc" and "gh"
    EXPECT_EQ(quads[7].frame, &FrameMap("unit", 'g', 0));
    EXPECT_FLOAT_EQ(quads[7].y, -0.5f);

    // Scrolled down a line and across past a short line.
    m.startLine = 1;
    m.startCharacter = 2;
    m.height = 3;
    quads = Draw("abcdef\ng\nijkl\nmnop", m);
    ASSERT_EQ(quads.size(), 2u * 4);  // "kl" of "ijkl", then "op"
    EXPECT_EQ(quads[1].frame, &FrameMap("unit", 'k', 0));
    EXPECT_EQ(quads[7].frame, &FrameMap("unit", 'p', 0));
}

}  // namespace

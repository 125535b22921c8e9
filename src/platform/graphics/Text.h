#pragma once
// Text laid out letter by letter from the bitmap fonts: alignment, line
// breaks, tabs, scrolling and inline colour marks, and the caret questions of
// the text widgets. Layout works in letter units (one line is 1.0 high, y
// up, relative to the box centre); the settings' charHeight turns them into
// game units.
#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "framework/Vector.h"

struct TextData;

// The text state of one text widget; a Text object's variables in this order.
struct TextSettings {
    std::int32_t hAlign = 0;  // 0 left, 1 centre, 2 right, 3 text box
    std::int32_t vAlign = 0;  // 0 top, 1 centre, 2 bottom, 3 top (several lines) / centre (one line)
    bool multiLine = false;
    bool fixedWidth = false;
    float x = 0.0f, y = 0.0f;           // the box's centre, game units
    float width = 0.0f, height = 0.0f;  // the box, game units
    float z = 0.0f;                     // depth of the letters
    float charHeight = 0.0f;            // one line, game units
    std::int32_t startLine = 0;         // vertical scroll
    std::int32_t startCharacter = 0;    // horizontal scroll
    std::int32_t cursorLoc = -1;        // caret, -1 for none
    std::int32_t selectedStart = -1;    // the selection's other end
    std::string font;
    bool colorize = false;
    std::uint32_t primaryColor = 0xFF000000;
    std::uint32_t secondaryColor = 0xFF000000;
    std::uint32_t primaryColorBack = 0x00000000;
    std::uint32_t secondaryColorBack = 0x00000000;
    TextData* information = nullptr;  // cached layout, owned by the widget
};

struct LetterPlace {
    float x = 0.0f, y = 0.0f;  // centre, letter units
    float width = 0.0f;        // drawn width; 0: not drawn
};

// The layout of one string. The letter vectors have one entry more than the
// string has characters: the terminating position.
struct TextData {
    float totalWidth = 0.0f;
    std::int32_t lineCount = 0;
    std::vector<std::int32_t> lineStarts;  // first letter of each line, then length + 1
    std::vector<float> lineWidths;
    std::vector<LetterPlace> letterPlaces;
    std::vector<float> letterWidths;  // layout widths
    std::vector<std::uint32_t> letterColors;
    bool hasColors = false;
};

// The type text the script converter reports for a text object's cached layout.
inline std::string VariableTypeText(std::type_identity<TextData*>) { return "TextData*"; }

void CalcText(const std::string& text, TextSettings& s, TextData& d);
void CalcCharacterWidths(const std::string& text, TextSettings& s, TextData& d);
void CalcCharacters(const std::string& text, TextSettings& s, TextData& d);
void CalcWidths(const std::string& text, TextData* d, bool fixed);
float CalcWidth(const std::string& text, int from, int to, bool fixed, TextData* d);
// Sum of the layout widths of letters from..to-1; 0 when to is -1, -1 when from lies after to.
float CalcLetterSpan(const TextData& d, int to, int from);

// Queues the text into the renderer's current frame.
void DrawTextA(const std::string& text, TextSettings& s);

struct Frame;
// What DrawTextA queues, one quad at a time: centre, depth, size, picture,
// colour (ARGB).
using TextQuadSink =
    std::function<void(float x, float y, float z, float width, float height, const Frame& frame, std::uint32_t colour)>;
// DrawTextA's work, handing each quad to a sink instead of the renderer.
void DrawTextQuads(const std::string& text, TextSettings& s, const TextQuadSink& queue);

// Whether a colour mark ("#0xRRGGBB#" or "#0xRRGGBBAA#") starts at p with
// `remaining` characters left; sets colour (ARGB) and length (10 or 12), or
// length 0 when there is none.
bool TextCheckColor(const char* p, int remaining, TextData& d, std::uint32_t& colour, int& length);
int HexToDecimal(char c);

int TextGetLine(int index, const TextData* d);
void TextUpLine(TextSettings& s);
void TextDownLine(TextSettings& s);
int TextGetVertScroll(TextSettings& s);
int TextGetHorizScroll(TextSettings& s);
bool TextReadjustVertical(TextSettings& s);
bool TextReadjustHorizontal(TextSettings& s);

int PinpointLetter(const std::string& text, float x, float y, TextSettings& s);
int PinpointLetter(const std::string& text, D3DXVECTOR2 point, TextSettings& s);
int PinpointCursorLetter(const std::string& text, float x, float y, TextSettings& s, D3DXVECTOR2& caretPlace);
int PinpointCursorLetter(const std::string& text, D3DXVECTOR2 point, TextSettings& s, D3DXVECTOR2& caretPlace);
void LocateLetter(const std::string& text, int index, TextSettings& s, D3DXVECTOR3& out);
int LocateLine(const std::string& text, int index, TextSettings& s);

#pragma once
#include <string>
#include <unordered_map>

// One bitmap font of the sheet data. Each letter is a picture on the font's
// sheet; widths are in letter units (one text line is 1.0 high).
struct FontInfo {
    static constexpr int CHAR_COUNT = 128;

    int sheet = 0;
    float u[CHAR_COUNT] = {};           // left edge of each letter, texture units
    float v[CHAR_COUNT] = {};           // top edge of each letter, texture units
    float width[CHAR_COUNT] = {};       // letter widths; the line feed's is 0
    float maxWidth = 0.0f;              // the widest letter
    float fixedWidth[CHAR_COUNT] = {};  // every entry maxWidth
};

extern std::unordered_map<std::string, FontInfo> FontMap;

// Reads the font section of the sheet data at cursor (which must not pass
// end) and moves the cursor past it: enters every font in FontMap, gives it
// an animation set of 128 one-frame animations (one per character code) and
// appends a Texture per letter to TextureList. Bad data ends the program.
void LoadFontData(const unsigned char*& cursor, const unsigned char* end);

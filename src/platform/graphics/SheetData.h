#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct GLTexture;

// The sheet data (resource 100): where every named picture lies on which
// sprite sheet (resources 10000 + i), the animation sets, the tiled
// textures and the fonts. Read once by the render thread; the tables of
// Texture.h and Font.h hold the result.

constexpr unsigned short kSheetDataResource = 100;
constexpr unsigned short kFirstSheetResource = 10000;

// A sprite sheet decoded to 8-bit RGBA, top row first.
struct SheetImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;
};

// Decodes PNG (or any image stb_image reads) bytes; false when they are not an image.
bool DecodeSheetImage(const void* bytes, size_t size, SheetImage& out);
// Decodes sprite sheet i from its embedded resource; false when it is missing or bad.
bool DecodeSpriteSheet(int sheet, SheetImage& out);

// Makes the device texture of sheet i from its image; null when that failed.
using SheetUploader = std::function<GLTexture*(int sheet, const SheetImage& image)>;

// Reads sheet data bytes into the tables, replacing whatever was loaded.
// With an uploader, every sheet is decoded and handed to it (50 tries, 10 ms
// apart); without one the sheets are left alone and their textures stay null.
// Bad data ends the program with the loader's messages.
void LoadSheetData(const void* bytes, size_t size, const SheetUploader& upload);
// The same on the embedded resource 100.
void LoadSheetData(const SheetUploader& upload);
// Sets Frame::white to the frame of the set "white" (unchanged without one).
void SetWhiteFrame();

// Empties every table (sheets, textures, sets, tiled textures, fonts) and
// resets Frame::white.
void FreeSheetData();

// Bounded little-endian reading of the sheet data: running past the end is
// the same corruption as bytes left over ("Texture data is invalid!").
class SheetReader {
public:
    SheetReader(const unsigned char*& cursor, const unsigned char* end) : cursor(cursor), end(end) {}
    std::int32_t Int();
    float Float();
    // A NUL-terminated name of at most maxLength characters.
    std::string Name(size_t maxLength = 4096);
    size_t Remaining() const { return static_cast<size_t>(end - cursor); }

private:
    const unsigned char*& cursor;
    const unsigned char* end;
};

// Ends the program: the sheet data is corrupt.
[[noreturn]] void SheetDataInvalid();

#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct GLTexture;

// The sheet data (resource 100): where every named picture lies on which
// sprite sheet (resources 10000 + i), the animation sets, the tiled
// textures and the fonts. Read once by the render thread; the tables of
// Texture.h and Font.h hold the result.

constexpr unsigned short kSheetDataResource = 100;
constexpr unsigned short kFirstSheetResource = 10000;

// Decoded pixels, kept in the block the decoder made them in: a sheet's
// pixels are never copied, so they are never held twice.
class PixelBlock {
public:
    PixelBlock() = default;
    PixelBlock(unsigned char* pixels, size_t size) : pixels(pixels), count(size) {}
    unsigned char* data() { return pixels.get(); }
    const unsigned char* data() const { return pixels.get(); }
    size_t size() const { return count; }
    bool empty() const { return count == 0; }
    const unsigned char* begin() const { return data(); }
    const unsigned char* end() const { return data() + count; }
    unsigned char& operator[](size_t i) { return pixels.get()[i]; }
    const unsigned char& operator[](size_t i) const { return pixels.get()[i]; }

private:
    struct Free {
        void operator()(unsigned char* p) const;
    };
    std::unique_ptr<unsigned char, Free> pixels;
    size_t count = 0;
};

// A sprite sheet decoded to 8-bit RGBA, top row first.
struct SheetImage {
    int width = 0;
    int height = 0;
    PixelBlock rgba;
};

// Decodes PNG (or any image stb_image reads) bytes; false when they are not an image.
bool DecodeSheetImage(const void* bytes, size_t size, SheetImage& out);
// Reads only the size an image's header gives; false when they are not an image.
bool SheetImageSize(const void* bytes, size_t size, int& width, int& height);
// Decodes sprite sheet i from its embedded resource; false when it is missing or bad.
bool DecodeSpriteSheet(int sheet, SheetImage& out);

// Gives sheet i's record (its size already set, no GL name yet) its device
// texture from the decoded image; false when that failed.
using SheetUploader = std::function<bool(int sheet, const SheetImage& image, GLTexture& texture)>;

// Reads sheet data bytes into the tables, replacing whatever was loaded.
// With an uploader, every sheet gets its texture record at once, sized from
// its image's header (a sheet that is missing or not an image ends the
// program here), and its pixels only when it is first wanted (LoadSheet).
// Without one the sheets are left alone and their textures stay null.
// Bad data ends the program with the loader's messages.
void LoadSheetData(const void* bytes, size_t size, const SheetUploader& upload);
// The same on the embedded resource 100.
void LoadSheetData(const SheetUploader& upload);
// Sets Frame::white to the frame of the set "white" (unchanged without one).
void SetWhiteFrame();

// Render thread: decodes sheet i and hands it to the uploader, unless it is
// up already (50 tries, 10 ms apart; then the program ends with "A texture
// failed to load properly."). The pictures on it learn which part of them
// can show anything, and the decoded pixels are freed.
void LoadSheet(int sheet);
// Render thread: loads every sheet marked wanted that is not up yet; the
// number loaded.
int LoadWantedSheets();
// Render thread: whether sheet i's pixels are on the device.
bool SheetLoaded(int sheet);
// Render thread: takes every sheet's pixels off the device. The records and
// tables stay; a sheet wanted again loads again.
void ReleaseSheetTextures();

// Empties every table (sheets, textures, sets, tiled textures, fonts) and
// resets Frame::white; the sheet records go too (their GL names are deleted,
// or handed to the render thread when called from another).
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

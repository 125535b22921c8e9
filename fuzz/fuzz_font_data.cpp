// The font section of the sheet data on its own, as the loader reads it
// after the pictures: sheet size, then each font's name, sheet and 128
// letters. The first byte gives how many sheets the data before it named.
#include <cstdint>

#include "FuzzSupport.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/SheetData.h"
#include "platform/graphics/Texture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::ThrowingFatal fatal;
    if (size < 1) return 0;
    FreeSheetData();
    Texture::sheetCount = data[0] % 8;
    const unsigned char* cursor = data + 1;
    const unsigned char* end = data + size;
    try {
        LoadFontData(cursor, end);
        if (cursor > end) std::abort();  // read past the end
    } catch (const FatalExit&) {}
    FreeSheetData();
    return 0;
}

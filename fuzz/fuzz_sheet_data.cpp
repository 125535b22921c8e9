// The sheet data: sheet sizes, the pictures, the animation sets, the tiled
// textures and the fonts. Bad data is refused with the loader's fatal
// message (which throws here); anything else is a finding.
#include <cstdint>

#include "FuzzSupport.h"
#include "platform/graphics/SheetData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::ThrowingFatal fatal;
    try {
        LoadSheetData(data, size, SheetUploader());
        SetWhiteFrame();
    } catch (const FatalExit&) {}
    FreeSheetData();
    return 0;
}

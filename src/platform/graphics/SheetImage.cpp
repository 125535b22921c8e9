// PNG decoding of the sprite sheets. stb_image is compiled into this unit
// alone, with internal linkage, so no other unit's copy can clash with it.
#include <cstring>

#include "platform/graphics/SheetData.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <stb_image.h>
#pragma GCC diagnostic pop

void PixelBlock::Free::operator()(unsigned char* p) const { stbi_image_free(p); }

bool DecodeSheetImage(const void* bytes, size_t size, SheetImage& out) {
    if (!bytes || size == 0 || size > 0x7fffffff) return false;
    int w = 0, h = 0, channels = 0;
    unsigned char* pixels =
        stbi_load_from_memory(static_cast<const stbi_uc*>(bytes), static_cast<int>(size), &w, &h, &channels, 4);
    if (!pixels) return false;
    out.width = w;
    out.height = h;
    out.rgba = PixelBlock(pixels, static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    return true;
}

bool SheetImageSize(const void* bytes, size_t size, int& width, int& height) {
    if (!bytes || size == 0 || size > 0x7fffffff) return false;
    int channels = 0;
    return stbi_info_from_memory(static_cast<const stbi_uc*>(bytes), static_cast<int>(size), &width, &height,
                                 &channels) != 0;
}

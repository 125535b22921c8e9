#include "support/PngFile.h"

#include <system_error>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace testsupport {

bool WritePng(const std::filesystem::path& path, int width, int height, int channels, const std::uint8_t* pixels) {
    if (path.has_parent_path()) {
        std::error_code error;
        std::filesystem::create_directories(path.parent_path(), error);
    }
    return stbi_write_png(path.c_str(), width, height, channels, pixels, width * channels) != 0;
}

}  // namespace testsupport

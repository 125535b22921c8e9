#pragma once
// Keeping a frame read back from the renderer or the screen as a PNG file,
// for a person to look at.
#include <cstdint>
#include <filesystem>

namespace testsupport {

// Writes width by height pixels, top row first, of `channels` bytes each
// (3: RGB, 4: RGBA) as a PNG file, making its folder when it is missing.
// False when the file could not be written.
bool WritePng(const std::filesystem::path& path, int width, int height, int channels, const std::uint8_t* pixels);

}  // namespace testsupport

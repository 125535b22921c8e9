#pragma once
// "LoadingLevelBackground": the backdrop of the screen between levels, a
// night colour behind the screen's lines (the next level, who is waited for).
#include <cstdint>

class Object;

class Buffer;

namespace ObjectData::LoadingLevelBackground {
void _Init(Object*& slot);
constexpr std::uint32_t kBackdropColour = 0xFF1B1A3Au;
// Tile list 15 as the screen fade draws it: technique
// "TechniqueTilePara2D" with the colours of the tiled texture "whiteFade"; a
// quad's own picture gives only its outline.
void SetUpFadeList(Buffer& buffer);
}  // namespace ObjectData::LoadingLevelBackground

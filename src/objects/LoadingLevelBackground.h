#pragma once
// "LoadingLevelBackground": the white backdrop of the screen between levels.
class Object;

class Buffer;

namespace ObjectData::LoadingLevelBackground {
void _Init(Object*& slot);
// Tile list 15 as the white backdrop and the screen fade draw it: technique
// "TechniqueTilePara2D" with the colours of the tiled texture "whiteFade"; a
// quad's own picture gives only its outline.
void SetUpFadeList(Buffer& buffer);
}  // namespace ObjectData::LoadingLevelBackground

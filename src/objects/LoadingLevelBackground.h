#pragma once
// "LoadingLevelBackground": the white backdrop of the screen between levels.
class Object;

namespace ObjectData::LoadingLevelBackground {
void _Init(Object*& slot);
}

#pragma once
// "LevelEditorManager": a registered object type with no variables and no
// behaviour of its own; no screen makes one.
class Object;

namespace ObjectData::LevelEditorManager {

void _Init(Object*& slot);

}  // namespace ObjectData::LevelEditorManager

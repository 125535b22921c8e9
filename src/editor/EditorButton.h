#pragma once
// "EditorButton": a plain picture button of the editors. Its "Behavior" is
// the editors' shared button step (ExObjectData::ButtonCursorBehavior):
// under the pointer it raises "Logic" on a left click and "Hover" otherwise.
#include "collision/CollisionEngine.h"
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::EditorButton {

struct Variables {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 size{0.0f, 0.0f};
    const char* texture = nullptr;
    // Kept and copied with the button; nothing draws them.
    const char* baseTexture = nullptr;
    const char* hoverTexture = nullptr;
    const char* hitTexture = nullptr;
    const char* overlay = nullptr;
    CollisionInfo2D collision;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

}  // namespace ObjectData::EditorButton

namespace ExObjectData {

// "Behavior" of the editors' picture buttons: while the pointer ("Cursor")
// lies over the button, "Logic" on a left click and "Hover" otherwise, both
// with the button as other.
void ButtonCursorBehavior(Entity* self, Entity* other);

}  // namespace ExObjectData

#include "stencil/PanelButtons.h"

#include <string>

#include "framework/LevelTemplate.h"
#include "framework/Object.h"
#include "stencil/StencilRows.h"

namespace PanelButtons {

Object* Make(Entity* owner, float x, const char* label, const char* toolTip) {
    Object* button = LevelTemplate::SpawnIn(owner->_state, "StencilButton");
    if (button == nullptr) return nullptr;
    StencilRows::SetPixelSize(button, 30, 30);
    LevelTemplate::SetIfPresent(button, enum_position, D3DXVECTOR3(x, 0.45f, 0.0f));
    LevelTemplate::SetIfPresent(button, enum_texture, label);
    LevelTemplate::SetIfPresent(button, enum_toolTip, std::string(toolTip));
    LevelTemplate::SetIfPresent<Entity*>(button, enum_master, owner);
    return button;
}

EditButtons MakeEditButtons(Entity* owner, float dx, const char* addTip, const char* removeTip) {
    EditButtons made;
    made.apply = Make(owner, 0.5f + dx, "confirm", "Apply changes");
    made.add = Make(owner, 0.3f + dx, "Add Stencil", addTip);
    made.remove = Make(owner, 0.4f + dx, "Delete Stencil", removeTip);
    return made;
}

}  // namespace PanelButtons

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

}  // namespace PanelButtons

#include "stencil/StencilButton.h"

#include <string>

#include "editor/EditorButton.h"
#include "editor/EditorDialog.h"
#include "framework/Object.h"
#include "widgets/Button.h"
#include "widgets/WidgetSupport.h"

namespace ExObjectData {

void StencilButtonClick(Entity* button, Entity*) {
    const char* const* label = FindVariable<const char*>(button, enum_texture);
    Entity* const* master = FindVariable<Entity*>(button, enum_master);
    if (label == nullptr || master == nullptr || *master == nullptr) return;
    if (std::string* clicked = FindVariable<std::string>(*master, enum_clickedStencil))
        *clicked = *label != nullptr ? *label : "";
}

void StencilButton(Object* object) {
    object->AddEvent("Logic", &StencilButtonClick);
    // The panels' buttons answer the pointer even while one of their rows has
    // the keyboard: "confirm" right after typing into a row must not be lost.
    // They take no part in the focus order, where Enter could not press them.
    object->AddEvent("Behavior", &ButtonCursorBehavior);
    object->AddToEngine("Behavior", &ButtonCursorBehavior);
    Widgets::RaiseOwn(object, "RemoveTabbing", object);
    ObjectData::Button::Variables& v = VariablesOf<ObjectData::Button::Variables>(object);
    v.position = D3DXVECTOR3(-0.5f, -0.1f, 0.0f);
    v.size = D3DXVECTOR2(0.1f, 0.1f);
    v.texture = "hostGameButton";
}

void AddStencilButton(Object* object) {
    object->AddEvent("Logic", &GoToLevelQuit);
    object->AddEvent("Behavior", &ButtonCursorBehavior);
    object->AddToEngine("Behavior", &ButtonCursorBehavior);
    ObjectData::Button::Variables& v = VariablesOf<ObjectData::Button::Variables>(object);
    v.position = D3DXVECTOR3(0.0f, -0.35f, 0.0f);
    v.size = D3DXVECTOR2(0.3f, 0.1f);
    v.texture = "Add Stencil";
}

}  // namespace ExObjectData

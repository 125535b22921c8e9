#include "widgets/ListButton.h"

#include "framework/Object.h"
#include "widgets/Text.h"
#include "widgets/TextButton.h"
#include "widgets/WidgetSupport.h"

namespace ObjectData::ListButton {

void Logic(Entity* self, Entity*) {
    Entity* master = VariablesOf<TextButton::Variables>(self).master;
    if (master != nullptr) Widgets::RaiseOwn(master, "Logic", self);
}

void GraphicsDraw(Entity* self, Entity*) {
    TextButton::Variables& v = VariablesOf<TextButton::Variables>(self);
    Text::Variables* caption = Text::Find(v.textObj);
    if (caption == nullptr) return;
    const float k = v.hover ? 1.1f : 1.0f;
    TextSettings& s = caption->settings;
    s.x = v.position.x;
    s.y = v.position.y;
    s.z = v.position.z + 10.0f;
    s.charHeight = v.size.y * 0.89f * k;
    s.width = v.size.x;
    s.height = v.size.y * k;
    Widgets::RaiseOwn(v.textObj, "GraphicsDraw", self);
}

void Differences(Object* object) {
    object->AddEvent("Logic", &Logic);
    object->AddEvent("GraphicsDraw", &GraphicsDraw);
    object->AddToEngine("GraphicsDraw", &GraphicsDraw);
    if (Text::Variables* caption = Text::Find(VariablesOf<TextButton::Variables>(object).textObj)) {
        caption->settings.hAlign = 0;
        caption->settings.primaryColor = 0xFFFF0000u;
        caption->settings.colorize = false;
    }
}

}  // namespace ObjectData::ListButton

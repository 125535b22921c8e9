#include "widgets/HeldButton.h"

#include "framework/Object.h"
#include "widgets/TextButton.h"

namespace ObjectData::HeldButton {

void Differences(Object* object) {
    object->AddEvent("Behavior", &TextButton::HeldBehavior);
    object->AddToEngine("Behavior", &TextButton::HeldBehavior);
}

}  // namespace ObjectData::HeldButton

#pragma once
// "HeldButton": a "Button" whose click repeats while it is held, the arrows
// of the scroll bars.
class Object;

namespace ObjectData::HeldButton {

// The variant's differences: the held-repeat step as its "Behavior", in the
// "Behavior" engine too.
void Differences(Object* object);

}  // namespace ObjectData::HeldButton

#include "framework/ExObject.h"

ExObject::ExObject(const std::string& nameValue, const std::string& baseNameValue, Differences differencesValue)
    : object(baseNameValue), name(nameValue), differences(differencesValue) {}

void ExObject::Apply(Object* object) const {
    if (differences != nullptr) differences(object);
}

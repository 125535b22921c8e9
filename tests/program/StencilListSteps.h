#pragma once
// What the runs of the real stencil editor share: the object list as the
// editor shows it, and the script steps that choose one of its names.
#include <algorithm>
#include <string>
#include <vector>

#include "program/TypeRegistration.h"

namespace stencilsteps {

// The object types the program registers, as the stencil editor lists them.
inline std::vector<std::string> ObjectTypeNames() {
    std::vector<std::string> names;
    for (const ObjectTypeEntry& row : ObjectTypes())
        if (row.init != nullptr) names.push_back(row.name);
    std::sort(names.begin(), names.end());
    return names;
}

// Steps that scroll the objects list until type shows (clicks on the lower
// arrow of its bar: 20 by 504 pixels of the 800 by 600 window) and click its
// row; empty when the program has no such type.
inline std::string ChooseObjectType(const std::string& type) {
    const std::vector<std::string> objects = ObjectTypeNames();
    const auto found = std::find(objects.begin(), objects.end(), type);
    if (found == objects.end()) return {};
    const int index = static_cast<int>(found - objects.begin());
    const int scrolled = std::max(0, index - 20);
    const float row = 0.4f - 0.025f * static_cast<float>(index - scrolled);
    const float arrowX = -0.5f + 0.115f, arrowY = -(0.42f - 10.0f / 600.0f);
    std::string steps;
    for (int i = 0; i < scrolled; ++i)
        steps += "click " + std::to_string(arrowX) + " " + std::to_string(arrowY) + "\nwait 4\n";
    return steps + "wait 5\nclick -0.5 " + std::to_string(row) + "\nwait 6\n";
}

}  // namespace stencilsteps

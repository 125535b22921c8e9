#pragma once
// "StencilObjPropLevel": the properties window of one stencil, opened by the
// stencil editor's F6 in a state and window of its own. Its title shows the
// stencil's name; two tabs ("VARIABLES", "functions") choose which panel is
// on screen: the variables panel "VariableTable" or the functions panel
// "FunctionTable" (made only while its type is registered).
#include <cstdint>
#include <string>

#include "framework/LevelTemplate.h"

namespace LevelData::StencilObjPropLevel {

struct Variables {
    std::string objType;
    std::string objName;
    float titleNameX = -0.15f;
    Object* titleText = nullptr;
    std::int32_t activeProperty = 0;
    std::string clickedStencil = "nothing";
};

using _DATA = LevelTemplate::Data<Variables>;

Level* _Init();

// The level's variables, or null for other entities.
Variables* Find(Entity* entity);

}  // namespace LevelData::StencilObjPropLevel

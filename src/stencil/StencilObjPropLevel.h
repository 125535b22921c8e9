#pragma once
// "StencilObjPropLevel": the properties window of one stencil, opened by the
// stencil editor's F6 in a state and window of its own. Its title shows the
// stencil's name; two tabs ("VARIABLES", "functions") choose which panel is
// on screen: the variables panel "VariableTable" or the functions panel
// "FunctionTable" (made only while its type is registered). Both open on
// the stencil's committed record (StencilStore). Its report line at the
// bottom tells what the last commit or build did; the build button (or F5)
// commits both panels, builds the stencil and replaces the type in the
// running program (StencilBuild), the report following it frame by frame.
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

    // Not script variables: the report line and the build button, and the
    // build whose report the line shows.
    Object* report = nullptr;
    Object* buildButton = nullptr;
    int shownBuild = 0;
};

using _DATA = LevelTemplate::Data<Variables>;

Level* _Init();

// The level's variables, or null for other entities.
Variables* Find(Entity* entity);

// Shows text in the report line of the properties window running in state
// (nothing when state runs another level).
void ShowReport(State* state, const std::string& text);

// The label of the build button, and what the window says of it.
inline constexpr char kBuildLabel[] = "Build";
inline constexpr char kBuildHint[] = "F5 or the build button: commit both tabs, build the type and replace it";

}  // namespace LevelData::StencilObjPropLevel

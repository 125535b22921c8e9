#pragma once
// "StencilFuncPropLevel": a level of no variables and no events of its
// own, kept beside the functions panel. Its set-up raises "PreLoad" and
// "Load" on itself and its release "Unload", all of them empty; loaded into
// a state it shows nothing.
#include "framework/LevelTemplate.h"

namespace LevelData::StencilFuncPropLevel {

struct NoVariables {};

using _DATA = LevelTemplate::Data<NoVariables>;

Level* _Init();

}  // namespace LevelData::StencilFuncPropLevel

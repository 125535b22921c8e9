// The level editor's and the stencil editor's rows, handed to the program's
// registration. A new editor type adds its row here (its name is already in
// the program's order list).
#include "editor/EditorTypes.h"

#include "editor/BoxTool.h"
#include "editor/BrushTool.h"
#include "editor/FillTool.h"
#include "editor/MoveTool.h"

namespace {

const ObjectTypeEntry kObjects[] = {
    {"BoxTool", &ObjectData::BoxTool::_Init},
    {"BrushTool", &ObjectData::BrushTool::_Init},
    {"FillTool", &ObjectData::FillTool::_Init},
    {"MoveTool", &ObjectData::MoveTool::_Init},
};

}  // namespace

TypeRows EditorTypes() { return {.objects = kObjects}; }

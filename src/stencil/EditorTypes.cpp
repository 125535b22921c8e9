// The level editor's and the stencil editor's rows, handed to the program's
// registration. A new editor type adds its row here (its name is already in
// the program's order list). The table names every type of the editor layer,
// so it sits in the layer's top folder: the level editor below never names
// the stencil editor.
#include "stencil/EditorTypes.h"

#include "editor/BoxTool.h"
#include "editor/BrushTool.h"
#include "editor/EditorButton.h"
#include "editor/EditorDialog.h"
#include "editor/EditorToolBar.h"
#include "editor/FillTool.h"
#include "editor/Grid.h"
#include "editor/LevelEditor.h"
#include "editor/LevelEditorCreate.h"
#include "editor/LevelEditorCreateAs.h"
#include "editor/LevelEditorLoad.h"
#include "editor/LevelEditorManager.h"
#include "editor/LevelEditorObjectList.h"
#include "editor/LevelEditorResize.h"
#include "editor/MoveTool.h"
#include "editor/OpenLevelList.h"
#include "stencil/InstanceEditor.h"
#include "stencil/StencilButton.h"
#include "stencil/StencilCodeBlock.h"
#include "stencil/StencilEditor.h"
#include "stencil/StencilFuncProp.h"
#include "stencil/StencilFuncPropLevel.h"
#include "stencil/StencilMenu.h"
#include "stencil/StencilObjProp.h"
#include "stencil/StencilObjPropLevel.h"
#include "stencil/TextEditor.h"

namespace {

namespace ToolBar = ExObjectData::EditorToolBar;

const ObjectTypeEntry kObjects[] = {
    {"BoxTool", &ObjectData::BoxTool::_Init},
    {"BrushTool", &ObjectData::BrushTool::_Init},
    {"EditorButton", &ObjectData::EditorButton::_Init},
    {"FillTool", &ObjectData::FillTool::_Init},
    {"Grid", &ObjectData::Grid::_Init},
    {"LevelEditorManager", &ObjectData::LevelEditorManager::_Init},
    {"LevelEditorObjectList", &ObjectData::LevelEditorObjectList::_Init},
    {"MoveTool", &ObjectData::MoveTool::_Init},
    {"OpenLevelList", &ObjectData::OpenLevelList::_Init},
    {"StencilFuncProp", &ObjectData::StencilFuncProp::_Init},
    {"StencilMenu", &ObjectData::StencilMenu::_Init},
    {"StencilObjProp", &ObjectData::StencilObjProp::_Init},
};

const ExObjectEntry kExObjects[] = {
    {"AddStencilButton", "Button", &ExObjectData::AddStencilButton},
    {"EditCursor", "Cursor", &ToolBar::EditCursor},
    {"LevelEditorCreateCancel", "Button", &ExObjectData::LevelEditorCreateCancel},
    {"LevelEditorCreateConfirm", "Button", &ExObjectData::LevelEditorCreateConfirm},
    {"LevelEditorCreateConfirmSaveAs", "Button", &ExObjectData::LevelEditorCreateConfirmSaveAs},
    {"LevelEditorOpenCancel", "Button", &ExObjectData::LevelEditorOpenCancel},
    {"LevelEditorOpenConfirm", "Button", &ExObjectData::LevelEditorOpenConfirm},
    {"LevelEditorResizeConfirm", "Button", &ExObjectData::LevelEditorResizeConfirm},
    {"lvEditorBox", "Button", &ToolBar::Box},
    {"lvEditorBucket", "Button", &ToolBar::Bucket},
    {"lvEditorCircle", "Button", &ToolBar::Circle},
    {"lvEditorFill", "Button", &ToolBar::Fill},
    {"lvEditorGrid", "Grid", &ObjectData::Grid::Differences},
    {"lvEditorMoveButton", "Button", &ToolBar::MoveButton},
    {"lvEditorNew", "Button", &ToolBar::New},
    {"lvEditorOpen", "Button", &ToolBar::Open},
    {"lvEditorPencil", "Button", &ToolBar::Pencil},
    {"lvEditorPlay", "Button", &ToolBar::Play},
    {"lvEditorResize", "Button", &ToolBar::Resize},
    {"lvEditorSave", "Button", &ToolBar::Save},
    {"lvEditorSaveAs", "Button", &ToolBar::SaveAs},
    {"lvEditorSettings", "Button", &ToolBar::Settings},
    {"lvEditorZoom", "Button", &ToolBar::Zoom},
    {"StencilButton", "Button", &ExObjectData::StencilButton},
};

const LevelTypeEntry kLevels[] = {
    {"InstanceEditor", &LevelData::InstanceEditor::_Init},
    {"LevelEditor", &LevelData::LevelEditor::_Init},
    {"LevelEditorCreate", &LevelData::LevelEditorCreate::_Init},
    {"LevelEditorCreateAs", &LevelData::LevelEditorCreateAs::_Init},
    {"LevelEditorLoad", &LevelData::LevelEditorLoad::_Init},
    {"LevelEditorResize", &LevelData::LevelEditorResize::_Init},
    {"StencilCodeBlock", &LevelData::StencilCodeBlock::_Init},
    {"StencilEditor", &LevelData::StencilEditor::_Init},
    {"StencilFuncPropLevel", &LevelData::StencilFuncPropLevel::_Init},
    {"StencilObjPropLevel", &LevelData::StencilObjPropLevel::_Init},
    {"TextEditor", &LevelData::TextEditor::_Init},
};

}  // namespace

TypeRows EditorTypes() { return {.objects = kObjects, .exObjects = kExObjects, .levels = kLevels}; }

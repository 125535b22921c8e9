// The registration tables: one row per registered type, in the order the
// registries are filled at start-up.
#include "framework/TypeRegistry.h"

#include "framework/engines/BuiltInEngines.h"
#include "objects/Background.h"
#include "objects/Bots.h"
#include "objects/Camera.h"
#include "objects/Checkpoint.h"
#include "objects/ColorizedBox.h"
#include "objects/FakeBrokenTerrain.h"
#include "objects/Firefly.h"
#include "objects/Graphic.h"
#include "objects/GrassBlade.h"
#include "objects/GrassManager.h"
#include "objects/GuiImage.h"
#include "objects/LevelGoal.h"
#include "objects/LevelGraphics.h"
#include "objects/LoadingLevelBackground.h"
#include "objects/MenuStars.h"
#include "objects/MoonShard.h"
#include "objects/ParaBack.h"
#include "objects/Particle.h"
#include "objects/Player.h"
#include "objects/ShatterMoon.h"
#include "objects/SpdBoost.h"
#include "objects/Spring.h"
#include "screens/SinglePlayer.h"
#include "screens/Transition.h"
#include "widgets/Button.h"
#include "widgets/Cursor.h"
#include "widgets/PosSizeDummy.h"
#include "widgets/TabManager.h"
#include "widgets/Text.h"
#include "widgets/TextButton.h"
#include "widgets/TextMsg.h"
#include "widgets/WindowGrid.h"
#include "widgets/newButton.h"

namespace EngineData::NetworkingUpdate {
Engine* _Init();
}

namespace {

const ObjectTypeEntry kObjectTypes[] = {
    {"Background", &ObjectData::Background::_Init},
    {"BoxTool", nullptr},
    {"BrushTool", nullptr},
    {"Button", &ObjectData::Button::_Init},
    {"Camera", &ObjectData::Camera::_Init},
    {"CameraGraphic", &ObjectData::CameraGraphic::_Init},
    {"Checkpoint", &ObjectData::Checkpoint::_Init},
    {"ColorizedBox", &ObjectData::ColorizedBox::_Init},
    {"Cursor", &ObjectData::Cursor::_Init},
    {"CustomLevelSelector", nullptr},
    {"DragButton", nullptr},
    {"EditorButton", nullptr},
    {"ExplorerBotAI", &ObjectData::ExplorerBotAI::_Init},
    {"FakeBrokenTerrain", &ObjectData::FakeBrokenTerrain::_Init},
    {"FillTool", nullptr},
    {"Firefly", &ObjectData::Firefly::_Init},
    {"Graphic", &ObjectData::Graphic::_Init},
    {"GrassBlade", &ObjectData::GrassBlade::_Init},
    {"GrassBladeDown", &ObjectData::GrassBladeDown::_Init},
    {"GrassBladeLeft", &ObjectData::GrassBladeLeft::_Init},
    {"GrassBladeRight", &ObjectData::GrassBladeRight::_Init},
    {"GrassManager", &ObjectData::GrassManager::_Init},
    {"Grid", nullptr},
    {"guiImage", &ObjectData::guiImage::_Init},
    {"HSlider", nullptr},
    {"LevelEditorManager", nullptr},
    {"LevelEditorObjectList", nullptr},
    {"LevelGoal", &ObjectData::LevelGoal::_Init},
    {"LevelGraphics", &ObjectData::LevelGraphics::_Init},
    {"LoadingLevelBackground", &ObjectData::LoadingLevelBackground::_Init},
    {"MenuStars", &ObjectData::MenuStars::_Init},
    {"MoonShard", &ObjectData::MoonShard::_Init},
    {"MoveTool", nullptr},
    {"newButton", &ObjectData::newButton::_Init},
    {"OpenLevelList", nullptr},
    {"ParaBack", &ObjectData::ParaBack::_Init},
    {"Particle", &ObjectData::Particle::_Init},
    {"PausedHowToPlayImage", nullptr},
    {"Player", &ObjectData::Player::_Init},
    {"PointSlider", nullptr},
    {"PosSizeDummy", &ObjectData::PosSizeDummy::_Init},
    {"PseudoPara", &ObjectData::PseudoPara::_Init},
    {"ServerMenu", nullptr},
    {"ShatterMoon", &ObjectData::ShatterMoon::_Init},
    {"SideSpring", &ObjectData::SideSpring::_Init},
    {"SideSpring2", &ObjectData::SideSpring2::_Init},
    {"SingleLineTextBox", nullptr},
    {"Slider", nullptr},
    {"SolverBotAI", &ObjectData::SolverBotAI::_Init},
    {"SpdBoost", &ObjectData::SpdBoost::_Init},
    {"Spring", &ObjectData::Spring::_Init},
    {"StencilFuncProp", nullptr},
    {"StencilMenu", nullptr},
    {"StencilObjProp", nullptr},
    {"TabManager", &ObjectData::TabManager::_Init},
    {"Text", &ObjectData::Text::_Init},
    {"TextBox", nullptr},
    {"TextButton", &ObjectData::TextButton::_Init},
    {"TextMsg", &ObjectData::TextMsg::_Init},
    {"TitleInstruction", nullptr},
    {"Transition", &ObjectData::Transition::_Init},
    {"VSlider", nullptr},
    {"WanderBotAI", &ObjectData::WanderBotAI::_Init},
    {"WindowGrid", &ObjectData::WindowGrid::_Init},
};

// Extended objects, sorted by name without regard to case.
const ExObjectEntry kExObjectTypes[] = {
    {"AddStencilButton", "Button", nullptr},
    {"CancelButton", "Button", nullptr},
    {"ContinuePlaying", "Button", nullptr},
    {"customGame", "TextButton", nullptr},
    {"CustomizeButton", "Button", nullptr},
    {"DisplayCharacter", "Player", nullptr},
    {"DisplayCharacterBack", "Graphic", nullptr},
    {"EditCursor", "Cursor", nullptr},
    {"EULAACCEPT", "Button", nullptr},
    {"EULADECLINE", "Button", nullptr},
    {"extendedButton", "TextButton", nullptr},
    {"Facebook", "Button", nullptr},
    {"FullScreenButton", "Button", nullptr},
    {"gridSliderH", "HSlider", nullptr},
    {"gridSliderV", "VSlider", nullptr},
    {"HeldButton", "Button", nullptr},
    {"hostGame", "Button", nullptr},
    {"Instructions", "Button", nullptr},
    {"joinGame", "Button", nullptr},
    {"LevelEditorCreateCancel", "Button", nullptr},
    {"LevelEditorCreateConfirm", "Button", nullptr},
    {"LevelEditorCreateConfirmSaveAs", "Button", nullptr},
    {"LevelEditorOpenCancel", "Button", nullptr},
    {"LevelEditorOpenConfirm", "Button", nullptr},
    {"LevelEditorResizeConfirm", "Button", nullptr},
    {"ListButton", "TextButton", nullptr},
    {"lvEditorBox", "Button", nullptr},
    {"lvEditorBucket", "Button", nullptr},
    {"lvEditorCircle", "Button", nullptr},
    {"lvEditorFill", "Button", nullptr},
    {"lvEditorGrid", "Grid", nullptr},
    {"lvEditorMoveButton", "Button", nullptr},
    {"lvEditorNew", "Button", nullptr},
    {"lvEditorOpen", "Button", nullptr},
    {"lvEditorPencil", "Button", nullptr},
    {"lvEditorPlay", "Button", nullptr},
    {"lvEditorResize", "Button", nullptr},
    {"lvEditorSave", "Button", nullptr},
    {"lvEditorSaveAs", "Button", nullptr},
    {"lvEditorSettings", "Button", nullptr},
    {"lvEditorZoom", "Button", nullptr},
    {"MMCursor", "Cursor", nullptr},
    {"MMSuperCursor", "MMCursor", nullptr},
    {"NetCursor", "Cursor", nullptr},
    {"OpenButton", "Button", nullptr},
    {"PauseMenuHowToPlay", "TextButton", nullptr},
    {"PauseMenuResumeButton", "TextButton", nullptr},
    {"PauseMenuReturnMainMenu", "TextButton", nullptr},
    {"Quickstart", "TextButton", nullptr},
    {"Quit", "Button", nullptr},
    {"QuitButton", "Button", nullptr},
    {"quitToMainMenu", "TextButton", nullptr},
    {"resolutionToggleButton", "Button", nullptr},
    {"ReturnToPause", "Button", nullptr},
    {"rummbleToggleButton", "Button", nullptr},
    {"sliderA", "VSlider", nullptr},
    {"sliderB", "HSlider", nullptr},
    {"StartGame", "Button", nullptr},
    {"StartServer", "TextButton", nullptr},
    {"StencilButton", "Button", nullptr},
    {"TestSoundButton", "Button", nullptr},
    {"TitleCharacter", "Player", nullptr},
    {"toCredits", "TextButton", nullptr},
    {"toCustomize", "TextButton", nullptr},
    {"toInstructions", "TextButton", nullptr},
    {"toLvEditor", "TextButton", nullptr},
    {"toMMenu", "TextButton", nullptr},
    {"toMultiplayer", "TextButton", nullptr},
    {"toOptions", "TextButton", nullptr},
    {"toQuit", "TextButton", nullptr},
    {"toSingleplayer", "TextButton", nullptr},
    {"toWherever", "TextButton", nullptr},
    {"Twitter", "Button", nullptr},
    {"wiiToggleButton", "Button", nullptr},
    {"xboxToggleButton", "Button", nullptr},
};

const LevelTypeEntry kLevelTypes[] = {
    {"Credits", nullptr},
    {"CreditsScreen", nullptr},
    {"Customize", nullptr},
    {"HalvernSplash", nullptr},
    {"Eula", nullptr},
    {"GameResults", nullptr},
    {"HowToPlayScreen", nullptr},
    {"InstanceEditor", nullptr},
    {"LevelEditor", nullptr},
    {"LevelEditorCreate", nullptr},
    {"LevelEditorCreateAs", nullptr},
    {"LevelEditorLoad", nullptr},
    {"LevelEditorResize", nullptr},
    {"LoadingLevel", nullptr},
    {"Lobby", nullptr},
    {"MainMenu", nullptr},
    {"MakeGame", nullptr},
    {"Multiplayer", nullptr},
    {"Options", nullptr},
    {"Profiler", nullptr},
    {"QuitConfirm", nullptr},
    {"QuitWindow", nullptr},
    {"Sandbox", nullptr},
    {"SinglePlayer", &LevelData::SinglePlayer::_Init},
    {"SPResults", nullptr},
    {"StencilCodeBlock", nullptr},
    {"StencilEditor", nullptr},
    {"StencilFuncPropLevel", nullptr},
    {"StencilObjPropLevel", nullptr},
    {"TeamSplash", nullptr},
    {"TextEditor", nullptr},
    {"TitleScreen", nullptr},
};

const EngineTypeEntry kEngineTypes[] = {
    {"Behavior", &EngineData::Behavior::_Init},
    {"Behavior2", &EngineData::Behavior2::_Init},
    {"GameInput", &EngineData::GameInput::_Init},
    {"GraphicsDraw", &EngineData::GraphicsDraw::_Init},
    {"GraphicsUpdate", &EngineData::GraphicsUpdate::_Init},
    {"GuiManager", &EngineData::GuiManager::_Init},
    {"Input", &EngineData::Input::_Init},
    {"NetworkingUpdate", &EngineData::NetworkingUpdate::_Init},
    {"PostCameraUpdate", &EngineData::PostCameraUpdate::_Init},
    {"PreCameraUpdate", &EngineData::PreCameraUpdate::_Init},
    {"ProfilerDraw", &EngineData::ProfilerDraw::_Init},
    {"Sound", &EngineData::Sound::_Init},
    {"WindowEngine", &EngineData::WindowEngine::_Init},
};

}  // namespace

std::span<const ObjectTypeEntry> ObjectTypes() { return kObjectTypes; }
std::span<const ExObjectEntry> ExObjectTypes() { return kExObjectTypes; }
std::span<const LevelTypeEntry> LevelTypes() { return kLevelTypes; }
std::span<const EngineTypeEntry> EngineTypes() { return kEngineTypes; }

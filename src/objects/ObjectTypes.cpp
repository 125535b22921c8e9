// The gameplay object types' rows, handed to the program's registration.
#include "objects/ObjectTypes.h"

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

namespace {

const ObjectTypeEntry kObjects[] = {
    {"Background", &ObjectData::Background::_Init},
    {"Camera", &ObjectData::Camera::_Init},
    {"CameraGraphic", &ObjectData::CameraGraphic::_Init},
    {"Checkpoint", &ObjectData::Checkpoint::_Init},
    {"ColorizedBox", &ObjectData::ColorizedBox::_Init},
    {"ExplorerBotAI", &ObjectData::ExplorerBotAI::_Init},
    {"FakeBrokenTerrain", &ObjectData::FakeBrokenTerrain::_Init},
    {"Firefly", &ObjectData::Firefly::_Init},
    {"Graphic", &ObjectData::Graphic::_Init},
    {"GrassBlade", &ObjectData::GrassBlade::_Init},
    {"GrassBladeDown", &ObjectData::GrassBladeDown::_Init},
    {"GrassBladeLeft", &ObjectData::GrassBladeLeft::_Init},
    {"GrassBladeRight", &ObjectData::GrassBladeRight::_Init},
    {"GrassManager", &ObjectData::GrassManager::_Init},
    {"guiImage", &ObjectData::guiImage::_Init},
    {"LevelGoal", &ObjectData::LevelGoal::_Init},
    {"LevelGraphics", &ObjectData::LevelGraphics::_Init},
    {"LoadingLevelBackground", &ObjectData::LoadingLevelBackground::_Init},
    {"MenuStars", &ObjectData::MenuStars::_Init},
    {"MoonShard", &ObjectData::MoonShard::_Init},
    {"ParaBack", &ObjectData::ParaBack::_Init},
    {"Particle", &ObjectData::Particle::_Init},
    {"Player", &ObjectData::Player::_Init},
    {"PseudoPara", &ObjectData::PseudoPara::_Init},
    {"ShatterMoon", &ObjectData::ShatterMoon::_Init},
    {"SideSpring", &ObjectData::SideSpring::_Init},
    {"SideSpring2", &ObjectData::SideSpring2::_Init},
    {"SolverBotAI", &ObjectData::SolverBotAI::_Init},
    {"SpdBoost", &ObjectData::SpdBoost::_Init},
    {"Spring", &ObjectData::Spring::_Init},
    {"WanderBotAI", &ObjectData::WanderBotAI::_Init},
};

}  // namespace

TypeRows GameplayTypes() { return {.objects = kObjects}; }

// Every picture the camera, tile renderer, player, backdrops and HUD moon
// draw is on the baked sheets, so none of them falls back to white.
#include <gtest/gtest.h>

#include <string>

#include "platform/graphics/SheetData.h"
#include "platform/graphics/Texture.h"

namespace {

TEST(SheetPicturesTest, NothingTheLevelDrawsIsMissing) {
    LoadSheetData([](int, const SheetImage&, GLTexture&) { return true; });
    std::vector<std::string> sets = {"flatgrass", "dirt",        "spikeBase",   "breakableBlocks", "playerCircle",
                                     "playerEye", "playerMouth", "playerSplat", "light",           "star",
                                     "white",     "playerWalk",  "firefly",     "nightSky"};
    for (int k = 0; k < 8; ++k) {
        for (const char* stem : {"spike0", "spikelight0", "moon0", "gmoon0"}) sets.push_back(stem + std::to_string(k));
    }
    for (const std::string& name : sets) EXPECT_EQ(AnimationSetMap.count(name), 1u) << name;
    for (const char* name : {"moon", "grassPara", "muddyGround", "ground", "breakableGround", "splatter", "grass",
                             "nightSkyGround", "whiteFade"})
        EXPECT_NE(FindTiledTexture(name), nullptr) << name;
    FreeSheetData();
}

}  // namespace

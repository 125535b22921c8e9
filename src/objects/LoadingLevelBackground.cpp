#include "objects/LoadingLevelBackground.h"

#include "framework/ObjectTemplate.h"
#include "objects/GameplayHooks.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"

namespace ObjectData::LoadingLevelBackground {

namespace {

struct Variables {};
VariableOffsetTable table;

// The backdrop of the screen between levels: behind everything else (the
// screen's lines of what it waits for are drawn on it), a night colour.
void GraphicsDraw(Entity*, Entity*) {
    Buffer* buffer = graphicsEngine.GetCurrentBuffer();
    if (buffer == nullptr) return;
    float cx = 0.0f, cy = 0.0f, r = 1.0f;
    gameplayHooks.camera(cx, cy, r);
    buffer->AddBackground(cx, cy, 0.0f, gameplayHooks.aspect() * 3.0f / r, 3.0f / r, 0.0f, FrameMap("white", 0, 0),
                          static_cast<int>(kBackdropColour));
}

}  // namespace

void SetUpFadeList(Buffer& buffer) {
    buffer.tileTexture[15] = FindTiledTexture("whiteFade");
    buffer.tileTechnique[15] = "TechniqueTilePara2D";
    buffer.tileTextureLayer[15] = 0;
}

void _Init(Object*& slot) {
    auto* prototype =
        ObjectTemplate::Begin<Variables>(slot, "LoadingLevelBackground", table, &ObjectTemplate::CopyLoadOnly);
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("Load", Event());
    prototype->_AddEvent("Unload", Event());
    ObjectTemplate::StartVariables(prototype, table);
}

}  // namespace ObjectData::LoadingLevelBackground

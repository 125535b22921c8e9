#include "objects/GuiImage.h"

#include <cmath>

#include "framework/GameVariables.h"
#include "framework/State.h"
#include "networking/Match.h"
#include "objects/GameplayHooks.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"

namespace ObjectData::guiImage {

namespace {

VariableOffsetTable table;

// Rewritten in place by "Load": every moon shows the same pair.
char moonName[] = "moon00";
char glowName[] = "gmoon00";

void Load(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    const bool sandbox = self->_state != nullptr && self->_state->GetLevelName() == "Sandbox";
    if (!sandbox) {
        const int k = MoonPicture(CurrentLevelIndex, MatchLevelCount);
        moonName[4] = glowName[5] = static_cast<char>('0' + k / 10);
        moonName[5] = glowName[6] = static_cast<char>('0' + k % 10);
    }
    v.texture = moonName;
    v.backTexture = glowName;
    StarField::Scatter(v);
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    if (v.moonSize < 4.0f) v.moonSize *= 1.0001f;
    v.moonPhase += 0.01f;
    if (v.moonPhase > 6.28318f) v.moonPhase -= 6.28318f;
    StarField::Twinkle(v);
}

void GraphicsDraw(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    Buffer* buffer = graphicsEngine.GetCurrentBuffer();
    if (buffer == nullptr) return;
    float cx = 0.0f, cy = 0.0f, r = 1.0f;
    gameplayHooks.camera(cx, cy, r);
    const float aspect = gameplayHooks.aspect();
    const auto b = static_cast<std::uint32_t>(207 + static_cast<int>(std::cos(v.moonPhase) * 48.0f));
    const int colour = static_cast<int>(0xFF0000FFu | b << 16 | b << 8);
    const float x = cx - 0.2f * aspect / r, y = cy + 0.25f / r, side = 0.25f * v.moonSize / r;
    // The moon's list takes its colour from the tiled moon texture, as a play
    // level's tile renderer sets it; screens without one (the main menu) get
    // the same set-up here.
    buffer->tileTexture[0] = FindTiledTexture("moon");
    buffer->tileTechnique[0] = "TechniqueTilePara2D";
    buffer->AddTile(0, x, y, -9000.0f, side, side, 0.0f, FrameMap(v.texture ? v.texture : "", 0, 0), colour);
    buffer->AddBackground(x, y, -9000.0f, side, side, 0.0f, FrameMap(v.backTexture ? v.backTexture : "", 0, 0), colour);
    StarField::Draw(v, *buffer, cx, cy, r, aspect, -9500.0f);
}

}  // namespace

int MoonPicture(int index, int count) {
    // Before any level order exists there is no progress to show.
    if (count <= 0) return 0;
    const int k = static_cast<int>(static_cast<float>(index - 1) / static_cast<float>(count) * 8.0f);
    return k < 0 ? 0 : (k > 7 ? 7 : k);
}

const char* MoonName() { return moonName; }
const char* GlowName() { return glowName; }

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "guiImage", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("Load", &Load);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_texture, v.texture);
    BindVariable(table, *prototype, enum_backTexture, v.backTexture);
    BindVariable(table, *prototype, enum_score, v.score);
    BindVariable(table, *prototype, enum_moonSize, v.moonSize);
    BindVariable(table, *prototype, enum_moonPhase, v.moonPhase);
    StarField::BindVariables(table, *prototype, v);
}

}  // namespace ObjectData::guiImage

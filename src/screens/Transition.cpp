#include "screens/Transition.h"

#include "objects/GameplayHooks.h"
#include "objects/LoadingLevelBackground.h"
#include "platform/graphics/Buffer.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"

namespace ObjectData::Transition {

namespace {

VariableOffsetTable table;

float WindowResolution() { return gameplayHooks.aspect(); }

// The panel goes into the last tile list, drawn after everything else, in
// the loading screen's colours. Nothing is drawn while no frame is being built.
void DrawPanel(float x, float y, float z, float width, float height, const char* texture) {
    Buffer* buffer = graphicsEngine.GetCurrentBuffer();
    if (buffer == nullptr) return;
    ObjectData::LoadingLevelBackground::SetUpFadeList(*buffer);
    buffer->AddTile(15, x, y, z, width, height, 0.0f, FrameMap(texture != nullptr ? texture : "", 0, 0),
                    static_cast<int>(0xFFFFFFFFu));
}

void StartFadingIn(Entity* self, Entity*) { VariablesOf<Variables>(self).counter = 1; }

// A fade out already under way goes on; otherwise one starts.
void StartFadingOut(Entity* self, Entity*) {
    std::int32_t& counter = VariablesOf<Variables>(self).counter;
    if (counter >= 0) counter = -1;
}

}  // namespace

Hooks hooks{&WindowResolution, &DrawPanel};
void ResetHooks() { hooks = Hooks{&WindowResolution, &DrawPanel}; }

void Step(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    const float w = hooks.resolution();
    if (v.counter >= 30) {
        self->CallEvent("FadedIn");
        return;
    }
    if (v.counter <= -30) {
        self->CallEvent("FadedOut");
        return;
    }
    if (v.counter > 0) {
        ++v.counter;
        v.position.x = -(static_cast<float>(v.counter) / 30.0f) * w * 2.0f;
    }
    if (v.counter < 0) {
        --v.counter;
        v.position.x = w * 2.0f + (static_cast<float>(v.counter) / 30.0f) * w * 2.0f;
    }
}

void Draw(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    if (v.counter == 0) return;
    const float w = hooks.resolution();
    float cameraX = 0.0f, cameraY = 0.0f, s = 1.0f;
    gameplayHooks.camera(cameraX, cameraY, s);
    hooks.drawPanel(v.position.x / s + cameraX, v.position.y / s + cameraY, v.position.z, 3.0f * w / s, 1.0f / s,
                    v.texture);
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "Transition", table);
    prototype->_TempAddEngine("Behavior", &Step);
    prototype->_TempAddEngine("GraphicsDraw", &Draw);
    prototype->_AddEvent("Load", Event());
    prototype->_AddEvent("StartFadingIn", &StartFadingIn);
    prototype->_AddEvent("StartFadingOut", &StartFadingOut);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_texture, v.texture);
    BindVariable(table, *prototype, enum_position, v.position);
    BindVariable(table, *prototype, enum_counter, v.counter);
}

}  // namespace ObjectData::Transition

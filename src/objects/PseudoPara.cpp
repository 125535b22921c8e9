#include "objects/GameplayHooks.h"
#include "objects/ParaBack.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"

namespace ObjectData::PseudoPara {

namespace {
VariableOffsetTable table;
}

void Behavior(Entity* self, Entity*) { VariablesOf<Variables>(self).position.x += 0.03f; }

// A layer over the whole view that ignores the camera.
void GraphicsDraw(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    Buffer* buffer = graphicsEngine.GetCurrentBuffer();
    if (buffer == nullptr) return;
    const float aspect = gameplayHooks.aspect();
    const float su = aspect / v.size.x, sv = 1.0f / v.size.y;
    const float uc = v.cameraParallax.x * v.position.x / aspect;
    const float vc = -(v.position.y + 1.0f - v.cameraParallax.y);
    buffer->AddBackground(0.0f, 0.0f, v.z, aspect, 1.0f, 0.0f, FindTiledTexture(v.texture ? v.texture : ""),
                          su * uc - su / 2.0f, sv * vc - sv / 2.0f, su, sv, static_cast<int>(v.color));
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "PseudoPara", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("Logic", Event());
    Variables& v = prototype->vars;
    v.texture = "nightSkyGround";
    v.color = 0xFFFFFFFFu;
    v.size = D3DXVECTOR2(7.2f, 1.0f);
    ObjectData::ParaBack::BindAll(table, *prototype);
}

}  // namespace ObjectData::PseudoPara

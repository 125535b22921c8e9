#include "objects/ParaBack.h"

#include "objects/GameplayHooks.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"

namespace ObjectData::ParaBack {

namespace {
VariableOffsetTable table;
}

void BindAll(VariableOffsetTable& t, _DATA& prototype) {
    ObjectTemplate::StartVariables(&prototype, t);
    Variables& v = prototype.vars;
    BindVariable(t, prototype, enum_texture, v.texture);
    BindVariable(t, prototype, enum_color, v.color);
    BindVariable(t, prototype, enum_z, v.z);
    BindVariable(t, prototype, enum_position, v.position);
    BindVariable(t, prototype, enum_size, v.size);
    BindVariable(t, prototype, enum_cameraParallax, v.cameraParallax);
}

void GraphicsDraw(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    Buffer* buffer = graphicsEngine.GetCurrentBuffer();
    if (buffer == nullptr) return;
    float cx = 0.0f, cy = 0.0f, r = 1.0f;
    gameplayHooks.camera(cx, cy, r);
    const float V = gameplayHooks.aspect() / r;  // the view's width
    const float c = (v.position.x + cx - cx * v.cameraParallax.x) / V;
    const float S = V / v.size.x;
    buffer->AddTile(1, cx, cy * v.cameraParallax.y + v.position.y, v.z, V, v.size.y, 0.0f,
                    FindTiledTexture(v.texture ? v.texture : ""), S * c - S / 2.0f, 0.01f, S, 0.98f,
                    static_cast<int>(v.color));
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "ParaBack", table);
    prototype->_TempAddEngine("Behavior", Event());
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("Logic", Event());
    BindAll(table, *prototype);
}

}  // namespace ObjectData::ParaBack

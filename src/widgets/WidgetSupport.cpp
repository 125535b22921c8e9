#include "widgets/WidgetSupport.h"

#include "framework/Entity.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "platform/graphics/CameraGlobals.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"
#include "widgets/TabManager.h"

namespace Widgets {

namespace {
void SoundEnginePlay(AudioList sound, float volume) { soundEngine.PlaySoundA(sound, volume); }
}  // namespace

Hooks hooks{&SoundEnginePlay};
void ResetHooks() { hooks = Hooks{&SoundEnginePlay}; }

void PlayClick() { hooks.playSound(BUTTON_CLICK, 1.0f); }

void Camera(float& x, float& y, float& r) {
    x = CameraGlobals::x;
    y = CameraGlobals::y;
    r = CameraGlobals::r != 0.0f ? CameraGlobals::r : 1.0f;
}

// A state without a window (a dialog being built, a test, a headless
// picture) falls back on the height it is drawn at, then on the game area the
// renderer converts the mouse with, so no size is divided by 0 and nothing
// given in pixels is drawn as many game units wide.
float WindowHeight() {
    int h = State::GetHeight();
    if (h <= 0) h = State::GetRenderHeight();
    if (h <= 0) h = GraphicsEngine::currentGameArea().height;
    return h > 0 ? static_cast<float>(h) : 1.0f;
}

float WindowAspect() {
    float a = State::GetResolution();
    if (a <= 0.0f) a = GraphicsEngine::currentGameArea().aspect;
    return a > 0.0f ? a : 1.0f;
}

Object* FindCursor(const Entity* self) { return dynamic_cast<Object*>(self->GetMyObject("Cursor")); }
Object* FindTabManager(const Entity* self) { return dynamic_cast<Object*>(self->GetMyObject("TabManager")); }

bool GiveFocus(Entity* widget) {
    ObjectData::TabManager::Variables* m =
        widget != nullptr ? ObjectData::TabManager::Find(FindTabManager(widget)) : nullptr;
    if (m == nullptr) return false;
    for (auto it = m->objectList.begin(); it != m->objectList.end(); ++it) {
        if (*it != widget) continue;
        m->objectListIterator = it;
        return true;
    }
    return false;
}

void DropFocus(const Entity* self) {
    ObjectData::TabManager::Variables* m =
        self != nullptr ? ObjectData::TabManager::Find(FindTabManager(self)) : nullptr;
    if (m != nullptr) m->objectListIterator = m->objectList.end();
}

Entity* FocusedWidget(const Entity* self) {
    ObjectData::TabManager::Variables* m =
        self != nullptr ? ObjectData::TabManager::Find(FindTabManager(self)) : nullptr;
    return m != nullptr ? m->Focused() : nullptr;
}

void AddUnitBox(CollisionInfo2D& collision) { collision.AddRectangle(-0.5f, 0.5f, 0.5f, -0.5f); }

void RaiseOwn(Entity* self, const char* name, Entity* other) { Entity::_DoEvent(name, other, self); }

void DrawPicture(float x, float y, float z, float width, float height, const char* texture, std::uint32_t colour) {
    if (graphicsEngine.GetCurrentBuffer() == nullptr) return;
    graphicsEngine.AddFrame(x, y, z, width, height, 0.0f, FrameMap(texture != nullptr ? texture : "", 0, 0),
                            static_cast<int>(colour));
}

void BuildCharacterTable(const std::string& allowed, bool keepBreaks, bool (&table)[128]) {
    for (bool& entry : table) entry = allowed.empty();
    for (char c : allowed) {
        const unsigned char code = static_cast<unsigned char>(c);
        if (code < 128) table[code] = true;
    }
    // Control codes and DEL are never letters the fonts draw.
    for (int code = 0; code < 32; ++code) table[code] = false;
    table[127] = false;
    if (keepBreaks && (allowed.empty() || allowed.find('\t') != std::string::npos)) table['\t'] = true;
    if (keepBreaks && (allowed.empty() || allowed.find('\n') != std::string::npos)) table['\n'] = true;
}

}  // namespace Widgets

#include "screens/MenuScreen.h"

#include "framework/Engine.h"
#include "framework/State.h"
#include "screens/ScreenInput.h"
#include "widgets/Text.h"

namespace MenuScreen {

void TakeEngines() {
    Engine::_MakeCopy("Behavior", 5.0);
    Engine::_MakeCopy("GraphicsUpdate", 1.05);
    Engine::_MakeCopy("GraphicsDraw", 1.0);
}

void TakeNetworkingUpdate() { Engine::_MakeCopy("NetworkingUpdate", 1.075); }

void Free(Entity* self) { self->DoEvent("Unload"); }

LevelTemplate::Data<SkyVariables>* RegisterWithSky(const char* name, VariableOffsetTable& table,
                                                   void (*copy)(Entity*, const Entity*), Event preLoad, Event load,
                                                   Event update) {
    auto* prototype = Register<SkyVariables>(name, table, copy, preLoad, load, update);
    BindVariable(table, *prototype, enum_background2, prototype->vars.background2);
    return prototype;
}

Object* Backdrop(const char* texture, bool setZ, float z) {
    Object* back = LevelTemplate::Spawn("Background");
    if (back == nullptr) return nullptr;
    LevelTemplate::SetIfPresent<const char*>(back, enum_texture, texture);
    if (setZ) LevelTemplate::SetIfPresent(back, enum_z, z);
    return back;
}

Object* Picture(const char* texture, float x, float y, float w, float h) {
    Object* picture = LevelTemplate::Spawn("CameraGraphic");
    if (picture == nullptr) return nullptr;
    LevelTemplate::SetIfPresent<const char*>(picture, enum_texture, texture);
    LevelTemplate::SetIfPresent(picture, enum_position, D3DXVECTOR3{x, y, 0.0f});
    LevelTemplate::SetIfPresent(picture, enum_size, D3DXVECTOR2{w, h});
    return picture;
}

void FadeIn(Entity* level) { level->CallEvent("StartFadingIn"); }

void FadeOutTo(Entity* level, Event goNext) {
    level->CallEvent("StartFadingOut");
    level->SetEvent("FadedOut", goNext);
}

bool QuitOnEscape(Entity* level) {
    if (!screenInput.escapeTriggered()) return false;
    State::SetLevel(level->_state, "Quit");
    return true;
}

void ShowNetError(State* state, const std::string& message) {
    if (state == nullptr) return;
    EntityMap& named = State::_GetEntities(state);
    auto found = named.find("NetError");
    Entity* line = found != named.end() ? found->second : nullptr;
    if (line == nullptr) return;
    LevelTemplate::SetIfPresent<std::int32_t>(line, enum_life, kNetMessageFrames);
    if (Object** text = FindVariable<Object*>(line, enum_textObj)) TextOf(*text, message);
}

TextSettings* TextOf(Object* text, const std::string& words) {
    ObjectData::Text::Variables* t = ObjectData::Text::Find(text);
    if (t == nullptr) return nullptr;
    t->text = words;
    return &t->settings;
}

}  // namespace MenuScreen

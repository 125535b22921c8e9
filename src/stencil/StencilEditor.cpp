#include "stencil/StencilEditor.h"

#include <algorithm>

#include "framework/Engine.h"
#include "framework/ExObject.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "platform/input/KeyCodes.h"
#include "platform/input/Keyboard.h"
#include "platform/window/StateWindows.h"
#include "screens/MenuScreen.h"
#include "stencil/InstanceEditor.h"
#include "stencil/StencilBuild.h"
#include "stencil/StencilMenu.h"
#include "stencil/StencilRows.h"
#include "widgets/Text.h"
#include "widgets/WidgetSupport.h"

namespace LevelData::StencilEditor {

const MenuPlace kMenus[4] = {
    {"ObjectMenu", -0.5f, 170, "Objects", "OBJECT"},
    {"ExObjMenu", -0.17f, 185, "ExObjs", "EXOBJECT"},
    {"LevelMenu", 0.17f, 170, "Levels", "LEVEL"},
    {"EngineMenu", 0.5f, 170, "Engines", "ENGINE"},
};

namespace {

VariableOffsetTable table;

constexpr int kMenuHeight = 504;

template <class Map>
void TakeNames(const Map& registry, std::vector<std::string>& names) {
    for (const auto& [name, entry] : registry)
        if (entry != nullptr) names.push_back(name);
}

void Spawn() {
    LevelTemplate::Spawn("MMCursor", "Cursor");
    for (const MenuPlace& menu : kMenus) LevelTemplate::Spawn("StencilMenu", menu.object);
}

void PreLoad(Entity*, Entity*) { StencilRows::SetUpWindow(800, 600, 4.0f / 3.0f); }

void Load(Entity* self, Entity*) {
    State::SetTitle("Stencil Editor");
    StencilRows::PlainBackdrop(self->_state);
    if (Object* keys = StencilRows::Label(self->_state, kKeysHint, 0.0f, -0.465f, 0.026f)) {
        if (ObjectData::Text::Variables* t = ObjectData::Text::Find(keys))
            t->settings.primaryColor = StencilRows::kLightInk;
        StencilRows::FitLabel(keys, 1.25f);
    }
    for (const MenuPlace& place : kMenus) {
        Entity* menu = self->GetMyObject(place.object);
        ObjectData::StencilMenu::Variables* v = ObjectData::StencilMenu::Find(menu);
        if (v == nullptr) continue;
        v->position.x = place.x;
        v->position.y = 0.0f;
        StencilRows::SetPixelSize(menu, place.width, kMenuHeight);
        v->name = place.caption;
        v->type = place.kind;
        std::vector<std::string> names = RegisteredNames(place.kind);
        v->stencilNames.insert(v->stencilNames.end(), names.begin(), names.end());
        Widgets::RaiseOwn(menu, "Init", self);
    }
}

// A window of its own on the level, the size of a small game window.
State* OpenBeside(const std::string& level, int width, int height) {
    State* opened = CreateStateByName(level);
    if (opened == nullptr) return nullptr;
    State* remembered = State::_currentState;
    State::_currentState = opened;
    StencilRows::SetUpWindow(width, height, static_cast<float>(width) / static_cast<float>(height));
    State::_currentState = remembered;
    return opened;
}

void Update(Entity* self, Entity*) {
    // A build started in a properties window goes on while only this runs.
    StencilBuild::Step();
    if (Keyboard.Triggered(DIK_F7)) OpenPlayLevel();
    if (Keyboard.Triggered(DIK_F8)) OpenInstanceEditor();
    // One press serves every list; the windows it opens do not take it away.
    if (!Keyboard.Triggered(DIK_F6)) return;
    for (const MenuPlace& place : kMenus) {
        const ObjectData::StencilMenu::Variables* v = ObjectData::StencilMenu::Find(self->GetMyObject(place.object));
        if (v == nullptr || v->selectedStencil < 0 || v->selectedStencil >= static_cast<int>(v->stencilNames.size()))
            continue;
        State* window = CreateStateByName("StencilObjPropLevel");
        Level* level = window != nullptr ? window->GetLevel() : nullptr;
        if (level == nullptr) continue;
        LevelTemplate::SetIfPresent(level, enum_objName, v->stencilNames[static_cast<std::size_t>(v->selectedStencil)]);
        LevelTemplate::SetIfPresent(level, enum_objType, v->type);
        Widgets::RaiseOwn(level, "Init", self);
    }
}

}  // namespace

State* OpenPlayLevel() {
    State* running = State::GetState(kPlayLevel);
    if (running != nullptr && !running->Deleted() && running->GetLevelName() == kPlayLevel) {
        // Every object made anew, from the types as they now stand.
        State::SetLevel(running, "Restart");
        return running;
    }
    return OpenBeside(kPlayLevel, 800, 450);
}

State* OpenInstanceEditor() {
    State* opened = CreateStateByName("InstanceEditor");
    Level* level = opened != nullptr ? opened->GetLevel() : nullptr;
    LevelData::InstanceEditor::Variables* v = LevelData::InstanceEditor::Find(level);
    State* play = State::GetState(kPlayLevel);
    // Ready to inspect the player of the play level, when one runs.
    if (v != nullptr && play != nullptr && !play->Deleted()) {
        StencilRows::SetText(v->StateNameTextBox, kPlayLevel);
        StencilRows::SetText(v->InstanceNameTextBox, "Player_0");
    }
    return opened;
}

std::vector<std::string> RegisteredNames(const std::string& kind) {
    std::vector<std::string> names;
    if (kind == "OBJECT") TakeNames(Object::_objects, names);
    if (kind == "EXOBJECT") TakeNames(Object::_exobjects, names);
    if (kind == "LEVEL") TakeNames(Level::_levels, names);
    if (kind == "ENGINE") TakeNames(Engine::_engines, names);
    // The registries are hash maps: sorted, the lists keep one order from run to run.
    std::sort(names.begin(), names.end());
    return names;
}

Level* _Init() {
    _DATA* prototype = LevelTemplate::Begin<Variables>("StencilEditor", table, &MenuScreen::Copy<Variables, &Spawn>,
                                                       &Entity::_CallUnload);
    prototype->_AddEvent("PreLoad", &PreLoad);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Update", &Update);
    prototype->_AddEvent("Restart", Event());
    prototype->_AddEvent("Unload", Event());
    LevelTemplate::StartVariables(prototype, table);
    BindVariable(table, *prototype, enum_position1, prototype->vars.position1);
    return prototype;
}

}  // namespace LevelData::StencilEditor

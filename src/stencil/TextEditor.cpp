#include "stencil/TextEditor.h"

#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "platform/input/KeyCodes.h"
#include "platform/input/Keyboard.h"
#include "screens/MenuScreen.h"
#include "stencil/StencilRows.h"
#include "widgets/Text.h"
#include "widgets/WidgetSupport.h"

namespace LevelData::TextEditor {

namespace {

VariableOffsetTable table;

void Spawn() {
    LevelTemplate::Spawn("MMCursor", "Cursor");
    LevelTemplate::Spawn("Quit", "Quit");
}

void PreLoad(Entity*, Entity*) { StencilRows::SetUpWindow(800, 600, 1.3333334f); }

void Load(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    MenuScreen::Backdrop("BACK StencilEditor");
    if (Entity* close = self->GetMyObject("Quit")) {
        LevelTemplate::SetIfPresent<const char*>(close, enum_texture, "Close X");
        close->SetPosition(380, 280);
        close->SetSize(30, 30);
    }
    Object* test = LevelTemplate::Spawn("Text");
    if (ObjectData::Text::Variables* t = ObjectData::Text::Find(test)) {
        test->SetName("Test");
        TextSettings& s = t->settings;
        s.fixedWidth = false;
        s.multiLine = true;
        s.hAlign = 0;
        t->text = kSample;
        delete s.information;
        s.information = new TextData();
        Widgets::RaiseOwn(test, "CalcText", self);
    }
    v.afterText.clear();
    v.prevText.clear();
    v.position1 = 0;
}

// The first key pressed this frame, by key code from 0 up, that types a
// printable character, translated as typed text is; 0 when none.
char TypedThisFrame() {
    for (int key = 0; key < Keyboard_::NUM_KEYS; ++key) {
        const auto code = static_cast<unsigned char>(key);
        if (!Keyboard.Triggered(code)) continue;
        const char c = Keyboard.Character(code);
        if (c >= 32 && c <= 126) return c;
    }
    return 0;
}

void Update(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Entity* test = self->GetMyObject("Test");
    ObjectData::Text::Variables* t = ObjectData::Text::Find(test);
    if (t == nullptr) return;
    if (const char c = TypedThisFrame()) {
        v.prevText += c;
        t->text = v.prevText + v.afterText;
        Widgets::RaiseOwn(test, "CalcText", self);
    }
    if (Keyboard.Triggered(DIK_BACK)) {
        if (v.prevText.empty()) return;
        v.prevText.pop_back();
    } else if (Keyboard.Triggered(DIK_TAB)) {
        v.prevText += "    ";
    } else {
        return;
    }
    t->text = v.prevText + v.afterText;
    Widgets::RaiseOwn(test, "CalcText", self);
}

}  // namespace

Variables* Find(Entity* level) {
    return level != nullptr && level->_map == table ? &VariablesOf<Variables>(level) : nullptr;
}

Level* _Init() {
    auto* prototype = MenuScreen::Register<Variables>("TextEditor", table, &MenuScreen::Copy<Variables, &Spawn>,
                                                      &PreLoad, &Load, &Update);
    prototype->_AddEvent("Restart", Event());
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_position1, v.position1);
    BindVariable(table, *prototype, enum_prevText, v.prevText);
    BindVariable(table, *prototype, enum_afterText, v.afterText);
    return prototype;
}

}  // namespace LevelData::TextEditor

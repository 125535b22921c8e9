#include "screens/QuitWindow.h"

#include "framework/Quit.h"
#include "framework/State.h"
#include "platform/graphics/TripleBuffer.h"
#include "screens/MenuScreen.h"
#include "screens/MenuVariants.h"
#include "widgets/Text.h"

namespace LevelData::QuitWindow {

const char* const kQuestion = "Are you sure you wish to quit?  Any unsaved progress will be lost.";

namespace {

struct Variables {};
VariableOffsetTable table;

void Spawn() { LevelTemplate::Spawn("MMCursor", "Cursor"); }

void SetUpWindow(Entity*, Entity*) {
    State::SetSize(400, 300);
    State::SetResolution(1.3333334f);
    TripleBuffer::OnLost();
    TripleBuffer::OnReset();
    State::SetTitle("Quit?");
}

void QuitProgram(Entity*, Entity*) { SetQuitting(nullptr); }
void CloseDialog(Entity* self, Entity*) { State::SetLevel(self->_state, "Quit"); }

void Answer(float x, const char* words, Event logic) {
    Object* button = LevelTemplate::Spawn("TextButton");
    if (button == nullptr) return;
    LevelTemplate::SetIfPresent(button, enum_position, D3DXVECTOR3{x, -0.2f, 0.0f});
    LevelTemplate::SetIfPresent(button, enum_size, D3DXVECTOR2{0.42f, 0.14f});
    LevelTemplate::SetIfPresent<const char*>(button, enum_texture, "baseButton");
    if (Object** label = FindVariable<Object*>(button, enum_textObj)) {
        if (TextSettings* s = MenuScreen::TextOf(*label, words)) {
            s->colorize = true;
            s->primaryColor = 0xFF444434u;
        }
    }
    button->SetEvent("Logic", logic);
}

void Build(Entity* self, Entity*) {
    MenuScreen::Backdrop("nightSky");
    if (Entity* cursor = self->GetMyObject("Cursor")) {
        LevelTemplate::SetIfPresent<const char*>(cursor, enum_texture, "Cursor A");
        LevelTemplate::SetIfPresent(cursor, enum_visible, false);
    }
    if (TextSettings* s = MenuScreen::TextOf(LevelTemplate::Spawn("Text"), kQuestion)) {
        s->font = "ashleyscriptmtstd";
        s->fixedWidth = false;
        s->multiLine = true;
        s->hAlign = 1;
        s->colorize = true;
        s->charHeight = 0.1f;
        s->primaryColor = 0xFF444434u;
        s->x = 0.0f;
        s->y = 0.2f;
        s->z = 1000.0f;
        s->width = State::GetResolution() - 0.2f;
        s->height = 0.4f;
    }
    MenuScreen::Picture("baseButton", 0.0f, 0.24f, 1.1153f, 0.33f);
    Answer(-0.4f, "Quit", &QuitProgram);
    Answer(0.4f, "Cancel", &CloseDialog);
}

}  // namespace

Level* _Init() {
    auto* prototype = MenuScreen::Register<Variables>("QuitWindow", table, &MenuScreen::Copy<Variables, &Spawn>,
                                                      &SetUpWindow, &Build, Event());
    prototype->_AddEvent("Quit", &QuitProgram);
    prototype->_AddEvent("NoQuit", &CloseDialog);
    return prototype;
}

}  // namespace LevelData::QuitWindow

#include "screens/Eula.h"

#include "framework/Progress.h"
#include "framework/SaveFile.h"
#include "framework/State.h"
#include "platform/graphics/TripleBuffer.h"
#include "screens/MenuScreen.h"
#include "screens/MenuVariants.h"
#include "widgets/Text.h"

namespace LevelData::Eula {

// The terms the player accepts or declines before anything else runs.
const char* const kLicence =
    "GLIMMERFALL - LICENCE AGREEMENT FOR A FREE GAME\n"
    "\n"
    "Please read these terms before you play. By choosing Accept you agree to them; if you do not agree, choose "
    "Decline and the game will close.\n"
    "\n"
    "1. The game is free. You may install it on as many computers as you like, play it, and give unchanged copies to "
    "friends, as long as you ask nothing in return for it.\n"
    "2. You may not sell the game, rent it out, or offer it as part of a paid service. You may not remove or alter "
    "this agreement or the credits shown when the game starts.\n"
    "3. Levels you build in the level editor, and scripts you write for your own objects, belong to you. You may share "
    "them freely, under terms of your own choosing.\n"
    "4. The game keeps a small save file in your documents folder, holding your settings and your name. It sends "
    "nothing about you anywhere. When you host or join a match, the game talks only to the computers taking part in "
    "that match. You may delete the save file at any time; the game then starts afresh.\n"
    "5. The game is offered as it is, without any warranty. We do our best to make it work well, but we cannot promise "
    "that it is free of faults or that it will suit any particular purpose. Keep copies of levels you care about.\n"
    "6. As far as the law allows, the makers of the game are not responsible for any loss or damage that comes from "
    "using it, including lost work, lost time or a broken winning streak.\n"
    "7. Playing for long stretches can tire your eyes and hands. Take a break now and then, and stop playing if you "
    "feel unwell. Some screens show flashing lights and quick movement; if light sensitivity affects you, take care.\n"
    "8. If you break these terms, your permission to use the game ends, and you must delete your copies.\n"
    "9. These terms may change with a new version of the game; the version you accepted applies to the copy you have.\n"
    "\n"
    "Thank you for playing. Watch the moon, mind the spikes, and have a good night.";

namespace {

struct Variables {};
VariableOffsetTable table;

void Spawn() {
    LevelTemplate::Spawn("MMCursor", "Cursor");
    MenuVariants::SpawnButton("EULAACCEPT");
    MenuVariants::SpawnButton("EULADECLINE");
    LevelTemplate::Spawn("Transition");
}

// The licence window: 853 by 480, its own title, full screen unless the
// player chose windowed play (kept with the progress) in an earlier run.
void SetUpWindow(Entity*, Entity*) {
    State::SetSize(kWidth, kHeight);
    State::SetResolution(kResolution);
    TripleBuffer::OnLost();
    TripleBuffer::OnReset();
    Progress::Load();
    if (!Progress::Current().windowed) State::ToggleFullscreen();
    State::SetTitle("Tavelin");
}

void Build(Entity* self, Entity*) {
    MenuScreen::Backdrop("EULA");
    if (Entity* cursor = self->GetMyObject("Cursor")) {
        LevelTemplate::SetIfPresent<const char*>(cursor, enum_texture, "Cursor A");
        LevelTemplate::SetIfPresent(cursor, enum_visible, false);
    }
    if (TextSettings* s = MenuScreen::TextOf(LevelTemplate::Spawn("Text"), kLicence)) {
        s->fixedWidth = false;
        s->x = 0.0f;
        s->y = 0.0f;
        s->z = -1000.0f;
        // The ratio the window was just given, as the constant: a state drawn
        // without a window (as the screenshots draw it) still lays the terms
        // out across the page rather than one letter a line.
        s->width = kResolution - 0.2f;
        s->height = 0.7f;
        s->multiLine = true;
        s->charHeight = 0.025f;
    }
    // The settings of the last run are in force from here on.
    DataLoad();
}

void Update(Entity* self, Entity*) { MenuScreen::QuitOnEscape(self); }

}  // namespace

Level* _Init() {
    return MenuScreen::Register<Variables>("Eula", table, &MenuScreen::Copy<Variables, &Spawn>, &SetUpWindow, &Build,
                                           &Update);
}

}  // namespace LevelData::Eula

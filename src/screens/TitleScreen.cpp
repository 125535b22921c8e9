// "TitleScreen": night sky, planet and the whole moon, which shatters at the
// first input; 240 frames later the title fades to the main menu, or at once
// on a new press while the moon shatters.
#include "screens/TitleScreen.h"

#include <algorithm>

#include "framework/State.h"
#include "platform/sound/SoundEngine.h"
#include "screens/MenuScreen.h"
#include "screens/ScreenInput.h"
#include "screens/Splash.h"

namespace LevelData::TitleScreen {

namespace {

void Spawn() {
    LevelTemplate::Spawn("TitleInstruction");
    LevelTemplate::Spawn("Transition");
    LevelTemplate::Spawn("ShatterMoon", "moon");
    LevelTemplate::Spawn("MenuStars");
}

void Build(Entity* self, Entity*) {
    Splash::Arm(self);
    Splash::Variables& v = Splash::Vars(self);
    MenuScreen::FadeIn(self);
    v.background2 = MenuScreen::Backdrop("nightSky", true, -1.0f);
    MenuScreen::Backdrop("planet", true, 0.0f);
    soundEngine.StopAllMusic();
    soundEngine.PlayMusic(static_cast<AudioList>(2), 1.0f);
}

void Update(Entity* self, Entity*) {
    Splash::Variables& v = Splash::Vars(self);
    MenuScreen::QuitOnEscape(self);
    const bool press = Splash::NewPress(v);
    if (v.skip) {
        if (++v.counter > 240 || press) {
            v.counter = std::max(v.counter, 241);
            self->DoEvent("Logic");
        }
    } else if (screenInput.anythingPressed()) {
        v.skip = true;
        v.counter = 0;
    }
}

void GoNext(Entity* self, Entity*) { State::SetLevel(self->_state, "MainMenu"); }
void Logic(Entity* self, Entity*) { MenuScreen::FadeOutTo(self, &GoNext); }

}  // namespace

Level* _Init() {
    return Splash::Register("TitleScreen", &MenuScreen::Copy<Splash::Variables, &Spawn>, &Build, &Update, &Logic);
}

}  // namespace LevelData::TitleScreen

// "TeamSplash": the second splash, with its two credit lines. Any input ends
// it from frame 60 on; it ends by itself after 300 frames.
#include "screens/TeamSplash.h"

#include "framework/State.h"
#include "screens/MenuScreen.h"
#include "screens/Splash.h"
#include "widgets/Text.h"

namespace LevelData::TeamSplash {

const char* const kDriverCredit =
    "#0x888788FF#Wii Remote support through a free input driver, by its community of volunteers";
const char* const kControllers = "#0x888788FF#Supports XBox 360 controller and Wii Remote!";

namespace {

void CreditLine(const char* words, float y) {
    if (TextSettings* s = MenuScreen::TextOf(LevelTemplate::Spawn("Text"), words)) {
        s->x = 0.0f;
        s->y = y;
        s->charHeight = 0.05f;
        // Proportional letters: laid out a script letter's widest width
        // apart, the lines run off both sides of the screen.
        s->fixedWidth = false;
        s->width = 2.0f;
        s->hAlign = 1;
        s->vAlign = 1;
        s->colorize = true;
        s->font = "ashleyscriptmtstd";
    }
}

void Build(Entity* self, Entity*) {
    Splash::Arm(self);
    Splash::Variables& v = Splash::Vars(self);
    v.background2 = MenuScreen::Backdrop("nightSky", true, -1.0f);
    v.background = MenuScreen::Backdrop("BACK TeamSplash");
    MenuScreen::FadeIn(self);
    CreditLine(kDriverCredit, -0.46f);
    CreditLine(kControllers, -0.4f);
}

void Update(Entity* self, Entity*) { Splash::Count(self); }

void GoNext(Entity* self, Entity*) { State::SetLevel(self->_state, "TitleScreen"); }
void Logic(Entity* self, Entity*) { MenuScreen::FadeOutTo(self, &GoNext); }

}  // namespace

Level* _Init() { return Splash::Register("TeamSplash", &Splash::Copy, &Build, &Update, &Logic); }

}  // namespace LevelData::TeamSplash

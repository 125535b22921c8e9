// "HalvernSplash": the maker's splash, first after the licence. A new press
// of any control ends it at once; it ends by itself after 300 frames.
#include "screens/HalvernSplash.h"

#include <cstdlib>

#include "framework/State.h"
#include "framework/Time.h"
#include "screens/MenuScreen.h"
#include "screens/Splash.h"

namespace LevelData::HalvernSplash {

namespace {

void Build(Entity* self, Entity*) {
    Splash::Arm(self);
    Splash::Variables& v = Splash::Vars(self);
    MenuScreen::FadeIn(self);
    std::srand(TimeGetTime());
    v.background = MenuScreen::Backdrop("BACK HalvernSplash");
    v.background2 = MenuScreen::Backdrop("nightSky", true, -1.0f);
}

void Update(Entity* self, Entity*) { Splash::Count(self); }

void GoNext(Entity* self, Entity*) { State::SetLevel(self->_state, "TeamSplash"); }
void Logic(Entity* self, Entity*) { MenuScreen::FadeOutTo(self, &GoNext); }

}  // namespace

Level* _Init() { return Splash::Register("HalvernSplash", &Splash::Copy, &Build, &Update, &Logic); }

}  // namespace LevelData::HalvernSplash

#include "screens/MainMenu.h"

#include "framework/GameVariables.h"
#include "framework/State.h"
#include "networking/NetEngine.h"
#include "networking/NetworkingUpdate.h"
#include "objects/GameplayHooks.h"
#include "objects/Player.h"
#include "platform/sound/SoundEngine.h"
#include "screens/MenuScreen.h"
#include "screens/MenuVariants.h"
#include "screens/PlayLevel.h"
#include "screens/ScreenInput.h"
#include "widgets/Text.h"
#include "widgets/TextMsg.h"

namespace LevelData::MainMenu {

namespace {

using Variables = MenuScreen::SkyVariables;
VariableOffsetTable table;

void Spawn() {
    LevelTemplate::Spawn("MMCursor", "Cursor");
    for (const char* button : {"toSingleplayer", "toMultiplayer", "toCredits", "toInstructions", "toLvEditor",
                               "toOptions", "toQuit", "Facebook", "Twitter"})
        MenuVariants::SpawnButton(button);
    LevelTemplate::Spawn("Transition");
    LevelTemplate::Spawn("DisplayCharacter", "character");
    LevelTemplate::Spawn("guiImage", "moon");
    LevelTemplate::Spawn("TextMsg", "NetError");
}

void Build(Entity* self, Entity*) {
    // Leaving a match or a lobby ends every connection.
    EngineData::NetworkingUpdate::Target().Disconnect();
    soundEngine.StopAllMusic();
    soundEngine.PlayMusic(static_cast<AudioList>(6), 1.0f);
    if (Entity* moon = self->GetMyObject("moon")) {
        LevelTemplate::SetIfPresent<const char*>(moon, enum_texture, "moon00");
        LevelTemplate::SetIfPresent<const char*>(moon, enum_backTexture, "gmoon00");
    }
    MenuScreen::Backdrop("planet", true, 1.0e8f);
    MenuScreen::Backdrop("BACK Main Menu", true, 1.0e8f);
    MenuScreen::FadeIn(self);
    if (Entity* character = self->GetMyObject("character")) {
        LevelTemplate::SetIfPresent(character, enum_size, D3DXVECTOR2{0.35f, 0.35f});
        LevelTemplate::SetIfPresent(character, enum_position, D3DXVECTOR3{3.0f, -0.2f, -0.8f});
    }
    CurrentLevelIndex = -1;
    VariablesOf<Variables>(self).background2 = MenuScreen::Backdrop("nightSky", true, -1.0f);
    // A lost connection is told once.
    if (ConnectionDropped) {
        ConnectionDropped = false;
        if (Entity* message = self->GetMyObject("NetError")) {
            LevelTemplate::SetIfPresent<std::int32_t>(message, enum_life, 120);
            if (Object** text = FindVariable<Object*>(message, enum_textObj))
                MenuScreen::TextOf(*text, "Connection dropped.");
        }
    }
}

void Update(Entity* self, Entity*) {
    if (Entity* character = self->GetMyObject("character")) {
        LevelTemplate::SetIfPresent<std::int32_t>(character, enum_wallJump, 10);
        if (auto* velocity = FindVariable<D3DXVECTOR2>(character, enum_velocity)) velocity->x = 0.09f;
    }
    if (screenInput.remoteBackPressed()) State::SetLevel(self->_state, "TitleScreen");
}

}  // namespace

Level* _Init() {
    return MenuScreen::RegisterWithSky("MainMenu", table, &MenuScreen::Copy<Variables, &Spawn>, Event(), &Build,
                                       &Update);
}

}  // namespace LevelData::MainMenu

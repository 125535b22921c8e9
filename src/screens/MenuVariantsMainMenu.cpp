// The title's and the main menu's variants: the main menu's fades to the other
// screens, the social-page buttons, the title's still figure.
#include "screens/MenuVariantSteps.h"

#include "framework/Object.h"
#include "framework/Variables.h"
#include "objects/GameplayHooks.h"
#include "objects/Player.h"

namespace MenuVariants {

namespace {

// ---- social pages ----

void OpenFirstPage(Entity*, Entity*) { hooks.openPage(kFirstPageAddress); }
void OpenSecondPage(Entity*, Entity*) { hooks.openPage(kSecondPageAddress); }

// The badge, dimmed at rest and a little larger in the button's colour under
// the pointer.
void SocialDraw(Entity* self, Entity*) {
    const auto* position = FindVariable<D3DXVECTOR3>(self, enum_position);
    const auto* size = FindVariable<D3DXVECTOR2>(self, enum_size);
    const auto* texture = FindVariable<const char*>(self, enum_texture);
    const auto* hover = FindVariable<bool>(self, enum_hover);
    const auto* color = FindVariable<std::uint32_t>(self, enum_color);
    if (!position || !size || !texture || !hover || !color) return;
    float cx = 0.0f, cy = 0.0f, s = 1.0f;
    gameplayHooks.camera(cx, cy, s);
    const float k = *hover ? 1.1f : 1.0f;
    gameplayHooks.addFrame(position->x / s + cx, position->y / s + cy, position->z + (*hover ? 1.0f : 0.0f),
                           k * size->x / s, k * size->y / s, 0.0f, *texture, *hover ? *color : 0x9BFFFFFFu);
}

void BindSinglePlayer(Object* o) { BindEvent(o, "Logic", &FadeTo<kSinglePlayerMenu>); }
void BindFirstPage(Object* o) {
    BindEvent(o, "Logic", &OpenFirstPage);
    BindEngine(o, "GraphicsDraw", &SocialDraw);
}
void BindSecondPage(Object* o) {
    BindEvent(o, "Logic", &OpenSecondPage);
    BindEngine(o, "GraphicsDraw", &SocialDraw);
}

constexpr Variant kVariants[] = {
    {"extendedButton", "TextButton", true, P(-0.6f, -0.35f), S(kWide, kTall), "optionsButton", "", &BindFade<kOptions>,
     nullptr},
    {"Facebook", "Button", true, P(0.75f, -0.3f), S(0.24f, 0.0735f), "facebook", nullptr, &BindFirstPage, nullptr},
    {"Instructions", "Button", true, P(-0.6f, -0.15f), S(kWide, kTall), "howToPlayButton", nullptr,
     &BindFade<kHowToPlay>, nullptr},
    {"Quit", "Button", true, P(-0.6f, -0.45f), S(kWide, kTall), "QuitButton", nullptr, &BindFade<kQuitConfirm>,
     nullptr},
    {"StartGame", "Button", true, P(-0.6f, 0.05f), S(kWide, kTall), "newGameButton", nullptr, &BindFade<kLobby>,
     nullptr},
    {"TitleCharacter", "Player", true, P(0.6f, 0.2f, -0.8f), S(1.0f, 1.0f), nullptr, nullptr, &BindStill, &StillFigure},
    {"toCredits", "TextButton", true, P(-0.7f, -0.11f), S(0.35f, 0.07f), "baseButton", "#0x444434#Credits",
     &BindFade<kCredits>, nullptr},
    {"toInstructions", "TextButton", true, P(-0.7f, -0.18f), S(0.35f, 0.07f), "baseButton", "#0x444434#How To Play",
     &BindFade<kHowToPlay>, nullptr},
    {"toLvEditor", "TextButton", true, P(-0.7f, -0.25f), S(0.35f, 0.07f), "baseButton", "#0x444434#Level Editor",
     &BindFade<kLevelEditor>, nullptr},
    {"toMultiplayer", "TextButton", true, P(-0.7f, -0.04f), S(0.35f, 0.07f), "baseButton", "#0x444434#Multiplayer",
     &BindFade<kLobby>, nullptr},
    {"toOptions", "TextButton", true, P(-0.7f, -0.32f), S(0.35f, 0.07f), "baseButton", "#0x444434#Options",
     &BindFade<kOptions>, nullptr},
    {"toQuit", "TextButton", true, P(-0.7f, -0.39f), S(0.35f, 0.07f), "baseButton", "#0x444434#Quit",
     &BindFade<kQuitConfirm>, nullptr},
    {"toSingleplayer", "TextButton", true, P(-0.7f, 0.03f), S(0.35f, 0.07f), "baseButton", "#0x444434#Singleplayer",
     &BindSinglePlayer, nullptr},
    {"Twitter", "Button", true, P(0.75f, -0.4f), S(0.24f, 0.0835f), "twitter", nullptr, &BindSecondPage, nullptr},
};

constexpr auto kRows = RowsOf<kVariants>();

}  // namespace

std::span<const ExObjectEntry> MainMenuRows() { return kRows; }

}  // namespace MenuVariants

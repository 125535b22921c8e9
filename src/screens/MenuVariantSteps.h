#pragma once
// What the units of the menu variants share: the shape of a variant's row,
// the screens the variants lead to, the steps that bind their handlers and
// fade, and the rows of each screen's variants. Only the variants' own units
// include it; the rest of the game reaches them through MenuVariants.h.
#include <array>
#include <cstddef>
#include <iterator>
#include <span>
#include <utility>

#include "framework/Event.h"
#include "framework/LevelTemplate.h"
#include "framework/State.h"
#include "framework/TypeRegistry.h"
#include "framework/Vector.h"
#include "screens/MenuVariants.h"

namespace MenuVariants {

// ---- the screens the variants lead to ----

inline constexpr char kMakeGame[] = "MakeGame";
inline constexpr char kCustomize[] = "Customize";
inline constexpr char kHalvernSplash[] = "HalvernSplash";
inline constexpr char kHowToPlay[] = "HowToPlayScreen";
inline constexpr char kMainMenu[] = "MainMenu";
inline constexpr char kCredits[] = "Credits";
inline constexpr char kLevelEditor[] = "LevelEditor";
inline constexpr char kLobby[] = "Lobby";
inline constexpr char kOptions[] = "Options";
inline constexpr char kQuitConfirm[] = "QuitConfirm";
inline constexpr char kSinglePlayerMenu[] = "SinglePlayerMenu";
inline constexpr char kQuit[] = "Quit";

// ---- handlers ----

void BindEvent(Object* o, const char* name, Event handler);
// Bound as an event and joined to the engine of the same name.
void BindEngine(Object* o, const char* name, Event handler);
void SetTexture(Entity* self, const char* texture);
// The base type's own behaviour.
void SuperBehavior(Entity* self, Entity* other);
// A figure for show: no name label over it, whatever screen it stands on.
void StillFigure(Object* o);
// A variant that keeps still: no behaviour of its own or its base's.
void BindStill(Object* o);
// The fade starts (a fade out already under way goes on) and its end, raised
// on every frame once the screen is black, runs follow.
void FadeThen(Entity* self, Event follow);

template <const char* Target>
void GoTo(Entity* self, Entity*) {
    State::SetLevel(self->_state, Target);
}

template <const char* Target>
void FadeTo(Entity* self, Entity*) {
    FadeThen(self, &GoTo<Target>);
}

template <const char* Target>
void BindFade(Object* o) {
    BindEvent(o, "Logic", &FadeTo<Target>);
}

// ---- the rows ----

// One variant: its look (what is not set is marked by a negative size or a
// null picture), then its own handlers (step 1) and any further variables
// (step 5).
struct Variant {
    const char* name;
    const char* base;
    bool place;
    D3DXVECTOR3 position;
    D3DXVECTOR2 size;
    const char* texture;
    const char* label;
    void (*bind)(Object*);
    void (*extra)(Object*);
};

constexpr D3DXVECTOR3 P(float x, float y, float z = 0.0f) { return {x, y, z}; }
constexpr D3DXVECTOR2 S(float w, float h) { return {w, h}; }
constexpr D3DXVECTOR3 kNowhere{0.0f, 0.0f, 0.0f};
constexpr D3DXVECTOR2 kNoSize{-1.0f, -1.0f};
constexpr float kWide = 0.39133334f, kTall = 0.08533334f;

// The differences function of row I of Table, in the order every variant
// keeps: handlers, place and size, picture, label, other variables.
template <const auto& Table, std::size_t I>
void Differences(Object* o) {
    const Variant& v = Table[I];
    if (v.bind != nullptr) v.bind(o);
    if (v.place) LevelTemplate::SetIfPresent(o, enum_position, v.position);
    if (v.size.x >= 0.0f) LevelTemplate::SetIfPresent(o, enum_size, v.size);
    if (v.texture != nullptr) SetTexture(o, v.texture);
    if (v.label != nullptr) SetLabel(o, v.label);  // NOLINT(bugprone-string-constructor): tested just before
    if (v.extra != nullptr) v.extra(o);
}

template <const auto& Table, std::size_t... I>
constexpr std::array<ExObjectEntry, sizeof...(I)> MakeRows(std::index_sequence<I...>) {
    return {ExObjectEntry{Table[I].name, Table[I].base, &Differences<Table, I>}...};
}

// The registry's rows of a table of variants; constant-initialised where
// the table is constexpr, so the program can read them before main.
template <const auto& Table>
constexpr auto RowsOf() {
    return MakeRows<Table>(std::make_index_sequence<std::size(Table)>{});
}

// Each screen's variants; the ones many screens use are MenuVariants.cpp's own.
std::span<const ExObjectEntry> MainMenuRows();
std::span<const ExObjectEntry> OptionsRows();
std::span<const ExObjectEntry> MultiplayerRows();
std::span<const ExObjectEntry> PauseMenuRows();
std::span<const ExObjectEntry> QuitConfirmRows();
std::span<const ExObjectEntry> EulaRows();

}  // namespace MenuVariants

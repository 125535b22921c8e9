#include "screens/MenuVariants.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <unordered_map>
#include <vector>

#include "framework/BuiltInLevels.h"
#include "framework/GameVariables.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "networking/Match.h"
#include "objects/Player.h"
#include "platform/graphics/Buffer.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"
#include "platform/input/Input.h"
#include "platform/input/WiiRemote.h"
#include "platform/window/WebPage.h"
#include "screens/MenuVariantSteps.h"
#include "widgets/Cursor.h"
#include "widgets/Text.h"
#include "widgets/WidgetSupport.h"

namespace MenuVariants {

const char* const kFirstPageAddress = "https://example.org/glimmerfall/friends";
const char* const kSecondPageAddress = "https://example.org/glimmerfall/news";

namespace {

void OpenPage(const char* address) { OpenWebPage(address); }
bool RemoteConnected() { return WiiRemote.Connected(); }
bool ClosePressed() { return inputEngine.MenuPauseButtonPressed() || inputEngine.BackButtonPressed(); }

constexpr Hooks kDefaults{&OpenPage, &RemoteConnected, &ClosePressed};

// ---- the cursors every menu shows ----

void MoonCursorDraw(Entity* self, Entity*) {
    Buffer* buffer = graphicsEngine.GetCurrentBuffer();
    auto& v = VariablesOf<ObjectData::Cursor::Variables>(self);
    if (buffer == nullptr) return;
    buffer->tileTexture[13] = FindTiledTexture("moon");
    buffer->tileTechnique[13] = "TechniqueTileColor2D";
    float cx = 0.0f, cy = 0.0f, s = 1.0f;
    Widgets::Camera(cx, cy, s);
    const float H = Widgets::WindowHeight();
    const float w = v.size.x / H, h = v.size.y / H, r = v.rotation;
    const float x = (v.position.x + std::cos(r) * w * 0.5f) / s + cx;
    const float y = (v.position.y + std::sin(r) * h * 0.5f) / s + cy;
    const Frame& frame = FrameMap(v.texture != nullptr ? v.texture : "", 0, 0);
    buffer->AddFrame(x, y, v.position.z, w / s, h / s, r + 1.570795f, frame, static_cast<int>(0xFFFFFFFFu));
    if (!v.visible) return;
    const int halo = static_cast<int>(ObjectData::Cursor::Tint(v.moonPhase));
    buffer->AddTile(13, x, y, v.position.z, 0.9f * w / s, 0.9f * h / s, r + 1.570795f, frame, halo);
    for (int i = 0; i < ObjectData::Cursor::kShards; ++i) {
        if (v.shardSize[i].x <= 0.0f && v.shardSize[i].y <= 0.0f) continue;  // nothing to see
        buffer->AddFrame(v.shardPosition[i].x / s + cx, v.shardPosition[i].y / s + cy, v.position.z + 0.075f,
                         v.shardSize[i].x / H / s, v.shardSize[i].y / H / s, v.shardRotation[i], frame, halo);
    }
}

void BindMoonCursor(Object* o) { BindEngine(o, "GraphicsDraw", &MoonCursorDraw); }

// The variants many screens use: the cursors, the dialogs' open and cancel
// buttons, the way back to the main menu.
constexpr Variant kVariants[] = {
    {"CancelButton", "Button", true, P(0.2f, -0.15f), S(0.3f, 0.1f), "cancelButton", nullptr, nullptr, nullptr},
    {"MMCursor", "Cursor", false, kNowhere, S(40.0f, 40.0f), "moonShard", nullptr, &BindMoonCursor, nullptr},
    {"MMSuperCursor", "MMCursor", false, kNowhere, S(80.0f, 80.0f), nullptr, nullptr, nullptr, nullptr},
    {"OpenButton", "Button", true, P(0.2f, -0.15f), S(0.3f, 0.1f), "openButton", nullptr, nullptr, nullptr},
    {"toMMenu", "TextButton", true, P(0.7f, -0.4f), S(0.35f, 0.07f), "baseButton", "#0x444434#Main Menu",
     &BindFade<kMainMenu>, nullptr},
};
constexpr auto kCommonRows = RowsOf<kVariants>();

// Case is no matter to the registry's order of names.
bool NameBefore(const ExObjectEntry& a, const ExObjectEntry& b) {
    for (std::size_t i = 0;; ++i) {
        const int x = std::tolower(static_cast<unsigned char>(a.name[i]));
        const int y = std::tolower(static_cast<unsigned char>(b.name[i]));
        if (x != y || x == 0) return x < y;
    }
}

// The fade-then-go variants and their targets.
const std::unordered_map<std::string, std::string>& Targets() {
    static const std::unordered_map<std::string, std::string> targets = {
        {"ContinuePlaying", kMainMenu}, {"customGame", kMakeGame},    {"CustomizeButton", kCustomize},
        {"EULAACCEPT", kHalvernSplash}, {"extendedButton", kOptions}, {"hostGame", kMakeGame},
        {"Instructions", kHowToPlay},   {"Quit", kQuitConfirm},       {"StartGame", kLobby},
        {"toCredits", kCredits},        {"toCustomize", kCustomize},  {"toInstructions", kHowToPlay},
        {"toLvEditor", kLevelEditor},   {"toMMenu", kMainMenu},       {"toMultiplayer", kLobby},
        {"toOptions", kOptions},        {"toQuit", kQuitConfirm},     {"toSingleplayer", kSinglePlayerMenu},
        {"quitToMainMenu", kMainMenu},
    };
    return targets;
}

}  // namespace

Hooks hooks = kDefaults;
void ResetHooks() { hooks = kDefaults; }

void BindEvent(Object* o, const char* name, Event handler) { o->AddEvent(name, handler); }
void BindEngine(Object* o, const char* name, Event handler) {
    o->AddEvent(name, handler);
    o->AddToEngine(name, handler);
}

void SetTexture(Entity* self, const char* texture) {
    LevelTemplate::SetIfPresent<const char*>(self, enum_texture, texture);
}

void SuperBehavior(Entity* self, Entity*) { Entity::_DoEvent("Super.Behavior", self, self); }

void FadeThen(Entity* self, Event follow) {
    self->CallEvent("StartFadingOut");
    self->SetEvent("FadedOut", follow);
}

void StillFigure(Object* o) {
    if (!ObjectData::Player::IsPlayer(o)) return;
    ObjectData::Player::DropNetworking(o);
}

void BindStill(Object* o) { BindEngine(o, "Behavior", Event()); }

// Read before main, while the types register: every screen's rows are
// constant-initialised, so they are whole by then.
std::span<const ExObjectEntry> Rows() {
    static const std::vector<ExObjectEntry> rows = [] {
        std::vector<ExObjectEntry> all;
        for (std::span<const ExObjectEntry> screen :
             {std::span<const ExObjectEntry>(kCommonRows), MainMenuRows(), OptionsRows(), MultiplayerRows(),
              PauseMenuRows(), QuitConfirmRows(), EulaRows()})
            all.insert(all.end(), screen.begin(), screen.end());
        std::sort(all.begin(), all.end(), &NameBefore);
        return all;
    }();
    return rows;
}

std::string FadeTarget(const std::string& variant) {
    auto found = Targets().find(variant);
    return found != Targets().end() ? found->second : std::string();
}

Object* SpawnButton(const std::string& type, const std::string& name) {
    const std::string target = FadeTarget(type);
    if (!target.empty() && !Level::_IsRegistered(target)) return nullptr;
    return LevelTemplate::Spawn(type, name);
}

void SetLabel(Entity* button, const std::string& text) {
    Object** label = FindVariable<Object*>(button, enum_textObj);
    if (label == nullptr) return;
    if (ObjectData::Text::Variables* t = ObjectData::Text::Find(*label)) t->text = text;
}

std::string Label(Entity* button) {
    Object** label = FindVariable<Object*>(button, enum_textObj);
    ObjectData::Text::Variables* t = label != nullptr ? ObjectData::Text::Find(*label) : nullptr;
    return t != nullptr ? t->text : std::string();
}

void PrepareBuiltInOrder() {
    for (std::int32_t& score : GameVars().playerScores) score = 0;
    CurrentLevelIndex = 0;
    LevelOrder.clear();
    LevelOrderNumbers.clear();
    for (std::size_t i = 0; i < BuiltInLevelNames.size(); ++i) {
        LevelOrder.emplace_back(BuiltInLevelNames[i]);
        LevelOrderNumbers.push_back(static_cast<int>(i));
    }
}

}  // namespace MenuVariants

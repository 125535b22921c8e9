#include "screens/PlayCounter.h"

#include "framework/State.h"
#include "objects/GameplayHooks.h"
#include "objects/Player.h"
#include "screens/PlayHud.h"

namespace ObjectData::PlayCounter {

namespace {

VariableOffsetTable table;

constexpr float kMargin = 0.025f;
constexpr float kPanelWidth = 0.5f, kPanelHeight = 0.07f;
constexpr float kLetters = 0.034f;
constexpr float kIcon = 0.05f;
// In front of the level and its pick-ups, behind the pause menu's buttons
// and the fade.
constexpr float kDepth = 90.0f;

// Notes the level's pick-ups and goals, as the level built them.
void Start(Entity* self, Variables& v) {
    v.started = true;
    if (self->_state == nullptr) return;
    for (Object* object : self->_state->Objects()) {
        if (object->_Deleted()) continue;
        const std::string& type = object->GetType();
        if (type == "MoonShard") v.shardNames.push_back(object->GetName());
        if (type == "Firefly") v.fireflyNames.push_back(object->GetName());
        if (type == "LevelGoal") v.goals.push_back(object);
    }
    v.shardsTotal = static_cast<std::int32_t>(v.shardNames.size());
    v.firefliesTotal = static_cast<std::int32_t>(v.fireflyNames.size());
}

// A shard that was gathered rises and fades, and is gone at the end.
bool Gathered(Entity* self, const std::string& name, int variable) {
    Entity* pickup = self->GetMyObject(name.c_str());
    if (pickup == nullptr) return true;
    const bool* flag = FindVariable<bool>(pickup, variable);
    return flag != nullptr && *flag;
}

bool GoalReached(const Variables& v) {
    for (Entity* goal : v.goals) {
        const std::int32_t* timer = FindVariable<std::int32_t>(goal, enum_fadeTimer);
        if (timer != nullptr && *timer >= 0) return true;
    }
    return false;
}

}  // namespace

Variables* Find(Entity* entity) {
    return entity != nullptr && entity->GetType() == "PlayCounter" ? &VariablesOf<Variables>(entity) : nullptr;
}

Progress::Run RunOf(const Variables& v) {
    Progress::Run run;
    run.frames = v.counter;
    run.shards = v.shards;
    run.shardsTotal = v.shardsTotal;
    run.fireflies = v.fireflies;
    run.firefliesTotal = v.firefliesTotal;
    run.deaths = v.deaths;
    return run;
}

Place PanelPlace(float aspect) {
    const float right = aspect / 2.0f - kMargin, top = 0.5f - kMargin;
    return {right - kPanelWidth / 2.0f, top - kPanelHeight / 2.0f, kPanelWidth, kPanelHeight};
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    if (!v.started) Start(self, v);
    if (v.finished) return;
    ++v.counter;
    std::int32_t shards = 0, fireflies = 0;
    for (const std::string& name : v.shardNames) shards += Gathered(self, name, enum_shardFollow) ? 1 : 0;
    for (const std::string& name : v.fireflyNames) fireflies += Gathered(self, name, enum_follow) ? 1 : 0;
    v.shards = shards;
    v.fireflies = fireflies;
    Entity* player = self->GetMyObject(LocalPlayerName().c_str());
    if (ObjectData::Player::IsPlayer(player)) {
        const std::int32_t delay = ObjectData::Player::Vars(player).deathDelay;
        if (delay > 0 && v.lastDeathDelay <= 0) ++v.deaths;
        v.lastDeathDelay = delay;
    }
    v.finished = GoalReached(v);
}

void Draw(Entity* self, Entity*) {
    if (!Progress::Current().showCounter || self->GetMyObject("ResultCard") != nullptr) return;
    const Variables& v = VariablesOf<Variables>(self);
    const Place p = PanelPlace(gameplayHooks.aspect());
    const float left = p.x - p.width / 2.0f, right = p.x + p.width / 2.0f;
    PlayHud::Picture("hudPanel", p.x, p.y, kDepth - 0.01f, p.width, p.height);
    PlayHud::Lettering look;
    look.y = p.y;
    look.z = kDepth;
    look.charHeight = kLetters;
    PlayHud::Picture("moonShard", left + 0.035f, p.y, kDepth, kIcon, kIcon, 0xFFD8E4FFu);
    look.x = left + 0.065f;
    PlayHud::Letter(std::to_string(v.shards) + "/" + std::to_string(v.shardsTotal), look);
    PlayHud::Picture("firefly", left + 0.2f, p.y, kDepth, kIcon * 1.3f, kIcon * 1.3f, 0xFFFFE070u);
    look.x = left + 0.23f;
    PlayHud::Letter(std::to_string(v.fireflies) + "/" + std::to_string(v.firefliesTotal), look);
    look.x = right - 0.02f;
    look.hAlign = 2;
    PlayHud::Letter(PlayHud::Clock(v.counter, false), look);
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "PlayCounter", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsDraw", &Draw);
    ObjectTemplate::StartVariables(prototype, table);
    BindVariable(table, *prototype, enum_counter, prototype->vars.counter);
}

}  // namespace ObjectData::PlayCounter

#include "screens/ProfilerViewer.h"

#include <vector>

#include "framework/Engine.h"
#include "framework/Profiler.h"
#include "framework/State.h"
#include "framework/VariableBindings.h"
#include "platform/graphics/TripleBuffer.h"
#include "screens/MenuScreen.h"
#include "widgets/Text.h"

namespace LevelData::Profiler {

namespace {

VariableOffsetTable table;

constexpr int kHistory = ::Profiler::HISTORY_SIZE;

// The viewer a handler works on: the level of the calling entity's state.
Variables* ViewerOf(Entity* caller) {
    State* state = caller != nullptr && caller->_state != nullptr ? caller->_state : State::_currentState;
    Level* level = state != nullptr ? state->GetLevel() : nullptr;
    if (level == nullptr || level->_map != table) return nullptr;
    return &VariablesOf<Variables>(level);
}

int Wrap(int value, int size) {
    int r = value % size;
    return r < 0 ? r + size : r;
}

// A step through the history, only while a frame is held still in the
// frames mode.
void StepHistory(Entity* caller, int step) {
    Variables* v = ViewerOf(caller);
    if (v == nullptr || v->history < 0 || v->currentStatistics != PROFILER_HISTORY) return;
    v->history = Wrap(v->history + step, kHistory);
}

void PreLoad(Entity*, Entity*) {
    State::SetSize(500, 500);
    State::SetResolution(1.0f);
    TripleBuffer::OnLost();
    TripleBuffer::OnReset();
    State::SetTitle("Profiler");
}

// A control at pixel (x, y) of the window, w by h pixels, with (x, y) its top-left corner.
void Place(Entity* control, int x, int y, int w, int h) {
    if (control == nullptr) return;
    control->SetPosition(x, y);
    control->SetSize(w, h);
    control->_MakePosTopLeft();
}

void PlaceButton(Entity* level, const char* name, Event logic, int x, int y, int w, int h, const char* texture) {
    Entity* button = level->GetMyObject(name);
    if (button == nullptr) return;
    button->SetEvent("Logic", logic);
    Place(button, x, y, w, h);
    LevelTemplate::SetIfPresent(button, enum_texture, texture);
}

void Load(Entity* self, Entity*) {
    MenuScreen::Backdrop("BACK Profiler");
    PlaceButton(self, "NextThread", &IncThread, -230, -195, 120, 25, "Next Thread Mug");
    PlaceButton(self, "PreviousThread", &DecThread, -230, -220, 120, 25, "Previous Thread Mug");
    PlaceButton(self, "ToggleStats", &ToggleStatistics, 115, -200, 120, 45, "Toggle Statistics Mug");
    Place(self->GetMyObject("PositionSlider"), 175, 239, 30, 430);
    if (ObjectData::Text::Variables* text = ObjectData::Text::Find(self->GetMyObject("TextDummy"))) {
        text->settings.multiLine = true;
        // Proportional letters, so the headline fits its line.
        text->settings.fixedWidth = false;
        text->text = "Namen";
        delete text->settings.information;
        text->settings.information = new TextData();
    }
}

void Copy(Entity* copy, const Entity* source) {
    ConstructVariables<Variables>(copy, source);
    copy->DoEvent("PreLoad");
    Engine::_MakeCopy("Behavior", 5.0);
    Engine::_MakeCopy("GraphicsUpdate", 1.05);
    Engine::_MakeCopy("ProfilerDraw", 1.00001);
    Engine::_MakeCopy("GraphicsDraw", 1.0);
    LevelTemplate::Spawn("MMCursor", "Cursor");
    LevelTemplate::Spawn("Button", "NextThread");
    LevelTemplate::Spawn("Button", "PreviousThread");
    LevelTemplate::Spawn("Button", "ToggleStats");
    LevelTemplate::Spawn("VSlider", "PositionSlider");
    LevelTemplate::Spawn("PosSizeDummy", "PosSize");
    LevelTemplate::Spawn("Text", "TextDummy");
    copy->DoEvent("Load");
}

void Free(Entity* self) {
    self->DoEvent("Unload");
    Variables& v = VariablesOf<Variables>(self);
    std::lock_guard<std::recursive_mutex> hold(v.Critical);
    for (auto& list : v.profiles) list.clear();
}

// Fetches the records of the shown thread into the level.
void Fetch(Variables& v, const std::vector<int>& threads) {
    const int count = static_cast<int>(threads.size());
    v.thread = Wrap(v.thread, count);
    const int id = threads[static_cast<std::size_t>(v.thread)];
    const int current = ::Profiler::GetCurrentHistory(id);
    const int newest = current - 1 == -1 ? kHistory - 1 : current - 1;
    int shown;
    if (v.history >= 0) {
        shown = v.history % kHistory;
    } else {
        shown = newest;
        v.history = ~newest;
    }
    v.currentStatistics = v.statistics;
    switch (v.currentStatistics) {
        case PROFILER_AVERAGES:
            ::Profiler::GetAverages(id, v.profiles[1]);
            ::Profiler::GetThreadAverage(id, v.threadProfile[1]);
            v.stamp = -1;
            break;
        case PROFILER_MAXIMA:
            ::Profiler::GetMaxes(id, v.profiles[1]);
            ::Profiler::GetThreadMax(id, v.threadProfile[1]);
            v.stamp = -1;
            break;
        default:
            for (int d = -1; d <= 1; ++d) {
                const int frame = Wrap(shown + d, kHistory);
                const auto k = static_cast<std::size_t>(d + 1);
                std::lock_guard<std::recursive_mutex> hold(::Profiler::Critical);
                ::Profiler::GetThreadData(id, frame, v.threadProfile[k]);
                ::Profiler::GetHistory(id, frame, v.profiles[k]);
            }
            v.stamp = ::Profiler::GetHistoryStamp(id, shown);
            break;
    }
}

}  // namespace

void IncThread(Entity* self, Entity*) {
    if (Variables* v = ViewerOf(self)) ++v->thread;
}
void DecThread(Entity* self, Entity*) {
    if (Variables* v = ViewerOf(self)) --v->thread;
}
void IncHistory(Entity* self, Entity*) { StepHistory(self, 1); }
void DecHistory(Entity* self, Entity*) { StepHistory(self, -1); }
void ToggleStatistics(Entity* self, Entity*) {
    if (Variables* v = ViewerOf(self)) v->statistics = Wrap(v->statistics + 1, 3);
}

void Update(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    std::vector<int> threads;
    ::Profiler::GetThreads(threads);
    std::size_t sections = 0;
    {
        std::lock_guard<std::recursive_mutex> hold(v.Critical);
        for (Profile& record : v.threadProfile) record.name.clear();
        if (!threads.empty()) Fetch(v, threads);
        sections = v.profiles[1].size();
    }
    Entity* slider = self->GetMyObject("PositionSlider");
    if (slider == nullptr) return;
    const float max = sections < 20 ? 0.0f : static_cast<float>(sections - 20);
    LevelTemplate::SetIfPresent(slider, enum_min, 0.0f);
    LevelTemplate::SetIfPresent(slider, enum_max, max);
    LevelTemplate::SetIfPresent(slider, enum_ticks, static_cast<std::int32_t>(max) + 1);
    Entity::_DoEvent("UpdatePosition", self, slider);
}

Level* _Init() {
    _DATA* prototype = LevelTemplate::Begin<Variables>("Profiler", table, &Copy, &Free);
    prototype->_AddEvent("IncThread", &IncThread);
    prototype->_AddEvent("DecThread", &DecThread);
    prototype->_AddEvent("IncHistory", &IncHistory);
    prototype->_AddEvent("DecHistory", &DecHistory);
    prototype->_AddEvent("ToggleStatistics", &ToggleStatistics);
    prototype->_AddEvent("PreLoad", &PreLoad);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Unload", Event());
    prototype->_AddEvent("Restart", Event());
    prototype->_AddEvent("Update", &Update);
    LevelTemplate::StartVariables(prototype, table);
    const _DATA& p = *prototype;
    const Variables& v = prototype->vars;
    BindVariable(table, p, enum_history, v.history);
    BindVariable(table, p, enum_profPosition, v.profPosition);
    BindVariable(table, p, enum_thread, v.thread);
    BindVariable(table, p, enum_stamp, v.stamp);
    BindVariable(table, p, enum_statistics, v.statistics);
    BindVariable(table, p, enum_currentStatistics, v.currentStatistics);
    BindVariable(table, p, enum_profiles, v.profiles);
    BindVariable(table, p, enum_threadProfile, v.threadProfile);
    BindVariable(table, p, enum_Critical, v.Critical);
    // The lock is the script dialect's critical section.
    RecordVariableBinding(table, enum_Critical, "CRITICAL_SECTION");
    return prototype;
}

}  // namespace LevelData::Profiler

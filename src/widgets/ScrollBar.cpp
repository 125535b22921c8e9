#include "widgets/ScrollBar.h"

#include <algorithm>
#include <cmath>

#include "framework/Object.h"
#include "platform/input/Mouse.h"
#include "widgets/Button.h"
#include "widgets/DragButton.h"
#include "widgets/WidgetSupport.h"

namespace Widgets::ScrollBar {

namespace DragButton = ObjectData::DragButton;

namespace {

constexpr int kPageDelay = 30;
constexpr int kPageRate = 5;

// The axis along the bar (y for a VSlider) and the one across it.
float& Along(D3DXVECTOR3& p, bool vertical) { return vertical ? p.y : p.x; }
float& Across(D3DXVECTOR3& p, bool vertical) { return vertical ? p.x : p.y; }
float& Along(D3DXVECTOR2& p, bool vertical) { return vertical ? p.y : p.x; }
float& Across(D3DXVECTOR2& p, bool vertical) { return vertical ? p.x : p.y; }

// No range or no travel (a bar no longer than three thicknesses, give or
// take the rounding of its sums): the bar cannot show where a value lies, so
// it holds none but min.
constexpr float kMinTravel = 1e-5f;
bool Degenerate(const Variables& v) {
    return !(v.max > v.min) || !(v.dragExtent > kMinTravel) || !std::isfinite(v.max - v.min);
}

bool Frozen(const Variables& v) { return v.ticks == 1 || Degenerate(v); }

void Clamp(Variables& v) {
    if (!std::isfinite(v.value) || Degenerate(v)) {
        v.value = std::isfinite(v.min) ? v.min : 0.0f;
        return;
    }
    if (v.value < v.min) v.value = v.min;
    if (v.value > v.max) v.value = v.max;
}

// Where the thumb's centre stands, along the bar, for the bar's value.
void PlaceThumb(Variables& v, bool vertical) {
    DragButton::Variables* thumb = DragButton::Find(v.dragButton);
    if (thumb == nullptr || Frozen(v)) return;
    const float range = v.max - v.min;
    const float f = vertical ? (v.max - v.value) / range : (v.value - v.min) / range;
    Along(thumb->position, vertical) = Along(v.position, vertical) - v.dragExtent + 2.0f * v.dragExtent * f;
}

D3DXVECTOR3* PositionOf(Object* o) { return o != nullptr ? FindVariable<D3DXVECTOR3>(o, enum_position) : nullptr; }
D3DXVECTOR2* SizeOf(Object* o) { return o != nullptr ? FindVariable<D3DXVECTOR2>(o, enum_size) : nullptr; }
bool Flag(Object* o, int number) {
    const bool* flag = o != nullptr ? FindVariable<bool>(o, number) : nullptr;
    return flag != nullptr && *flag;
}

}  // namespace

Variables* Find(Entity* entity) {
    if (entity == nullptr || (entity->GetType() != "VSlider" && entity->GetType() != "HSlider")) return nullptr;
    return &VariablesOf<Variables>(entity);
}

void Load(Entity* self, bool vertical) {
    Variables& v = VariablesOf<Variables>(self);
    v.highButton = Object::MakeCopy(self->_state, "HeldButton", "");
    v.lowButton = Object::MakeCopy(self->_state, "HeldButton", "");
    v.dragButton = Object::MakeCopy(self->_state, "DragButton", "");
    // The bar drives and draws its parts itself.
    for (const char* engine : {"Behavior", "GraphicsDraw"})
        for (Object* part : {v.highButton, v.lowButton, v.dragButton})
            if (part != nullptr) part->RemoveFromEngine(engine);
    if (DragButton::Variables* thumb = DragButton::Find(v.dragButton)) {
        (vertical ? thumb->snapX : thumb->snapY) = true;
        thumb->texture = vertical ? "slider vertical" : "slider horizontal";
    }
    if (auto* t = v.lowButton != nullptr ? FindVariable<const char*>(v.lowButton, enum_texture) : nullptr)
        *t = vertical ? "slider up" : "slider left";
    if (auto* t = v.highButton != nullptr ? FindVariable<const char*>(v.highButton, enum_texture) : nullptr)
        *t = vertical ? "slider down" : "slider right";
    v.texture = vertical ? "slider vertical back" : "slider horizontal back";
    Widgets::AddUnitBox(v.collision);
}

void UpdatePosition(Entity* self, bool vertical) {
    Variables& v = VariablesOf<Variables>(self);
    float& t = Across(v.size, vertical);
    float& length = Along(v.size, vertical);
    if (!(t >= 0.001f)) t = 0.001f;
    if (!(length >= 2.0f * t + 0.05f)) length = 2.0f * t + 0.05f;

    const float h = length * 0.5f - t * 0.5f;
    const float z = v.position.z + 0.05f;
    D3DXVECTOR3 high = v.position, low = v.position;
    Along(high, vertical) += vertical ? -h : h;
    Along(low, vertical) += vertical ? h : -h;
    high.z = low.z = z;
    if (D3DXVECTOR3* p = PositionOf(v.highButton)) *p = high;
    if (D3DXVECTOR3* p = PositionOf(v.lowButton)) *p = low;
    if (D3DXVECTOR2* s = SizeOf(v.highButton)) *s = {t, t};
    if (D3DXVECTOR2* s = SizeOf(v.lowButton)) *s = {t, t};

    const float track = 2.0f * h - t;
    const float thumbLength = v.ticks == 1 ? 0.0f : t;
    v.dragExtent = track * 0.5f - thumbLength * 0.5f;
    Clamp(v);
    if (DragButton::Variables* thumb = DragButton::Find(v.dragButton)) {
        Across(thumb->position, vertical) = Across(v.position, vertical);
        thumb->position.z = z;
        thumb->size = Frozen(v) ? D3DXVECTOR2{0.0f, 0.0f} : D3DXVECTOR2{t, t};
    }
    PlaceThumb(v, vertical);
}

void LoopBehavior(Entity* self, bool vertical) {
    Variables& v = VariablesOf<Variables>(self);
    for (Object* part : {v.highButton, v.lowButton, v.dragButton})
        if (part != nullptr) Widgets::RaiseOwn(part, "Behavior", self);

    DragButton::Variables* thumb = DragButton::Find(v.dragButton);
    const float range = v.max - v.min;
    if (thumb != nullptr && !Degenerate(v)) {
        const float f = vertical ? (v.position.y - thumb->position.y + v.dragExtent) / (2.0f * v.dragExtent)
                                 : (thumb->position.x - v.position.x + v.dragExtent) / (2.0f * v.dragExtent);
        float read = f * range;
        if (v.ticks > 1) {
            const float k = static_cast<float>(v.ticks - 1) / range;
            read = std::floor(read * k + 0.5f) / k;
        }
        v.value = v.min + read;
    }

    float step = 0.0f;
    if (Flag(v.highButton, enum_triggered)) {
        step = range;
    } else if (Flag(v.lowButton, enum_triggered)) {
        step = -range;
    } else if (thumb == nullptr || !thumb->dragging) {
        const bool again = v.backTriggered != -1 && Mouse.Held(0, kPageDelay, kPageRate);
        Object* cursor = Widgets::FindCursor(self);
        const D3DXVECTOR3* pointer = PositionOf(cursor);
        if ((again || Mouse.Triggered(0)) && pointer != nullptr && collisionEngine.Check(self, cursor) &&
            !(thumb != nullptr && thumb->size.x > 0.0f && collisionEngine.Check(v.dragButton, cursor))) {
            const float thumbAt = thumb != nullptr ? Along(thumb->position, vertical) : Along(v.position, vertical);
            const float pointerAt = vertical ? pointer->y : pointer->x;
            // The pointer lies toward max: below a vertical bar's thumb, right of a horizontal one's.
            const bool towardMax = vertical ? thumbAt > pointerAt : thumbAt < pointerAt;
            const float page = range * static_cast<float>(v.pageSize);
            // A paging under way never turns round.
            if (towardMax) {
                if (v.backTriggered != 0) {
                    v.backTriggered = 1;
                    step = page;
                }
            } else if (v.backTriggered != 1) {
                v.backTriggered = 0;
                step = -page;
            }
        }
    }
    if (!Mouse.Pressed(0)) v.backTriggered = -1;

    if (v.ticks > 1)
        v.value += step / static_cast<float>(v.ticks - 1);
    else if (v.ticks <= 0)
        v.value += step / 10.0f;
    Clamp(v);
    PlaceThumb(v, vertical);
}

void GraphicsDraw(Entity* self, bool vertical) {
    Variables& v = VariablesOf<Variables>(self);
    const float t = Across(v.size, vertical);
    const float length = Along(v.size, vertical);
    const float w = vertical ? t * 0.5f : length - t;
    const float h = vertical ? length - t : t * 0.5f;
    Widgets::DrawPicture(v.position.x, v.position.y, v.position.z, w, h, v.texture, 0xFFFFFFFFu);
    for (Object* part : {v.highButton, v.lowButton, v.dragButton})
        if (part != nullptr) Widgets::RaiseOwn(part, "GraphicsDraw", self);
}

void FirstBehavior(Entity* self, Entity*) {
    Widgets::RaiseOwn(self, "UpdatePosition", self);
    const Event loop = self->GetEvent("LoopBehavior");
    self->SetEvent("Behavior", loop);
    Widgets::RaiseOwn(self, "LoopBehavior", self);
}

void Place(Object* bar, D3DXVECTOR3 position, D3DXVECTOR2 size) {
    if (Variables* v = Find(bar)) {
        v->position = position;
        v->size = size;
    }
}

int FirstShown(Object* bar) {
    const Variables* v = Find(bar);
    return v != nullptr && std::isfinite(v->value) && v->value > 0.0f ? static_cast<int>(v->value) : 0;
}

void FitToList(Object* bar, Entity* list, D3DXVECTOR3 position, D3DXVECTOR2 size, int steps) {
    Variables* v = Find(bar);
    if (v == nullptr) return;
    v->size.x = 20.0f / WindowHeight();
    v->size.y = size.y;
    v->position.x = position.x + size.x * 0.5f + v->size.x * 0.5f;
    v->position.y = position.y;
    v->min = 0.0f;
    v->ticks = std::max(steps, 1);
    v->max = static_cast<float>(v->ticks - 1);
    RaiseOwn(bar, "UpdatePosition", list);
}

}  // namespace Widgets::ScrollBar

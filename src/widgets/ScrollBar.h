#pragma once
// The scroll bars "VSlider" and "HSlider": a back plate, an arrow at each end
// ("HeldButton"s) and a square thumb (a "DragButton") between them, holding a
// float `value` between `min` and `max`, snapped to `ticks` equal positions
// (1 freezes the bar; 0 or less leaves it continuous). The two types share
// everything here and differ only in the axis: a VSlider has `min` at its top
// (the arrow "lowButton") and `max` at its bottom, an HSlider `min` at its left.
//
// A bar whose range is empty (`max` not above `min`) or that leaves its thumb
// no travel behaves as a frozen one: no thumb, `value` held at `min`.
#include <cstdint>

#include "collision/CollisionEngine.h"
#include "framework/Vector.h"
#include "widgets/WidgetTemplate.h"

namespace Widgets::ScrollBar {

struct Variables {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 size{0.0f, 0.0f};  // along the bar: its length; across: its thickness
    const char* texture = "";      // the back plate
    Object* highButton = nullptr;  // the arrow at the max end
    Object* lowButton = nullptr;   // the arrow at the min end
    Object* dragButton = nullptr;  // the thumb
    float min = 0.0f;
    float max = 100.0f;
    std::int32_t ticks = 11;
    float value = 0.0f;
    float dragSize = 0.0f;    // kept and copied; the thumb is always square
    float dragExtent = 0.0f;  // half the thumb centre's travel
    std::int32_t pageSize = 3;
    std::int32_t backTriggered = -1;  // paging under way: -1 none, 1 toward max, 0 toward min
    CollisionInfo2D collision;
};

// The variables of a VSlider or an HSlider, or null for other objects.
Variables* Find(Entity* entity);

// The bar's handlers for one axis.
void Load(Entity* self, bool vertical);
void UpdatePosition(Entity* self, bool vertical);
void LoopBehavior(Entity* self, bool vertical);
void GraphicsDraw(Entity* self, bool vertical);

// "Behavior" until the first frame: places the parts, then runs the loop step
// from now on.
void FirstBehavior(Entity* self, Entity* other);

// Binds the bar's variables, in their order, on a VSlider or HSlider prototype.
template <class Data>
void BindVariables(VariableOffsetTable& table, Data& prototype) {
    Variables& v = prototype.vars;
    BindVariable(table, prototype, enum_position, v.position);
    BindVariable(table, prototype, enum_size, v.size);
    BindVariable(table, prototype, enum_texture, v.texture);
    BindVariable(table, prototype, enum_highButton, v.highButton);
    BindVariable(table, prototype, enum_lowButton, v.lowButton);
    BindVariable(table, prototype, enum_dragButton, v.dragButton);
    BindVariable(table, prototype, enum_min, v.min);
    BindVariable(table, prototype, enum_max, v.max);
    BindVariable(table, prototype, enum_ticks, v.ticks);
    BindVariable(table, prototype, enum_value, v.value);
    BindVariable(table, prototype, enum_dragSize, v.dragSize);
    BindVariable(table, prototype, enum_dragExtent, v.dragExtent);
    BindVariable(table, prototype, enum_pageSize, v.pageSize);
    BindVariable(table, prototype, enum_backTriggered, v.backTriggered);
    BindVariable(table, prototype, enum_collision, v.collision);
}

// Registers a bar type: its prototype in slot under typeName, its handlers
// for the axis and its variables.
template <bool Vertical>
struct Axis {
    static void Load(Entity* self, Entity*) { ScrollBar::Load(self, Vertical); }
    static void UpdatePosition(Entity* self, Entity*) { ScrollBar::UpdatePosition(self, Vertical); }
    static void LoopBehavior(Entity* self, Entity*) { ScrollBar::LoopBehavior(self, Vertical); }
    static void GraphicsDraw(Entity* self, Entity*) { ScrollBar::GraphicsDraw(self, Vertical); }
};
template <bool Vertical>
void Register(Object*& slot, const char* typeName, VariableOffsetTable& table) {
    auto* prototype = ObjectTemplate::Begin<Variables>(slot, typeName, table);
    prototype->_TempAddEngine("GraphicsDraw", &Axis<Vertical>::GraphicsDraw);
    prototype->_TempAddEngine("Behavior", &FirstBehavior);
    prototype->_AddEvent("Load", &Axis<Vertical>::Load);
    prototype->_AddEvent("Unload", Event());
    prototype->_AddEvent("LoopBehavior", &Axis<Vertical>::LoopBehavior);
    prototype->_AddEvent("UpdatePosition", &Axis<Vertical>::UpdatePosition);
    ObjectTemplate::StartVariables(prototype, table);
    BindVariables(table, *prototype);
}

// Sets a made bar's position and size (the variants' differences).
void Place(Object* bar, D3DXVECTOR3 position, D3DXVECTOR2 size);

// A bar that scrolls a list holds the index of the list's first shown line.
// That index: the value's whole part; 0 without a bar, or for a value below
// 0 or not a number.
int FirstShown(Object* bar);

// Stands a list's bar against the right edge of the list box at position
// with size (as tall as the box, 20 pixels thick) and gives it `steps` whole
// steps from 0 (at least one, which freezes it), then raises its
// "UpdatePosition" with list as the other entity.
void FitToList(Object* bar, Entity* list, D3DXVECTOR3 position, D3DXVECTOR2 size, int steps);

}  // namespace Widgets::ScrollBar

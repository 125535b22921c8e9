#include "widgets/TextButton.h"

#include "framework/Object.h"
#include "platform/input/Input.h"
#include "platform/input/Mouse.h"
#include "widgets/TabManager.h"
#include "widgets/Text.h"
#include "widgets/WidgetSupport.h"
#include "widgets/newButton.h"

namespace ObjectData::TextButton {

namespace {

VariableOffsetTable table;

void Load(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Widgets::AddUnitBox(v.collision);
    v.textObj = Object::MakeCopy(self->_state, "Text", "");
    if (Text::Variables* caption = Text::Find(v.textObj)) {
        caption->settings.fixedWidth = false;
        caption->settings.multiLine = false;
        caption->settings.font = "ashleyscriptmtstd";
        caption->settings.hAlign = 1;
        caption->settings.colorize = true;
        caption->settings.charHeight = 0.025f;
        // The button draws its caption itself, laid out over it.
        v.textObj->RemoveFromEngine("GraphicsDraw");
    }
    Widgets::RaiseOwn(self, "AddTabbing", self);
}

void GraphicsDraw(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    if (Text::Variables* caption = Text::Find(v.textObj)) {
        float cx = 0.0f, cy = 0.0f, r = 1.0f;
        Widgets::Camera(cx, cy, r);
        const float k = v.hover ? 1.1f : 1.0f;
        TextSettings& s = caption->settings;
        s.x = v.position.x / r + cx;
        s.y = v.position.y / r + cy;
        s.z = v.position.z + 10.0f;
        s.charHeight = v.size.y * 0.89f / r * k;
        s.width = v.size.x / r * k;
        s.height = v.size.y / r * k;
        Entity::_DoEvent("GraphicsDraw", self, v.textObj);
    }
    newButton::DrawPlain(v.position, v.size, v.texture, v.color, v.hover);
}

// The variables the button step reads, by number, so every focusable type
// shares it whatever its own layout.
struct Parts {
    D3DXVECTOR3* position;
    D3DXVECTOR2* size;
    Entity** master;
    bool* hover;
    bool* triggered;
};

bool Reach(Entity* self, Parts& p) {
    p.position = FindVariable<D3DXVECTOR3>(self, enum_position);
    p.size = FindVariable<D3DXVECTOR2>(self, enum_size);
    p.master = FindVariable<Entity*>(self, enum_master);
    p.hover = FindVariable<bool>(self, enum_hover);
    p.triggered = FindVariable<bool>(self, enum_triggered);
    return p.position && p.size && p.master && p.hover && p.triggered;
}

void Press(Entity* self, bool& triggered, Entity* master) {
    triggered = true;
    Widgets::RaiseOwn(self, "Logic", master);
    Widgets::PlayClick();
}

constexpr int kHeldDelay = 30;
constexpr int kHeldRate = 5;

}  // namespace

void AddTabbing(Entity* self, Entity*) {
    Entity* manager = Widgets::FindTabManager(self);
    TabManager::Variables* m = TabManager::Find(manager);
    if (m == nullptr) {
        manager = Object::MakeCopy(self->_state, "TabManager", "TabManager");
        m = TabManager::Find(manager);
        if (m == nullptr) return;
        m->objectListIterator = m->objectList.end();
    }
    m->objectList.push_back(self);
}

namespace {

// The button step. A plain button answers the pointer only while no widget
// holds the focus and fires on the click; a held button (pressed != null)
// answers it always and, while the click that pressed it is held, fires
// again after 30 frames and then every 5.
void Step(Entity* self, bool* pressed) {
    Parts p{};
    if (!Reach(self, p)) return;
    *p.triggered = false;
    *p.hover = false;
    Entity* const master = *p.master;
    Object* cursor = Widgets::FindCursor(self);
    Entity* managerEntity = Widgets::FindTabManager(self);
    TabManager::Variables* m = TabManager::Find(managerEntity);

    const bool focusNone = m == nullptr || !m->HasFocus();
    // A button of no area is never hit.
    if (focusNone || pressed != nullptr) {
        if (cursor != nullptr && p.size->x > 0.0f && p.size->y > 0.0f && collisionEngine.Check(self, cursor)) {
            *p.hover = true;
            const bool fire =
                Mouse.Triggered(0) || (pressed != nullptr && *pressed && Mouse.Held(0, kHeldDelay, kHeldRate));
            if (fire) {
                if (pressed != nullptr) *pressed = true;
                Press(self, *p.triggered, master);
            } else {
                Widgets::RaiseOwn(self, "Hover", master);
            }
        }
    }
    if (pressed != nullptr && !Mouse.Pressed(0)) *pressed = false;

    if (m == nullptr || !m->HasFocus() || m->Focused() != self) return;
    if (Mouse.DeltaX() != 0.0f || Mouse.DeltaY() != 0.0f) {
        // Moving the mouse hands control back to the pointer.
        m->objectListIterator = m->objectList.end();
        return;
    }

    D3DXVECTOR2 direction{0.0f, 0.0f};
    bool moved = true;
    if (inputEngine.UpPressed() && !m->upWasPressed)
        direction = {0.0f, 1.0f};
    else if (inputEngine.DownPressed() && !m->downWasPressed)
        direction = {0.0f, -1.0f};
    else if (inputEngine.LeftPressed() && !m->leftWasPressed)
        direction = {-1.0f, 0.0f};
    else if (inputEngine.RightPressed() && !m->rightWasPressed)
        direction = {1.0f, 0.0f};
    else
        moved = false;

    D3DXVECTOR3* cursorPosition = cursor != nullptr ? FindVariable<D3DXVECTOR3>(cursor, enum_position) : nullptr;
    if (moved) {
        Entity* target = self->GetInLineEntity(m->objectList, *p.position, *p.size, direction);
        if (cursorPosition != nullptr) {
            cursorPosition->x = p.position->x;
            cursorPosition->y = p.position->y;
        }
        if (m->alreadyTabbed || target == nullptr) return;
        for (auto it = m->objectList.begin(); it != m->objectList.end(); ++it) {
            if (*it == target) {
                m->objectListIterator = it;
                break;
            }
        }
        m->alreadyTabbed = true;
        // The new widget shows its focus in this same frame.
        Entity::_DoEvent("Behavior", self, target);
        return;
    }

    *p.hover = true;
    if (cursorPosition != nullptr) {
        cursorPosition->x = p.position->x;
        cursorPosition->y = p.position->y;
    }
    if (inputEngine.SelectButtonPressed() && !m->selectButtonWasPressed)
        Press(self, *p.triggered, master);
    else
        Widgets::RaiseOwn(self, "Hover", master);
}

}  // namespace

void Behavior(Entity* self, Entity*) { Step(self, nullptr); }

void HeldBehavior(Entity* self, Entity*) {
    bool* pressed = FindVariable<bool>(self, enum_pressed);
    if (pressed != nullptr) Step(self, pressed);
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "TextButton", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("AddTabbing", &AddTabbing);
    prototype->_AddEvent("Unload", &Button::Unload);
    prototype->_AddEvent("RemoveTabbing", &Button::RemoveTabbing);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_textObj, v.textObj);
    BindButtonVariables(table, *prototype, v);
}

}  // namespace ObjectData::TextButton

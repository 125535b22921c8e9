#include "widgets/Button.h"

#include <algorithm>

#include "framework/Object.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"
#include "widgets/TabManager.h"
#include "widgets/Text.h"
#include "widgets/WidgetSupport.h"
#include "widgets/newButton.h"

namespace ObjectData::Button {

namespace {

VariableOffsetTable table;

void Load(Entity* self, Entity*) {
    Widgets::AddUnitBox(VariablesOf<Variables>(self).collision);
    Widgets::RaiseOwn(self, "AddTabbing", self);
}

constexpr float kMargin = 0.02f;     // the box around the text, both sides together
constexpr float kOffset = 0.05f;     // from the pointer to the box
constexpr float kTextWidth = 0.38f;  // the text's own box
constexpr float kTextHeight = 0.3f;
constexpr float kCharHeight = 0.04f;

}  // namespace

ToolTipBox PlaceToolTip(float px, float py, int lines, float widest, float charHeight, float aspect) {
    ToolTipBox box{};
    box.width = widest * charHeight + kMargin;
    box.height = static_cast<float>(lines) * charHeight + kMargin;
    box.left = px + kOffset;
    box.top = py - kOffset;
    const float right = aspect * 0.5f;
    if (box.left + box.width > right) box.left = right - box.width;
    if (box.top - box.height < -0.5f) box.top = -0.5f + box.height;
    return box;
}

void Hover(Entity* self, Entity*) {
    const std::string* toolTip = FindVariable<std::string>(self, enum_toolTip);
    if (toolTip == nullptr || toolTip->empty()) return;
    Object* cursor = Widgets::FindCursor(self);
    const D3DXVECTOR3* pointer = cursor != nullptr ? FindVariable<D3DXVECTOR3>(cursor, enum_position) : nullptr;
    if (pointer == nullptr) return;

    Object* tip = Object::MakeCopy(self->_state, "Text", "");
    Text::Variables* t = Text::Find(tip);
    if (t == nullptr) return;
    TextSettings& s = t->settings;
    s.fixedWidth = false;
    s.hAlign = 0;
    s.width = kTextWidth;
    s.height = kTextHeight;
    s.z = pointer->z + 0.001f;
    s.multiLine = true;
    s.charHeight = kCharHeight;
    t->text = *toolTip;
    // Drawn here, beside its box, not again in the drawing pass.
    tip->RemoveFromEngine("GraphicsDraw");
    Widgets::RaiseOwn(tip, "CalcText", tip);

    const TextData& d = *s.information;
    const int lines = std::max<int>(d.lineCount, 1);
    float widest = 0.0f;
    for (int i = 0; i < d.lineCount && i < static_cast<int>(d.lineWidths.size()); ++i)
        widest = std::max(widest, d.lineWidths[static_cast<std::size_t>(i)]);
    const ToolTipBox box = PlaceToolTip(pointer->x, pointer->y, lines, widest, s.charHeight, Widgets::WindowAspect());

    s.x = box.left + 0.01f + kTextWidth * 0.5f;
    s.y = box.top - 0.01f - kTextHeight * 0.5f;
    Entity::_DoEvent("GraphicsDraw", self, tip);

    if (graphicsEngine.GetCurrentBuffer() != nullptr) {
        float cx = 0.0f, cy = 0.0f, r = 1.0f;
        Widgets::Camera(cx, cy, r);
        const int strips = lines + 1;
        const float stripHeight = box.height / static_cast<float>(strips);
        for (int i = 0; i < strips; ++i) {
            const char* picture = i == 0 ? "ToolTip Texture top"
                                         : (i == strips - 1 ? "ToolTip Texture bottom" : "ToolTip Texture middle");
            const float x = box.left + box.width * 0.5f;
            const float y = box.top - (static_cast<float>(i) + 0.5f) * stripHeight;
            graphicsEngine.AddFrame(x / r + cx, y / r + cy, pointer->z, box.width / r, stripHeight / r, 0.0f,
                                    FrameMap(picture, 0, 0), static_cast<int>(0xFFFFFFFFu));
        }
    }
    // Made afresh on every hovered frame; this one goes at the frame's end.
    tip->_Delete();
}

void RemoveTabbing(Entity* self, Entity*) {
    TabManager::Variables* m = TabManager::Find(Widgets::FindTabManager(self));
    if (m == nullptr || !m->usable) return;
    if (m->Focused() == self) m->objectListIterator = m->objectList.end();
    for (auto it = m->objectList.begin(); it != m->objectList.end(); ++it) {
        if (*it == self) {
            // The focus was moved off self above, so it never points here.
            m->objectList.erase(it);
            break;
        }
    }
}

void Unload(Entity* self, Entity*) { Widgets::RaiseOwn(self, "RemoveTabbing", self); }

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "Button", table);
    prototype->_TempAddEngine("Behavior", &TextButton::Behavior);
    prototype->_TempAddEngine("GraphicsUpdate", Event());
    prototype->_TempAddEngine("GraphicsDraw", &newButton::GraphicsDraw);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("AddTabbing", &TextButton::AddTabbing);
    prototype->_AddEvent("Unload", &Unload);
    prototype->_AddEvent("RemoveTabbing", &RemoveTabbing);
    prototype->_AddEvent("NoGraphicsDraw", Event());
    prototype->_AddEvent("Logic", Event());
    prototype->_AddEvent("Hover", &Hover);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    TextButton::BindButtonVariables(table, *prototype, v);
}

}  // namespace ObjectData::Button

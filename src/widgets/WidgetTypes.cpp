// The widgets' rows, handed to the program's registration. A new widget type
// adds its row here (its name is already in the program's order list).
#include "widgets/WidgetTypes.h"

#include "widgets/Button.h"
#include "widgets/Cursor.h"
#include "widgets/CustomLevelSelector.h"
#include "widgets/DragButton.h"
#include "widgets/HSlider.h"
#include "widgets/HeldButton.h"
#include "widgets/ListButton.h"
#include "widgets/PointSlider.h"
#include "widgets/PosSizeDummy.h"
#include "widgets/SingleLineTextBox.h"
#include "widgets/Slider.h"
#include "widgets/TabManager.h"
#include "widgets/Text.h"
#include "widgets/TextBox.h"
#include "widgets/TextButton.h"
#include "widgets/TextMsg.h"
#include "widgets/VSlider.h"
#include "widgets/WindowGrid.h"
#include "widgets/newButton.h"

namespace {

const ObjectTypeEntry kObjects[] = {
    {"Button", &ObjectData::Button::_Init},
    {"Cursor", &ObjectData::Cursor::_Init},
    {"CustomLevelSelector", &ObjectData::CustomLevelSelector::_Init},
    {"DragButton", &ObjectData::DragButton::_Init},
    {"HSlider", &ObjectData::HSlider::_Init},
    {"newButton", &ObjectData::newButton::_Init},
    {"PointSlider", &ObjectData::PointSlider::_Init},
    {"PosSizeDummy", &ObjectData::PosSizeDummy::_Init},
    {"SingleLineTextBox", &ObjectData::SingleLineTextBox::_Init},
    {"Slider", &ObjectData::Slider::_Init},
    {"TabManager", &ObjectData::TabManager::_Init},
    {"Text", &ObjectData::Text::_Init},
    {"TextBox", &ObjectData::TextBox::_Init},
    {"TextButton", &ObjectData::TextButton::_Init},
    {"TextMsg", &ObjectData::TextMsg::_Init},
    {"VSlider", &ObjectData::VSlider::_Init},
    {"WindowGrid", &ObjectData::WindowGrid::_Init},
};

// The variants the widgets themselves use or that are placed for the editors.
const ExObjectEntry kExObjects[] = {
    {"gridSliderH", "HSlider", &ObjectData::HSlider::gridSliderHDifferences},
    {"gridSliderV", "VSlider", &ObjectData::VSlider::gridSliderVDifferences},
    {"HeldButton", "Button", &ObjectData::HeldButton::Differences},
    {"ListButton", "TextButton", &ObjectData::ListButton::Differences},
    {"sliderA", "VSlider", &ObjectData::VSlider::sliderADifferences},
    {"sliderB", "HSlider", &ObjectData::HSlider::sliderBDifferences},
};

}  // namespace

TypeRows WidgetTypes() { return {.objects = kObjects, .exObjects = kExObjects}; }

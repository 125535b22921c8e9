#include "widgets/VSlider.h"

namespace ObjectData::VSlider {

namespace {

VariableOffsetTable table;

}  // namespace

void sliderADifferences(Object* object) { Widgets::ScrollBar::Place(object, {0.05f, -0.09f, 0.0f}, {0.03f, 0.79f}); }
void gridSliderVDifferences(Object* object) { Widgets::ScrollBar::Place(object, {0.77f, 0.1f, 0.0f}, {0.05f, 0.7f}); }

void _Init(Object*& slot) { Widgets::ScrollBar::Register<true>(slot, "VSlider", table); }

}  // namespace ObjectData::VSlider

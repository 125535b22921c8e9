// The widgets' rows, handed to the program's registration. A new widget type
// adds its row here, e.g. {"Button", &ObjectData::Button::_Init} in an
// ObjectTypeEntry table (its name is already in the program's order list).
#include "widgets/WidgetTypes.h"

TypeRows WidgetTypes() { return {}; }

// The level editor's and the stencil editor's rows, handed to the program's
// registration. A new editor type adds its row here (its name is already in
// the program's order list).
#include "editor/EditorTypes.h"

TypeRows EditorTypes() { return {}; }

#pragma once
// What the stencil screens and the instance editor share: their rows (one-
// line text boxes made with an empty name) and their "Text" labels.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Vector.h"

class Entity;
class Object;
class State;

namespace StencilRows {

// The depth of labels, captions and titles: over the backdrop and the rows,
// within the view's depth.
constexpr float kLabelDepth = 1.0f;
// The light ink of titles and reports on the screens' dark backdrop.
constexpr std::uint32_t kLightInk = 0xFFE6E0CFu;

struct RowLook {
    D3DXVECTOR2 size{0.2f, 0.025f};
    D3DXVECTOR3 colour{255.0f, 255.0f, 255.0f};
    // The background follows the pointer and the focus; while the pointer
    // is elsewhere it shows `colour` again.
    bool highlight = true;
};

// A row in state: its Text shows text on a see-through back, at (x, y, 0),
// with the look given, and "ApplyNewSettings" raised (other = owner). Null
// while "SingleLineTextBox" is not registered.
Object* Make(State* state, Entity* owner, const std::string& text, float x, float y, const RowLook& look,
             bool keepBehavior = true);

// The columns of the stencil panels: the first row's centre at y 0.3875,
// each further row 0.025 lower.
constexpr float kPanelFirstRowY = 0.3875f;
constexpr float kPanelRowStep = 0.025f;

// A column of a stencil panel: its rows (top first), the x they stand at
// while the panel is shown, and their look.
struct Column {
    std::vector<Object*>* rows;
    float x;
    const RowLook* look;
};

// A row of owner's state appended to a panel's column, dx to the right of
// the column's x (a hidden panel's offset): one step below the column's last
// row (which may have moved), or at the first row's place when the column
// has none. Not appended while no row could be made.
void Append(Entity* owner, const Column& column, const std::string& text, float dx);

// Removes the row at index from each column that has one, marked for
// deletion; the rows below keep their places.
void RemoveRow(const std::vector<Column>& columns, std::size_t index);

// Gives a made row another background (and highlighting, as Make does).
void SetLook(Entity* row, const D3DXVECTOR3& colour, bool highlight);

// The text a row shows; empty for anything that is no row.
std::string Text(Entity* row);
// Shows text in a row and lays it out again.
void SetText(Entity* row, const std::string& text);
// Whether the row has the keyboard (a click on it gave it the focus).
bool Selected(Entity* row);

// The index of the first selected row of rows, -1 for none.
int FirstSelected(const std::vector<Object*>& rows);

// A "Text" label centred on (x, y) in one line of charHeight, laid out.
Object* Label(State* state, const std::string& text, float x, float y, float charHeight);
// Shows text in a label and lays it out again.
void SetLabel(Entity* label, const std::string& text);
std::string LabelText(Entity* label);
// Gives a one-line label a box width wide and, when its line is longer,
// letters small enough for the whole line to fit, then lays it out again.
void FitLabel(Entity* label, float width);

// Lines of text from the top left of the box centred on (x, y), width by
// height, in the light ink of the screens' titles, broken to the box's width
// and at each line break; lines past the box's bottom are not shown.
Object* Paragraph(State* state, const std::string& text, float x, float y, float width, float height, float charHeight);

// A row that only shows its text (on its background, highlighted under the
// pointer when highlight is set): it takes no keys and no focus, and its
// text is fitted to its width. Its owner chooses and colours it.
Object* MakeLabelRow(State* state, const std::string& text, float x, float y, const RowLook& look);
// Shows text in such a row.
void SetRowText(Entity* row, const std::string& text);
// Whether the object named "Cursor" of the row's state lies over the row.
bool UnderPointer(Entity* row);

// Sets an object's `size` from pixels of its own state's window (the state
// that raised the event making it may be another one, with another window).
void SetPixelSize(Entity* object, int width, int height);

// The window's set-up of the stencil screens: a game area of width by height
// pixels with that aspect, its draw buffers made again.
void SetUpWindow(int width, int height, float aspect);

// The "Background" of the editors' screens, plain 0xff706d55.
void PlainBackdrop(State* state);

}  // namespace StencilRows

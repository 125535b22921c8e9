#pragma once
// What the level editor's dialogs share (create, save as, resize, open).
// Each dialog is a level of its own, run in a state and window of its own
// beside the editor; the tool bar writes the editor's level into the
// dialog's `ParentLevel`, and a confirm writes its result straight into
// that editor, then closes the dialog by writing "Quit" as its state's next
// level.
//
// The editor may leave while a dialog is open (Play, the main menu, its
// window closed): the editor's "Unload" runs CloseDialogsOf, which clears
// the `ParentLevel` of every dialog it opened and closes them, so no confirm
// ever reaches a freed level. A confirm asks Opener first and only closes
// when the answer is null.
#include <cstdint>
#include <optional>
#include <string>

#include "editor/Grid.h"
#include "editor/LevelEditor.h"
#include "framework/LevelTemplate.h"

class Entity;
class Level;
class Object;
class State;

namespace ExObjectData {

// "Logic" of every cancel button: the button's state closes.
void GoToLevelQuit(Entity* self, Entity* other);

// "LevelEditorCreateCancel" (base "Button"): the cancel button of the
// create, save-as and resize dialogs.
void LevelEditorCreateCancel(Object* object);

}  // namespace ExObjectData

namespace EditorDialog {

// The variables every editor dialog starts with.
struct Variables {
    std::int32_t position1 = 0;
    Level* ParentLevel = nullptr;
};

// Binds position1 and ParentLevel of v on the prototype.
void BindCommon(VariableOffsetTable& table, const Entity& prototype, Variables& v);

// The variables of a dialog that asks for a level size in its two boxes
// "GridWidthTextBox" and "GridHeightTextBox".
struct SizeVariables : Variables {
    std::int32_t enteredWidth = 0;
    std::int32_t enteredHeight = 0;
};

// Binds enteredWidth and enteredHeight of v on the prototype.
void BindSizes(VariableOffsetTable& table, const Entity& prototype, SizeVariables& v);

// Takes the two sizes as typed (0 for an empty box) into v; the confirm
// reads the boxes itself (SizesInRange).
void ReadSizes(Entity* level, SizeVariables& v);

// The variables of level when it is the dialog registered with table; null
// for any other level.
template <class Vars>
Vars* FindIn(Entity* level, const VariableOffsetTable& table) {
    return level != nullptr && level->_map == table ? &VariablesOf<Vars>(level) : nullptr;
}

// The copy step every dialog shares: variables, "PreLoad", the engines
// "Behavior" 5.0, "GraphicsUpdate" 1.05 and "GraphicsDraw" 1.0, the pointer
// "Cursor", then spawn() for the dialog's own objects, then "Load".
void Build(Entity* copy, void (*spawn)(State* state));

// The copy step of a dialog whose variables are Vars, spawning its own
// objects with Spawn.
template <class Vars, void (*Spawn)(State*)>
void Copy(Entity* copy, const Entity* source) {
    ConstructVariables<Vars>(copy, source);
    Build(copy, Spawn);
}

// "Unload" of every dialog.
void Forget(Entity* level, Entity* other);

// Registers a dialog: the prototype of Vars under name with the copy step,
// "PreLoad", "Load" and "Update" as given, "Opened" (raised by the tool bar
// once ParentLevel names the editor, with the editor as other; empty unless
// given), "Unload" (Forget), an empty
// "Restart", and position1 and ParentLevel bound. The caller binds the
// dialog's own variables after.
template <class Vars>
LevelTemplate::Data<Vars>* Register(const char* name, VariableOffsetTable& table, void (*copy)(Entity*, const Entity*),
                                    Event preLoad, Event load, Event update, Event opened = Event()) {
    auto* prototype = LevelTemplate::Begin<Vars>(name, table, copy, &Entity::_CallUnload);
    prototype->_AddEvent("PreLoad", preLoad);
    prototype->_AddEvent("Load", load);
    prototype->_AddEvent("Update", update);
    prototype->_AddEvent("Opened", opened);
    prototype->_AddEvent("Unload", &Forget);
    prototype->_AddEvent("Restart", Event());
    LevelTemplate::StartVariables(prototype, table);
    BindCommon(table, *prototype, prototype->vars);
    return prototype;
}

// "PreLoad": the state's window gets a game area of width by height pixels
// with that aspect, its render targets made again, and the title.
void SetUpWindow(int width, int height, float aspect, const char* title);

// The start of every dialog's "Load": the backdrop, the pointer's picture,
// and the message line ("DialogMessage") along the window's top edge. The
// dialog is tracked from here until its "Unload" (Forget).
void PlaceCommon(Entity* level);
// The end of "Load": the first focusable widget takes the focus.
void FocusFirst(Entity* level);

// Places the text box `name` at (x, y) (x kept when keepX) with size (w, h);
// digits only when digitsOnly, with "ApplyNewSettings" raised after.
void PlaceBox(Entity* level, const char* name, float x, float y, bool keepX, float w, float h, bool digitsOnly);
// Sets a dialog button's place, size, picture and "Logic".
void PlaceButton(Object* object, float x, float y, float w, float h, const char* texture,
                 void (*logic)(Entity*, Entity*));

// A "Text" label of the dialog in the dialogs' font, left-aligned in its
// box of width about x (hAlign 1: centred on x).
void Label(const char* text, float x, float y, float charHeight, float width, bool multiLine, int hAlign = 0);

// The text typed into the box `name`; empty without such a box.
std::string BoxText(Entity* level, const char* name);
// Puts text into the box `name`, all of it selected whenever the box gets
// the focus, so what is typed replaces it.
void FillBox(Entity* level, const char* name, const std::string& text);

// Shows one line in the dialog's message line; empty clears it.
void ShowMessage(Entity* level, const std::string& text);
std::string Message(Entity* level);

// The editor a confirm writes into: its level, its variables and its grid.
struct Editor {
    Level* level = nullptr;
    LevelData::LevelEditor::Variables* vars = nullptr;
    ObjectData::Grid::Variables* grid = nullptr;
};

// The editor that opened the dialog of button's state, when its state still
// runs that same editor level; empty otherwise (the caller then only closes
// the dialog).
std::optional<Editor> Opener(Entity* button);

// The editor takes grid as the level called name: a block its move tool
// holds is put down, the grid replaced (no undo history), its start, name
// and size taken, the view laid out from row 0 and column 0, its message
// line cleared; then the dialog of button's state closes.
void OpenInEditor(const Editor& editor, Entity* button, const LevelCollision& grid, const std::string& name);

// Closes the dialog of button's state.
void Close(Entity* button);

// What a confirm works on: its dialog, the dialog's variables and the editor
// that opened it.
template <class Vars>
struct Confirming {
    Level* dialog = nullptr;
    Vars* vars = nullptr;
    Editor editor;
};

// The first step of every confirm: the dialog of button's state (its
// variables found by find) and its opener. Without either the dialog only
// closes, and the answer is empty.
template <class Vars>
std::optional<Confirming<Vars>> BeginConfirm(Entity* button, Vars* (*find)(Entity*)) {
    Level* dialog = button->_state->GetLevel();
    Vars* vars = find(dialog);
    std::optional<Editor> editor = Opener(button);
    if (vars == nullptr || !editor) {
        Close(button);
        return std::nullopt;
    }
    return Confirming<Vars>{dialog, vars, *editor};
}

// The sizes a level may have, in cells, both ways.
constexpr int kSmallest = 16;
constexpr int kLargest = 200;
// "16 to 200": the range as the dialogs name it.
std::string SizeRange();

// The number typed into a size box: empty for an empty box (or anything
// but digits), and a number past the range for one too long to matter.
std::optional<int> ReadSize(const std::string& text);

// The sizes typed into the boxes "GridWidthTextBox" and "GridHeightTextBox"
// when both are given and within the range; otherwise the dialog says what
// is wrong (naming the range) and the answer is false.
bool SizesInRange(Level* dialog, int& width, int& height);

// Whether name may become a level file: it passes the name rule and no file
// of that name exists, unless it is own's (the level open, which a save may
// write again). If not, the dialog shows why.
bool NameFree(Level* dialog, const std::string& name, const std::string& own = std::string());

// Writes grid as the level file of name, the level folder made first; a
// failed write shows its message in the dialog and answers false.
bool SaveLevelFile(Level* dialog, const LevelCollision& grid, const std::string& name);

// Closes every dialog that editor opened and forgets it as their opener.
void CloseDialogsOf(Entity* editor, Entity* other);

// The user's level folder, made when it is missing; false when it cannot be.
bool MakeLevelFolder();

// The editor takes a level of width by height cells: its size variables,
// then its view laid out again from column 0 and row 0 (raised by `by`).
void TakeSize(Level* editor, Entity* by, int width, int height);

}  // namespace EditorDialog

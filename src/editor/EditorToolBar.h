#pragma once
// The level editor's tool bar: button variants that open the editor's
// dialogs (each in a state and window of its own), save the level, start a
// test play, cycle the zoom and choose the tool the grid drives; the tool
// selectors draw themselves pressed while their tool is chosen. Also the
// pointer variant "EditCursor" and three unplaced buttons.
class Object;
class Entity;

namespace ExObjectData::EditorToolBar {

// Differences of the button variants (base type "Button").
void New(Object* object);
void Open(Object* object);
void Save(Object* object);
void SaveAs(Object* object);
void Play(Object* object);
void Resize(Object* object);
void Zoom(Object* object);
void Pencil(Object* object);
void Box(Object* object);
void Bucket(Object* object);
void MoveButton(Object* object);
void Circle(Object* object);
void Fill(Object* object);
void Settings(Object* object);
// Differences of "EditCursor" (base type "Cursor").
void EditCursor(Object* object);

// The actions behind the buttons, given the pressed button.
void SaveLogic(Entity* button, Entity* other);
void PlayLogic(Entity* button, Entity* other);
void ZoomLogic(Entity* button, Entity* other);

}  // namespace ExObjectData::EditorToolBar

#pragma once
// "InstanceEditor": a live view of one running entity. The user types a
// state's name and an entity's name and confirms; the screen then lists that
// entity's variables (the names the converter knows for its type that the
// type has, a plug-in's own included), 30 rows at a time with a scroll bar,
// each with its type text, its name and its value, read again every frame;
// an array shows its elements. A value typed into its cell is written into
// the entity when the user leaves the cell (Enter, Tab, a click elsewhere)
// and stays until the game changes it; the cell being typed into is not
// read over.
//
// The screen never holds on to the entity across frames: it keeps the state's
// name, the entity's name and the entity's identity, and finds the entity
// again at the top of every frame. When it is gone (freed, marked for
// deletion, its state closed, or another entity now under that name) the rows
// go back to dashes and nothing more of it is read.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/LevelTemplate.h"

namespace LevelData::InstanceEditor {

constexpr int kRows = 30;
constexpr char kDashes[] = "---------------";

struct Variables {
    bool hasSet = false;
    Entity* theAlmightlyInstance = nullptr;  // the entity found this frame, null when none
    D3DXVECTOR3 InstanceNamePos{-0.3f, 0.4f, 0.0f};
    float offsetBetweenText = 0.32f;
    float offsetBetweenTextButton = 0.25f;
    Object* NameHereText = nullptr;
    Object* InstanceNameTextBox = nullptr;
    Object* StateText = nullptr;
    Object* StateNameTextBox = nullptr;
    std::string curObjName;
    std::string curState;
    std::string clickedStencil = "nothing";
    Object* confirmButton = nullptr;
    D3DXVECTOR3 ListPos{-0.3f, 0.35f, 0.0f};
    std::vector<Object*> TypeList;
    std::vector<Object*> NameList;
    std::vector<Object*> ValueList;
    std::int32_t oldSliderValue = -1;
    Object* slider = nullptr;
    D3DXVECTOR3 sliderPos{0.45f, -0.01f, 0.0f};
    D3DXVECTOR2 sliderSize{0.035f, 0.75f};

    // Not script variables: what identifies the inspected entity between
    // frames, and the names its rows show.
    bool inspecting = false;
    int inspectedId = 0;                     // an object's id
    const Entity* inspectedOther = nullptr;  // a level or engine, compared only, never followed
    std::vector<std::string> names;
    std::vector<std::string> types;  // the text each name is read under
    std::vector<bool> editing;       // the value cell had the keyboard last frame
    Object* message = nullptr;       // how to edit, then what the last edit did
};

inline constexpr char kHowToEdit[] = "Type a value into its cell and press Enter to set it in the running entity.";

using _DATA = LevelTemplate::Data<Variables>;

Level* _Init();

// The screen's variables, or null for other entities.
Variables* Find(Entity* entity);

// The address of the variable called name in entity, with the type text its
// type bound it under (an array's with its count, "int[3]"); null when the
// name has no number or the entity's type lacks it.
const void* VariableAddress(Entity* entity, const std::string& name, std::string& typeText);
// What a value cell shows for the variable at address read as typeText: an
// array's first elements joined by ", "; empty for a type not read.
std::string ValueText(const void* address, const std::string& typeText);

}  // namespace LevelData::InstanceEditor

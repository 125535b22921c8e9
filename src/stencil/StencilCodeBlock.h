#pragma once
// "StencilCodeBlock" ("Code Block"): the window that shows one function's
// body of a stencil in a multi-line text box and commits an edited body
// with its "confirm" button. It checks first that its record still holds
// the chosen function under the name its opener saw; when not, it shows
// only "FAILED TO COMMIT THIS FUNCTION!" and takes no edits.
//
// The record arrives as a copy of the opening panel's at "Init" (the panel
// is the event's other entity). A commit writes the body into that copy
// and, while the panel still runs in its window and still holds the
// function under the same name at the same place, into the panel's record
// too; otherwise the window says that the body was kept only here. The
// committed stencil (StencilStore) keeps the body, and saves it, when it
// holds the function at that place under that name. The title names the
// function and its stencil. After a build of the stencil the message lines
// show what the compiler found in this body, by its lines.
#include <cstdint>
#include <string>

#include "converter/CppData.h"
#include "framework/LevelTemplate.h"

namespace LevelData::StencilCodeBlock {

struct Variables {
    std::string objType;
    std::string objName;
    std::int32_t functionIndex = -1;
    float titleNameX = -0.15f;
    Object* titleText = nullptr;
    Object* codeBlock = nullptr;
    CppData ObjData;
    CppFunctions myFunc;
    Object* applyButton = nullptr;
    std::string clickedStencil = "nothing";
    bool fail = false;
    std::string desiredStencilName;

    // The panel that opened the window, as it was then: its state and its
    // object id tell whether it still runs.
    State* openerState = nullptr;
    Object* opener = nullptr;
    int openerId = -1;
    // The lines that tell how the last commit went, and what the last
    // build of the stencil found in this body.
    Object* message = nullptr;
    int shownBuild = 0;
};

using _DATA = LevelTemplate::Data<Variables>;

Level* _Init();

// The window's variables, or null for any other level.
Variables* Find(Entity* level);

// What the window's message line says after a commit that reached only the
// window's own record.
inline constexpr char kKeptHere[] = "The functions list changed: this body was kept in this window only.";
// After a commit that reached the properties window but not the committed
// stencil (its functions tab was not committed yet).
inline constexpr char kInPanelOnly[] =
    "Kept in the properties window; commit its functions tab to keep the function with the stencil.";
// After a commit the stencil's script took.
inline constexpr char kSaved[] = "Kept with the stencil and saved in its script.";

}  // namespace LevelData::StencilCodeBlock

#pragma once
// The stencils the modder has committed, kept for the run and saved as
// scripts: "<data folder>/Stencils/<kind folder>/<type>.script", one folder
// per kind ("Objects", "ExObjects", "Levels", "Engines", "Games"), so that a
// script's "//INHERIT From: " parent is read from beside it. Every commit
// rewrites its script whole through the atomic writer; the scripts are read
// back the first time the store is asked (a bounded number of regular files
// of bounded size), and again whenever the data folder is another one, so
// closing the program loses nothing.
//
// A properties window opens on the committed record of its stencil (an
// empty one when there is none). Its two panels each commit their own part:
// the variables panel the three variable lists, the functions panel the
// functions with their bodies; a code block commits one body.
#include <cstddef>
#include <string>
#include <vector>

#include "converter/CppData.h"

namespace StencilStore {

// The folder of a kind's scripts ("" without a data folder or for another kind).
std::string KindFolder(const std::string& kind);
// Where the script of kind's type name is saved ("" when it cannot be).
std::string ScriptPath(const std::string& kind, const std::string& name);

// The committed record of the stencil, or a fresh one naming it.
CppData Record(const std::string& kind, const std::string& name);
// Whether the stencil has been committed (in this run or an earlier one).
bool Has(const std::string& kind, const std::string& name);

// What a commit did, for the window it came from and the log.
struct Outcome {
    bool saved = false;
    std::string report;
};

// The variables of panelRecord (its kind and type name say which stencil)
// become the stencil's; its functions stay.
Outcome CommitVariables(const CppData& panelRecord);
// The functions of panelRecord, with their bodies, become the stencil's.
Outcome CommitFunctions(const CppData& panelRecord);
// Both at once, as a build takes the window's rows.
Outcome CommitAll(const CppData& variables, const CppData& functions);
// The body of function index, named name: kept when the committed record
// holds that function there; answered false (nothing kept) otherwise.
bool CommitBody(const std::string& kind, const std::string& typeName, std::size_t index, const std::string& name,
                const std::string& code, Outcome& outcome);

// Forgets what the run committed and reads the saved scripts again on the
// next question (a new data folder, tests).
void Reload();

// The most scripts read per kind, and the longest script read, in bytes.
inline constexpr std::size_t kMostScripts = 1000;
inline constexpr std::size_t kLongestScript = 1 << 20;

}  // namespace StencilStore

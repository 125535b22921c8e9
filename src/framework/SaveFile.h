#pragma once
#include <cstddef>
#include <string>

// The player's settings and the score weights, kept in the user data folder
// as "TavelinData.sav": six text lines beginning "Ver3".

// The longest player name the file keeps (its line's limit).
constexpr std::size_t kSavedNameLength = 127;

// Writes the game entity's saved variables. The file is written under a
// temporary name and then renamed over the old one, so a failed write leaves
// the previous file as it was. Reports nothing.
void DataSave();

// Reads them back; a missing file or one of another version gives the defaults.
void DataLoad();

// The save file's defaults: name "NoName", the five switches on, the score
// weights, both volumes at a half; with colour, also a random bright colour.
void ApplySaveDefaults(bool colour);

// The save file's full path.
std::string SaveFilePath();

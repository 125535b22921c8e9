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

// The text DataSave writes, made from the game entity's variables now.
std::string SaveText();

// Game thread, once a frame: keeps the text DataSave would write now, so that
// an end the game thread cannot reach (the display lost while a frame runs)
// still saves what a quit saves.
void KeepSettings();

// Any thread: writes the text kept last, as DataSave does; false when
// nothing was kept or the write failed. One save is written at a time.
bool SaveKeptSettings();

// Reads them back; a missing file, one of another version, or anything that
// is not a regular file of at most 64 KiB gives the defaults. A line longer
// than 127 characters is cut there.
void DataLoad();

// The save file's defaults: name "NoName", the five switches on, the score
// weights, both volumes at a half; with colour, also a random bright colour.
void ApplySaveDefaults(bool colour);

// The save file's full path.
std::string SaveFilePath();

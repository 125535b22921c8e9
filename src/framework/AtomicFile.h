#pragma once
#include <cstddef>
#include <string>

// The one writer of everything the program saves (level files, the save file,
// written resources; the editors' and the converter's files later).
//
// Writes a whole file so that it is either replaced completely or left as it
// was: the bytes go to a new file beside it (same folder), which is written,
// flushed to the disk and closed (each step checked), then renamed over the
// old one, and the folder is flushed so that the rename is kept. On any
// failure the new file is removed and false is answered.
bool WriteFileReplacing(const std::string& path, const void* data, std::size_t size);

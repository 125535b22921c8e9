#pragma once
#include <cstddef>
#include <string>

// Writes a whole file so that it is either replaced completely or left as it
// was: the bytes go to a new file beside it, which is flushed to the disk and
// closed (each step checked) and then renamed over the old one. On any failure
// the new file is removed and false is answered.
bool WriteFileReplacing(const std::string& path, const void* data, std::size_t size);

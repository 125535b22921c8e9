#pragma once
// Opens a web page in the user's browser: the desktop's opener, started
// without a shell and not waited for.
#include <string>

// True when the opener could be started; the address goes to it as one
// argument. Openers started earlier that have ended are reaped here.
bool OpenWebPage(const std::string& address);

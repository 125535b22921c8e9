#pragma once
#include <functional>
#include <string>

// The one way the program stops on an unrecoverable error: the text goes to a
// message box (and stderr), then the process ends with a non-zero status.
// Tests replace the sink to capture what would have been shown; a sink must
// not return (it throws, or ends the process itself).
using FatalSink = std::function<void(const std::string& text, const std::string& caption, int status)>;

[[noreturn]] void FatalError(const char* text, const char* caption, int status = 1);

// Installs a sink and returns the previous one; an empty sink restores the default.
FatalSink SetFatalSink(FatalSink sink);

// Shows a message box without ending the program (used where a failure is
// reported to the user and the caller goes on, such as a socket that cannot be made).
void ShowMessage(const char* text, const char* caption);

// Thrown by FatalCapture, the sink the tests install.
struct FatalExit {
    std::string text;
    std::string caption;
    int status;
};

// Diagnostic lines for developers (the debugger output stream): stderr.
void DebugOutput(const char* text);

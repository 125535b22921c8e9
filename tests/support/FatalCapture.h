#pragma once
// Test helper: while alive, fatal errors throw FatalExit instead of ending the process.
#include "framework/Fatal.h"

class FatalCapture {
public:
    FatalCapture() {
        previous = SetFatalSink([](const std::string& text, const std::string& caption, int status) {
            throw FatalExit{text, caption, status};
        });
    }
    ~FatalCapture() { SetFatalSink(std::move(previous)); }
    FatalCapture(const FatalCapture&) = delete;
    FatalCapture& operator=(const FatalCapture&) = delete;

private:
    FatalSink previous;
};

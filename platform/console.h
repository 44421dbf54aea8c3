// Where a command-line start writes its text: the console it was started from, or its output.
#pragma once

#include <string>

#include "platform/status.h"

namespace purgeon {

class ConsoleOutput {
public:
    virtual ~ConsoleOutput() = default;
    // Writes the text, whose lines end in "\n". A program started without a console and without
    // an output of its own writes nothing, which is success.
    virtual Status write(const std::wstring& text) = 0;
};

}  // namespace purgeon

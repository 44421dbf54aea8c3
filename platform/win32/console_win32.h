// The command line's output over the Win32 console and standard-output handles.
#pragma once

#include "platform/console.h"
#include "platform/win32/handles.h"

namespace purgeon::win32 {

// Chooses on the first write: a standard output the program was given (a console, a file or a
// pipe), else the console of the process that started it. A console it attached to is let go
// when this goes.
class Win32ConsoleOutput : public ConsoleOutput {
public:
    Win32ConsoleOutput() = default;
    ~Win32ConsoleOutput() override;
    Win32ConsoleOutput(const Win32ConsoleOutput&) = delete;
    Win32ConsoleOutput& operator=(const Win32ConsoleOutput&) = delete;

    Status write(const std::wstring& text) override;

private:
    void choose();

    bool m_chosen = false;
    HANDLE m_target = nullptr;  // not owned unless it is m_conout
    bool m_console = false;     // m_target is a console: written as UTF-16 text
    bool m_attached = false;
    UniqueFile m_conout;
};

}  // namespace purgeon::win32

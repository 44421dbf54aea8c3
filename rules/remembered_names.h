// What Windows' own traces remember, as a preview names it: a value's data read as text, the
// program behind a ROT13 name, the document behind its shortcut.
#pragma once

#include <string>
#include <string_view>

#include "platform/trace_system.h"

namespace purgeon {

// The text a value holds: text values, and binary ones that start with text (a search word, the
// program an Open dialog remembers a folder for), in UTF-16 up to its NUL. The Run box's mark
// at the end of a command ("\1") is left out. Empty when the value holds no such text.
std::wstring valueText(const RegistryEntry& value);

// Letters moved 13 places, everything else as it is.
std::wstring rot13(std::wstring_view text);

// The program a ROT13 value name of Explorer's usage counts stands for, by its last part
// ("notepad.exe"); empty for the counts' own bookkeeping ("UEME_CTLSESSION").
std::wstring countedProgram(std::wstring_view valueName);

// The document a shortcut stands for: its file name without the last extension.
std::wstring documentName(std::wstring_view fileName);

}  // namespace purgeon

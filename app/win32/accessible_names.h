// Names that screen readers announce for controls without a text of their own (the lists).
#pragma once

#include "platform/win32/handles.h"

namespace purgeon::win32 {

// Gives the control the name a screen reader announces ("Cookies list"). Where the system's
// accessibility annotation service is missing or refuses, the control keeps the name it would
// have had, and the log gets a line with the service's answer (once for each answer).
void setAccessibleName(HWND control, const wchar_t* name);

}  // namespace purgeon::win32

// The temporary folder as an area: every file below it overwritten once and removed.
#pragma once

#include "clean/area.h"

namespace purgeon {

extern const Area kTempArea;

// "The temporary folder C:\Users\me\Documents was not cleared: it is the Documents folder."
std::wstring tempRefusalText(const FolderCheck& check);

}  // namespace purgeon

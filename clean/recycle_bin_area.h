// The Recycle Bins of all drives as an area.
#pragma once

#include "clean/area.h"

namespace purgeon {

extern const Area kRecycleBinArea;

}  // namespace purgeon

// Every area, in the order the runs take them: the one table the command line's names, its usage
// text and the automatic runs' steps come from.
#pragma once

#include <span>

#include "clean/area.h"

namespace purgeon {

std::span<const Area* const> cleanAreas();

}  // namespace purgeon

// Identifiers of the program's resources, shared by the resource script and the code.
#pragma once

#define IDI_PURGEON 1
// The built-in rules for what Windows itself remembers (windows_rules.ini), as raw data.
#define IDR_WINDOWS_RULES 2

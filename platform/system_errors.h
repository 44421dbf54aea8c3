// The system's own words for an error code.
#pragma once

#include <string>

namespace purgeon {

class SystemErrors {
public:
    virtual ~SystemErrors() = default;
    // The system's text for an error code, as the system words it (ending in a line break).
    virtual std::wstring text(long code) = 0;
};

}  // namespace purgeon

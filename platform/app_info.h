// Facts about the running program: its version and where it lives.
#pragma once

#include <string>

#include "product/product.h"

namespace purgeon {

class AppInfo {
public:
    virtual ~AppInfo() = default;
    // Major and minor numbers of the program's version information.
    virtual AppVersion version() const = 0;
    // The program's folder as the platform reports it: no trailing separator except at a drive
    // root.
    virtual std::wstring folder() const = 0;
    // Full path of the running program file.
    virtual std::wstring exePath() const = 0;
};

}  // namespace purgeon

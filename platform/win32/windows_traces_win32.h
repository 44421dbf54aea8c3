// The built-in rules from the program's resources, the clipboard and the DNS resolver's cache over
// the Win32 API.
#pragma once

#include "platform/windows_traces.h"

namespace purgeon::win32 {

class Win32WindowsTraces : public WindowsTraces {
public:
    Status builtInRules(std::string& bytes) override;
    Status readClipboard(ClipboardContent& content) override;
    Status emptyClipboard() override;
    Status flushDnsCache(unsigned long& exitCode) override;
};

}  // namespace purgeon::win32

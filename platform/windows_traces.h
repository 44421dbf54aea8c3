// What the Windows items need beyond the rules' engine: the rules shipped inside the program, the
// clipboard, and the DNS resolver's cache.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/status.h"

namespace purgeon {

// What the clipboard holds now.
struct ClipboardContent {
    std::size_t formats = 0;                // the forms it offers its content in; 0: empty
    std::optional<std::size_t> textLength;  // characters, when it holds text
    std::size_t files = 0;                  // files copied, as the Explorer copies them
    bool picture = false;
};

class WindowsTraces {
public:
    virtual ~WindowsTraces() = default;
    // The built-in rules for what Windows itself remembers, as shipped inside the program.
    virtual Status builtInRules(std::string& bytes) = 0;
    virtual Status readClipboard(ClipboardContent& content) = 0;
    virtual Status emptyClipboard() = 0;
    // Flushes the resolver's cache with the system's own tool (ipconfig /flushdns); exitCode is
    // what the tool answered once it ran.
    virtual Status flushDnsCache(unsigned long& exitCode) = 0;
};

}  // namespace purgeon

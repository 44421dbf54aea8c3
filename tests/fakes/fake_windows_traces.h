// The built-in rules as shipped (read from the source tree), and a clipboard and resolver's cache
// that record what is asked of them.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/windows_traces.h"

namespace purgeon::fakes {

class FakeWindowsTraces : public WindowsTraces {
public:
    Status builtInRules(std::string& bytes) override {
        if (rulesError) return Status::error(rulesError);
        std::ifstream file(PURGEON_WINDOWS_RULES, std::ios::binary);
        std::ostringstream read;
        read << file.rdbuf();
        bytes = read.str();
        return {};
    }
    Status readClipboard(ClipboardContent& content) override {
        if (clipboardError) return Status::error(clipboardError);
        content = clipboard;
        return {};
    }
    Status emptyClipboard() override {
        log.push_back(L"empty clipboard");
        if (clipboardError) return Status::error(clipboardError);
        clipboard = {};
        return {};
    }
    Status flushDnsCache(unsigned long& exitCode) override {
        log.push_back(L"flush DNS cache");
        exitCode = flushExitCode;
        return {};
    }

    ClipboardContent clipboard;
    long rulesError = 0;
    long clipboardError = 0;
    unsigned long flushExitCode = 0;
    std::vector<std::wstring> log;
};

}  // namespace purgeon::fakes

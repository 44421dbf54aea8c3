// The program's log file over the Win32 API.
#pragma once

#include <mutex>

#include "platform/log_file.h"
#include "platform/win32/handles.h"

namespace purgeon::win32 {

// Lines in UTF-8 with CRLF endings. Past kLogLimit bytes the file moves to "<name>.old<ext>"
// beside it and a new one begins. Each line opens and closes the file, so that other programs can
// read it at any time and nothing is lost if the program ends abruptly.
class Win32LogFile : public LogFile {
public:
    static constexpr unsigned long long kLogLimit = 256 * 1024;

    // Empty: "Purgeon\purgeon.log" in the user's local application data.
    explicit Win32LogFile(std::wstring path = {});
    Status append(const std::wstring& line) override;
    std::wstring path() override { return m_path; }

private:
    // Where the older lines go.
    std::wstring backupPath() const;

    std::wstring m_path;
    std::mutex m_appending;  // one move to the backup at a time
};

}  // namespace purgeon::win32

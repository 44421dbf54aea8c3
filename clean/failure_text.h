// The system's words for a failure, as the log and the console tell them.
#pragma once

#include <string>
#include <vector>

#include "clean/run_log.h"
#include "platform/status.h"
#include "platform/system_errors.h"
#include "wipe/enum_files.h"

namespace purgeon {

// The system's words for the failure without the line break they end in; empty for success.
std::wstring systemWords(SystemErrors& errors, const Status& status);

// "what: <the system's words>"; empty for success.
std::wstring failureLine(SystemErrors& errors, const std::wstring& what, const Status& status);

// One line per folder whose files a listing for the area did not reach:
// "Temporary files: C:\...\locked\ could not be listed: <the system's words>".
std::vector<std::wstring> unlistedLines(SystemErrors& errors, const std::wstring& area,
                                        const std::vector<UnlistedFolder>& unlisted);

// Writes the failure's line to the log; nothing for success.
void logFailure(RunLog& log, SystemErrors& errors, const std::wstring& what, const Status& status);

// "0x80004001": a result code as the system's documentation spells it.
std::wstring hresultText(long code);

}  // namespace purgeon

// Win32 failures as a Status: the calling thread's last error, and the shell's numeric answers.
#pragma once

#include "platform/status.h"
#include "platform/win32/handles.h"

namespace purgeon::win32 {

// The last error of the calling thread; read it right after the call that failed.
inline Status lastError() { return Status::error(static_cast<long>(::GetLastError())); }

// The outcome of a call that answers TRUE or FALSE: success, or the last error.
inline Status callStatus(BOOL succeeded) { return succeeded ? Status::success() : lastError(); }

// A registry function's answer.
inline Status registryStatus(LSTATUS answer) {
    return answer == ERROR_SUCCESS ? Status::success() : Status::error(answer);
}

// ShellExecute answers a number above 32 for success, an error code up to 32 otherwise.
inline Status shellExecuteStatus(HINSTANCE answer) {
    const auto code = reinterpret_cast<INT_PTR>(answer);
    return code > 32 ? Status::success() : Status::error(static_cast<long>(code));
}

}  // namespace purgeon::win32

// Claiming the single-instance mutex.
#include "platform/win32/instance_guard_win32.h"

namespace purgeon::win32 {

bool Win32InstanceGuard::previousInstanceRunning() {
    if (m_mutex) return false;  // this process holds the slot already
    m_mutex.reset(::CreateMutexW(nullptr, FALSE, m_name.c_str()));
    if (m_mutex && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        m_mutex.reset();
        return true;
    }
    return false;
}

}  // namespace purgeon::win32

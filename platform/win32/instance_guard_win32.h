// The single-instance guard over a named mutex.
#pragma once

#include <string>

#include "platform/instance_guard.h"
#include "platform/win32/handles.h"

namespace purgeon::win32 {

// One instance per logged-on user: a named mutex in the session's namespace, held while this lives.
class Win32InstanceGuard : public InstanceGuard {
public:
    explicit Win32InstanceGuard(std::wstring name = L"Local\\Purgeon.SingleInstance")
        : m_name(std::move(name)) {}
    bool previousInstanceRunning() override;

private:
    std::wstring m_name;
    UniqueHandle m_mutex;
};

}  // namespace purgeon::win32

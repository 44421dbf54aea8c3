// Runs a clean-up when the scope ends, however it ends.
#pragma once

#include <utility>

namespace purgeon {

template <typename Cleanup>
class ScopeExit {
public:
    explicit ScopeExit(Cleanup cleanup) : m_cleanup(std::move(cleanup)) {}
    ~ScopeExit() { m_cleanup(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Cleanup m_cleanup;
};

}  // namespace purgeon

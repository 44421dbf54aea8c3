// The single-instance test: is the program already running for this user?
#pragma once

namespace purgeon {

class InstanceGuard {
public:
    virtual ~InstanceGuard() = default;
    // True when another instance runs for the same logged-on user. Asking claims the slot for
    // this process when it is free, for as long as the guard lives.
    virtual bool previousInstanceRunning() = 0;
};

}  // namespace purgeon

// One copy of the program per data folder: a lock file beside the folder,
// held with flock for the whole run. No Qt in here.
#pragma once

#include <string>

class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock of `folder` (the file "<folder>.lock", its parents made
    // when missing). False only when another holder has it; a lock file that
    // cannot be made at all does not stop the run.
    bool Acquire(const std::string& folder);
    void Release();

private:
    int m_fd = -1;
};

#pragma once
// The previous-instance indication: a lock file held for the life of the process. The
// operating system drops the lock when the process ends in any way, so a crashed run
// leaves at most an unlocked file behind, which the next start simply takes over.
#include <filesystem>

namespace varnak {

class SingleInstanceLock {
  public:
    explicit SingleInstanceLock(const std::filesystem::path& lockFile);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // False when another instance holds the lock. A lock file that cannot be created at
    // all (no writable folder) does not keep the program from running.
    bool acquired() const { return acquired_; }

  private:
    int fd_ = -1;
    bool acquired_ = false;
};

// The lock file of the current user's instance: beside the per-user settings.
std::filesystem::path instanceLockFile();

}  // namespace varnak

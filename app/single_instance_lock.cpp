#include "app/single_instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/registry_store.h"

namespace varnak {

SingleInstanceLock::SingleInstanceLock(const std::filesystem::path& lockFile) {
    std::error_code ec;
    std::filesystem::create_directories(lockFile.parent_path(), ec);
    fd_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        acquired_ = true;
        return;
    }
    int rc;
    do {
        rc = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    // Only a lock held by someone else means a second instance; a file system without
    // locks must not keep the only instance from starting.
    acquired_ = rc == 0 || errno != EWOULDBLOCK;
}

SingleInstanceLock::~SingleInstanceLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

std::filesystem::path instanceLockFile() {
    return platform::configDir() / "varnak.lock";
}

}  // namespace varnak

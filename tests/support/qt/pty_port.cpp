#include "tests/support/qt/pty_port.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace varnak::test {

PtyPort::PtyPort(int n) : variable_("VARNAK_COM" + std::to_string(n)) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) {
        device_ = ptsname(master_);
    }
    setenv(variable_.c_str(), device_.c_str(), 1);
}

PtyPort::~PtyPort() {
    unsetenv(variable_.c_str());
    if (master_ >= 0) close(master_);
}

}  // namespace varnak::test

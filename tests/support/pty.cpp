#include "tests/support/pty.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <stdexcept>

namespace varnak::test {

Pty::Pty() {
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    slavePath_ = name;
    for (int fd : {master_, slave_}) {
        termios t{};
        tcgetattr(fd, &t);
        cfmakeraw(&t);
        tcsetattr(fd, TCSANOW, &t);
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
}

Pty::~Pty() {
    ::close(master_);
    ::close(slave_);
}

int Pty::baud() const {
    termios t{};
    if (tcgetattr(slave_, &t) != 0) return 0;
    switch (cfgetospeed(&t)) {
        case B9600:
            return 9600;
        case B19200:
            return 19200;
        case B38400:
            return 38400;
        case B57600:
            return 57600;
        case B115200:
            return 115200;
        default:
            return 0;
    }
}

}  // namespace varnak::test
